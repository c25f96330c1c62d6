#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace quorvel::reporting {

// One thing drawn on a page, in millimetres from the paper's top-left corner: a filled
// box, or one line of text in its line box.
struct PageItem {
    enum Kind { Box, Text };
    Kind kind = Box;
    QRectF rect;
    QString element; // the element (or band) it belongs to
    QColor colour = Qt::white;
    QString text;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct Page {
    QSizeF paperSize{210, 297};
    QList<PageItem> items; // in paint order

    QList<PageItem> texts(const QString& element = {}) const;
    QString plainText() const; // every text line in paint order, one per line
};

// The pages a generation produced; painting replays them without laying anything out again.
class PageStore {
public:
    QList<Page> pages;
    int pageCount() const { return int(pages.size()); }
    void clear() { pages.clear(); }
};

} // namespace quorvel::reporting
