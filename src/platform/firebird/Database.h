#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace quorvel::fb {

class Query;
class Transaction;
struct Client;

// A connection to a practice database. Its name ("server:path") and parameters change only
// while it is closed. Closing runs the disconnect hooks, closes the datasets still open on
// it, commits the transactions still active and detaches.
class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void setDatabaseName(const QString& name);
    QString databaseName() const { return name_; }

    // Parameters as name=value lines. Setting a name replaces its line (names compare
    // without regard to case) or appends one; an empty value removes the line.
    QStringList params() const { return params_; }
    void setParam(const QString& name, const QString& value);
    QString param(const QString& name) const;

    bool connected() const;
    void setConnected(bool connected);
    void open() { setConnected(true); }
    void close() { setConnected(false); }

    // A default transaction without a database of its own takes this one.
    void setDefaultTransaction(Transaction* transaction);
    Transaction* defaultTransaction() const { return defaultTransaction_; }

    std::function<void()> afterConnect, beforeDisconnect, afterDisconnect;

    // Text as bytes: statements are sent in the database's own character set (UTF-8 for a
    // UTF8 database, Windows-1252 otherwise), so a value read from it and put back as a
    // literal matches the same rows.
    QByteArray encodeStatement(const QString& text) const;
    static QString decodeText(const QByteArray& bytes, int charset);
    static QByteArray encodeWindows1252(const QString& text);

    // What an operation that needs the connection says when there is none.
    static QString notOpenMessage();

    // For the layer's own classes.
    struct Attachment;
    Attachment* attachment() const { return attachment_.get(); }
    void attach(Transaction* t);
    void detach(Transaction* t);
    void attach(Query* q);
    void detach(Query* q);

private:
    void ensureClosed() const;
    void disconnect(bool runHooks);

    QString name_;
    QStringList params_;
    Transaction* defaultTransaction_ = nullptr;
    std::unique_ptr<Attachment> attachment_;
    bool utf8_ = false;
    std::vector<Transaction*> transactions_;
    std::vector<Query*> queries_;
};

} // namespace quorvel::fb
