#pragma once

#include <QIcon>
#include <QList>
#include <QSize>

namespace quorvel {

// A list of equally sized images that views refer to by index, as tree nodes do.
class ImageList {
public:
    explicit ImageList(QSize size = QSize(16, 16)) : size_(size) {}

    QSize size() const { return size_; }
    int count() const { return int(images_.size()); }

    // Adds an image and returns its index.
    int add(const QIcon& image)
    {
        images_.append(image);
        return count() - 1;
    }

    // The image at an index, or a null icon for an index outside the list.
    QIcon icon(int index) const { return images_.value(index); }

    // The image at its defined size for a screen of that pixel ratio.
    QPixmap pixmap(int index, qreal devicePixelRatio = 1.0) const
    {
        return icon(index).pixmap(size_, devicePixelRatio);
    }

private:
    QSize size_;
    QList<QIcon> images_;
};

} // namespace quorvel
