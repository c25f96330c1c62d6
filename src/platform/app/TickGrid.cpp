#include "platform/app/TickGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace quorvel {

TickListModel::TickListModel(QList<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns))
{
    fieldOfColumn_.fill(-1, columns_.size());
    ticks_.resize(columns_.size());
}

void TickListModel::load(const QStringList& fieldNames, QList<QVariantList> records)
{
    beginResetModel();
    records_ = std::move(records);
    for (qsizetype c = 0; c < columns_.size(); ++c) {
        fieldOfColumn_[c] = -1;
        ticks_[c].clear();
        if (columns_[c].isTick())
            ticks_[c].resize(records_.size()); // every record starts null
        else
            for (qsizetype f = 0; f < fieldNames.size(); ++f)
                if (fieldNames[f].compare(columns_[c].fieldName, Qt::CaseInsensitive) == 0)
                    fieldOfColumn_[c] = int(f);
    }
    endResetModel();
}

void TickListModel::clear() { load({}, {}); }

int TickListModel::columnIndex(const QString& nameOrField) const
{
    for (qsizetype c = 0; c < columns_.size(); ++c) {
        const GridColumn& column = columns_[c];
        if (column.isTick() ? column.name == nameOrField
                            : column.fieldName.compare(nameOrField, Qt::CaseInsensitive) == 0)
            return int(c);
    }
    return -1;
}

QVariant TickListModel::value(int record, int column) const
{
    if (record < 0 || record >= recordCount() || column < 0 || column >= columns_.size())
        return {};
    if (columns_[column].isTick())
        return ticks_[column][record];
    const int field = fieldOfColumn_[column];
    return field < 0 ? QVariant() : records_[record].value(field);
}

void TickListModel::setTick(int record, int column, const QVariant& value)
{
    if (record < 0 || record >= recordCount() || column < 0 || !columns_[column].isTick())
        return;
    ticks_[column][record] = value;
    const QModelIndex cell = index(record, column);
    emit dataChanged(cell, cell, {Qt::CheckStateRole, SortRole});
}

void TickListModel::toggle(int record, int column)
{
    const QVariant current = value(record, column);
    setTick(record, column, !(current.isValid() && current.toBool()));
}

int TickListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : recordCount(); }

int TickListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant TickListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const QVariant v = value(index.row(), index.column());
    if (columns_[index.column()].isTick()) {
        if (role == Qt::CheckStateRole)
            return (v.isValid() && v.toBool()) ? Qt::Checked : Qt::Unchecked; // null draws unticked
        if (role == SortRole)
            return v.isValid() ? (v.toBool() ? 2 : 1) : 0;
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return v.isNull() ? QVariant(QString()) : v;
    case SortRole:
        return v;
    default:
        return {};
    }
}

QVariant TickListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columns_.size())
        return columns_[section].caption;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TickListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.isValid() && columns_[index.column()].isTick())
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool TickListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || !columns_[index.column()].isTick())
        return false;
    setTick(index.row(), index.column(), value.toInt() == Qt::Checked);
    return true;
}

namespace {

// Keeps the rows that contain the filter text in any bound column.
class ContainsFilter final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setText(const QString& text)
    {
        text_ = text;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        if (text_.isEmpty())
            return true;
        const auto* m = static_cast<const TickListModel*>(sourceModel());
        for (int c = 0; c < m->columnCount(parent); ++c)
            if (!m->columns()[c].isTick() && m->value(row, c).toString().contains(text_, Qt::CaseInsensitive))
                return true;
        return false;
    }

private:
    QString text_;
};

} // namespace

TickGrid::TickGrid(QList<GridColumn> columns, QWidget* parent) : QWidget(parent)
{
    model_ = new TickListModel(std::move(columns), this);
    auto* filter = new ContainsFilter(this);
    filter->setSourceModel(model_);
    filter->setSortRole(TickListModel::SortRole);
    filter->setSortCaseSensitivity(Qt::CaseInsensitive);
    proxy_ = filter;

    filter_ = new QLineEdit(this);
    filter_->setPlaceholderText(QStringLiteral("Type to filter the list"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, this, [filter](const QString& text) { filter->setText(text); });

    view_ = new QTableView(this);
    view_->setModel(proxy_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(-1, Qt::AscendingOrder); // load order until the user asks for another
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(20);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->setAlternatingRowColors(true);
    view_->setWordWrap(false);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(filter_);
    layout->addWidget(view_, 1);
}

QVariant TickGrid::value(int record, const QString& column) const
{
    return model_->value(record, model_->columnIndex(column));
}

void TickGrid::fitColumns()
{
    const auto& columns = model_->columns();
    int total = 0;
    for (const auto& c : columns)
        total += c.designWidth;
    const int available = view_->viewport()->width();
    if (total <= 0 || available <= 0)
        return;
    int used = 0;
    for (int c = 0; c < columns.size(); ++c) {
        const int width = c + 1 == columns.size() ? available - used : available * columns[c].designWidth / total;
        view_->setColumnWidth(c, width);
        used += width;
    }
}

bool TickGrid::eventFilter(QObject* watched, QEvent* event)
{
    // The columns share the viewport's width, which changes after the grid's own resize
    // (a scroll bar coming or going, the layout settling), so they are fitted when it does.
    if (watched == view_->viewport() && event->type() == QEvent::Resize) {
        fitColumns();
        return false;
    }
    // A click anywhere in a tick cell, or the space bar on the current row, toggles the box.
    if (watched == view_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex cell = view_->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && cell.isValid() && model_->columns()[cell.column()].isTick()) {
            const QModelIndex source = proxy_->mapToSource(cell);
            model_->toggle(source.row(), source.column());
            return true;
        }
    } else if (watched == view_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex cell = view_->indexAt(mouse->position().toPoint());
        if (cell.isValid() && model_->columns()[cell.column()].isTick()) {
            view_->setCurrentIndex(cell);
            return true; // the release toggles; the press must not toggle a second time
        }
    } else if (watched == view_ && event->type() == QEvent::KeyPress
               && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        const QModelIndex current = view_->currentIndex();
        if (current.isValid()) {
            const QModelIndex source = proxy_->mapToSource(current);
            for (int c = 0; c < model_->columnCount(); ++c)
                if (model_->columns()[c].isTick())
                    model_->toggle(source.row(), c);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quorvel
