#pragma once

#include <QPersistentModelIndex>
#include <QTreeWidget>

namespace quorvel {

class ImageList;

// The tree the windows use: one column of nodes, each showing an image from an image list
// and another while it is selected. Selecting a node expands it and collapses the branch the
// previous selection held open (AutoExpand); the node under the mouse is highlighted
// (HotTrack); the selection stays visible when the tree loses focus; node texts cannot be
// edited.
class TreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TreeView(QWidget* parent = nullptr);

    // The images the nodes refer to; the list must outlive the tree.
    void setImages(const ImageList* images);
    const ImageList* images() const { return images_; }

    // Adds a root after the last root, or a child after a node's last child. A new node shows
    // image 0, selected or not.
    QTreeWidgetItem* addRoot(const QString& text);
    QTreeWidgetItem* addChild(QTreeWidgetItem* parent, const QString& text);

    // A node's image and the image it shows while selected, as indexes into images();
    // a negative index shows no image.
    void setNodeImages(QTreeWidgetItem* node, int imageIndex, int selectedIndex);
    static int imageIndex(const QTreeWidgetItem* node);
    static int selectedIndex(const QTreeWidgetItem* node);

    // The selected node, or null.
    QTreeWidgetItem* selected() const;

    // The node under the mouse, or null.
    QTreeWidgetItem* hotNode() const;

signals:
    // A double click anywhere in the tree, on a node or not; its handler acts on selected().
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void autoExpand();
    void setHot(const QModelIndex& index);
    void showNodeImages(QTreeWidgetItem* node);

    const ImageList* images_ = nullptr;
    QPersistentModelIndex previous_;
    QPersistentModelIndex hot_;
};

} // namespace quorvel
