#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace quorvel::fb {

class Database;
class Transaction;
struct Column;

// One column of the current row.
class Field {
public:
    QString name() const;
    bool isNull() const;
    qint64 asInteger() const;    // 0 for null; a scaled number is cut to its integer part
    long double asFloat() const; // 0 for null; exact numerics divided in long double
    QString asString() const;    // text decoded by the column's character set
    QByteArray asBytes() const;  // a text's bytes as stored
    QVariant value() const;      // QVariant() for null
    // The exact value of an integer or scaled numeric column; false for null or floats.
    bool exactDecimal(qint64& mantissa, int& scale) const;
    // Integers as plain digits; money fields in the money format; empty for null.
    QString displayText() const;
    void setCurrency(bool currency) { currency_ = currency; }
    bool currency() const { return currency_; }
    void setMoneyFormat(std::function<QString(long double)> format) { moneyFormat_ = std::move(format); }

    // For the layer.
    Field(const Column* column, const QByteArray* const* row) : column_(column), row_(row) {}

private:
    const Column* column_;
    const QByteArray* const* row_; // the query's current row buffer, or null
    bool currency_ = false;
    std::function<QString(long double)> moneyFormat_;
};

// A value for a statement marker. Set through a name, it reaches every marker of that name.
class Param {
public:
    explicit Param(QString name = {}) : name_(std::move(name)) {}
    QString name() const { return name_; }
    void setDateTime(const QDateTime& value) { set(QVariant(value)); }
    void setString(const QString& value) { set(QVariant(value)); }
    void setInteger(qint64 value) { set(QVariant(value)); }
    void clear() { set(QVariant()); }
    bool isNull() const { return value_.isNull(); }
    QVariant value() const { return value_; }

    // For the layer.
    std::vector<Param*> markers; // a named parameter's markers

private:
    void set(const QVariant& v)
    {
        value_ = v;
        for (Param* p : markers)
            p->value_ = v;
    }
    QString name_;
    QVariant value_;
};

// A query that reads rows: opening prepares, binds, executes and fetches every row,
// standing on the first. Replacing the statement closes it and rebuilds the parameters
// from the statement's ":name" markers.
class Query {
public:
    Query();
    ~Query(); // closes without the after-close hook
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    void setDatabase(Database* database);
    Database* database() const { return database_; }
    void setTransaction(Transaction* transaction);
    Transaction* transaction() const { return transaction_; }

    void setSql(const QString& sql);
    QString sql() const { return sql_; }
    int paramCount() const { return int(params_.size()); }
    Param& param(int index);
    Param& paramByName(const QString& name);

    void open();
    void close();
    bool isOpen() const { return open_; }

    void setFetchAll(bool all) { fetchAll_ = all; }
    int recordCount() const { return int(rows_.size()); }
    bool eof() const { return current_ >= qsizetype(rows_.size()); }
    void next();
    void first(); // back to the first fetched row

    int fieldCount() const { return int(fields_.size()); }
    Field& field(int index);
    Field& fieldByName(const QString& name);
    Field* findField(const QString& name);
    QVariant value(int record, const QString& field) const;

    // Which fields are money, and how money displays; both kept across opens.
    void setCurrencyField(const QString& name, bool currency);
    void setMoneyFormat(std::function<QString(long double)> format);

    std::function<void(Query&)> beforeOpen, afterClose;

    // For the layer.
    void closeQuietly();
    void transactionGone() { transaction_ = nullptr; }
    void databaseGone();

private:
    Transaction* activeTransaction() const;
    void execute();

    Database* database_ = nullptr;
    Transaction* transaction_ = nullptr;
    QString sql_;
    QString serverText_; // sql_ with its markers turned into "?"
    std::vector<std::unique_ptr<Param>> params_;
    std::vector<std::unique_ptr<Param>> named_;
    std::vector<Column> columns_;
    std::vector<std::unique_ptr<Field>> fields_;
    std::vector<QByteArray> rows_;
    qsizetype current_ = 0;
    const QByteArray* currentRow_ = nullptr;
    bool open_ = false;
    bool fetchAll_ = false;
    QStringList currencyFields_; // upper-case
    // The statement stays prepared from one open to the next, as long as its text and the
    // connection stay the same: a list opened again costs no new prepare at the server.
    struct Prepared;
    std::unique_ptr<Prepared> prepared_;
    std::function<QString(long double)> moneyFormat_;
};

// The markers of a statement: its text for the server with each ":name" replaced by "?",
// and the names in text order. Quoted strings, quoted identifiers and comments hold none.
struct Markers {
    QString text;
    QStringList names;
};
Markers parseMarkers(const QString& sql);

} // namespace quorvel::fb
