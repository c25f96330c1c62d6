#include "platform/app/TreeView.h"

#include "platform/app/ImageList.h"

#include <QHeaderView>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace quorvel {
namespace {

constexpr int imageRole = Qt::UserRole + 1;
constexpr int selectedImageRole = Qt::UserRole + 2;

// Hot tracking as the Windows tree shows it: the node under the mouse underlined in the
// hot-track blue, over the look's hover background.
class HotTrackDelegate final : public QStyledItemDelegate {
public:
    HotTrackDelegate(TreeView* view, const QPersistentModelIndex& hot) : QStyledItemDelegate(view), hot_(hot)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (hot_.isValid() && index == QModelIndex(hot_)) {
            option->state |= QStyle::State_MouseOver;
            option->font.setUnderline(true);
            option->palette.setColor(QPalette::Text, QColor(0, 70, 213));
        } else {
            option->state &= ~QStyle::State_MouseOver;
        }
    }

private:
    const QPersistentModelIndex& hot_;
};

bool isAncestorOrSelf(const QTreeWidgetItem* node, const QTreeWidgetItem* of)
{
    for (const QTreeWidgetItem* n = of; n; n = n->parent())
        if (n == node)
            return true;
    return false;
}

} // namespace

TreeView::TreeView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false); // selecting expands already; a second toggle would undo it
    setAnimated(false);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    setItemDelegate(new HotTrackDelegate(this, hot_));

    // The selection keeps its colours when the tree loses focus.
    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(this, &QTreeWidget::itemSelectionChanged, this, &TreeView::autoExpand);
}

void TreeView::setImages(const ImageList* images)
{
    images_ = images;
    if (images_)
        setIconSize(images_->size());
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        showNodeImages(*it);
}

QTreeWidgetItem* TreeView::addRoot(const QString& text)
{
    auto* node = new QTreeWidgetItem(this, QStringList{text});
    node->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    setNodeImages(node, 0, 0);
    return node;
}

QTreeWidgetItem* TreeView::addChild(QTreeWidgetItem* parent, const QString& text)
{
    auto* node = new QTreeWidgetItem(parent, QStringList{text});
    node->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    setNodeImages(node, 0, 0);
    return node;
}

void TreeView::setNodeImages(QTreeWidgetItem* node, int imageIndex, int selectedIndex)
{
    node->setData(0, imageRole, imageIndex);
    node->setData(0, selectedImageRole, selectedIndex);
    showNodeImages(node);
}

int TreeView::imageIndex(const QTreeWidgetItem* node)
{
    return node->data(0, imageRole).toInt();
}

int TreeView::selectedIndex(const QTreeWidgetItem* node)
{
    return node->data(0, selectedImageRole).toInt();
}

QTreeWidgetItem* TreeView::selected() const
{
    const QList<QTreeWidgetItem*> nodes = selectedItems();
    return nodes.isEmpty() ? nullptr : nodes.first();
}

QTreeWidgetItem* TreeView::hotNode() const
{
    return hot_.isValid() ? itemFromIndex(hot_) : nullptr;
}

// The item views draw an icon's selected mode for a selected node, so the node's two images
// become the two modes of one icon.
void TreeView::showNodeImages(QTreeWidgetItem* node)
{
    if (!images_) {
        node->setIcon(0, QIcon());
        return;
    }
    QIcon icon;
    const int normal = imageIndex(node);
    const int whenSelected = selectedIndex(node);
    for (const qreal ratio : {1.0, 2.0}) {
        if (normal >= 0 && normal < images_->count())
            icon.addPixmap(images_->pixmap(normal, ratio), QIcon::Normal);
        if (whenSelected >= 0 && whenSelected < images_->count())
            icon.addPixmap(images_->pixmap(whenSelected, ratio), QIcon::Selected);
    }
    node->setIcon(0, icon);
}

void TreeView::autoExpand()
{
    QTreeWidgetItem* now = selected();
    QTreeWidgetItem* before = previous_.isValid() ? itemFromIndex(previous_) : nullptr;
    previous_ = now ? QPersistentModelIndex(indexFromItem(now)) : QPersistentModelIndex();
    for (QTreeWidgetItem* n = before; n; n = n->parent())
        if (!isAncestorOrSelf(n, now))
            n->setExpanded(false);
    if (now && now->childCount() > 0)
        now->setExpanded(true);
}

void TreeView::setHot(const QModelIndex& index)
{
    if (QModelIndex(hot_) == index)
        return;
    const QModelIndex old = hot_;
    hot_ = index;
    if (old.isValid())
        viewport()->update(visualRect(old));
    if (index.isValid())
        viewport()->update(visualRect(index));
}

void TreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit dblClick();
}

bool TreeView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        setHot(indexAt(static_cast<QHoverEvent*>(event)->position().toPoint()));
        break;
    case QEvent::MouseMove:
        setHot(indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        setHot(QModelIndex());
        break;
    default:
        break;
    }
    return QTreeWidget::viewportEvent(event);
}

} // namespace quorvel
