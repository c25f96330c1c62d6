#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QVariant>
#include <QWidget>

class QLineEdit;
class QTableView;

namespace quorvel {

// One column of a tick grid: bound to a field of the list, or an unbound tick box.
struct GridColumn {
    QString name;      // component name, e.g. "Selected"
    QString caption;   // header text; empty for none
    QString fieldName; // bound field; empty for the tick column
    int designWidth;   // columns share the view's width in proportion to these
    bool isTick() const { return fieldName.isEmpty(); }
};

// The records of a list as the dataset delivered them, with one tick value per record
// (null at load, then true or false). Records keep their load index whatever the view
// does with sorting and filtering.
class TickListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TickListModel(QList<GridColumn> columns, QObject* parent = nullptr);

    // Replaces the records; every tick starts null. `fieldNames` names the values of
    // each record in order.
    void load(const QStringList& fieldNames, QList<QVariantList> records);
    void clear();

    int recordCount() const { return int(records_.size()); }
    const QList<GridColumn>& columns() const { return columns_; }
    // The tick column by its component name, exactly; bound columns by field name,
    // without regard to case. -1 when there is none.
    int columnIndex(const QString& nameOrField) const;
    // The value of a column for a record index: the field's value (null stays null) or the
    // tick value (null, true or false).
    QVariant value(int record, int column) const;
    void setTick(int record, int column, const QVariant& value);
    void toggle(int record, int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    static constexpr int SortRole = Qt::UserRole + 1;

private:
    QList<GridColumn> columns_;
    QList<int> fieldOfColumn_; // index into a record's values, -1 for a tick column
    QList<QVariantList> records_;
    QList<QList<QVariant>> ticks_; // per tick column, per record
};

// A grid view over a TickListModel: a filter box above that hides the rows not
// containing the typed text, sorting by a click on a column header, tick boxes toggled
// by a click or the space bar.
class TickGrid : public QWidget {
    Q_OBJECT
public:
    explicit TickGrid(QList<GridColumn> columns, QWidget* parent = nullptr);

    TickListModel* model() const { return model_; }
    QTableView* view() const { return view_; }
    QLineEdit* filterBox() const { return filter_; }
    QSortFilterProxyModel* proxy() const { return proxy_; }

    int recordCount() const { return model_->recordCount(); }
    QVariant value(int record, const QString& column) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitColumns();
    TickListModel* model_;
    QSortFilterProxyModel* proxy_;
    QTableView* view_;
    QLineEdit* filter_;
};

} // namespace quorvel
