#pragma once

#include <QStringList>

#include <memory>
#include <vector>

namespace quorvel::fb {

class Database;
class Query;

// A transaction on a database, built from parameter names ("read_committed",
// "rec_version", "nowait"...; none gives the server's default). Committing first closes
// the datasets that use it. Destroyed while active, it commits.
class Transaction {
public:
    explicit Transaction(Database* defaultDatabase = nullptr);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void setDefaultDatabase(Database* database);
    Database* defaultDatabase() const { return database_; }
    void setParams(const QStringList& params) { params_ = params; }
    QStringList params() const { return params_; }

    bool inTransaction() const;
    void startTransaction();
    void commit();

    // For the layer's own classes.
    struct Handle;
    Handle* handle() const { return handle_.get(); }
    void attach(Query* q);
    void detach(Query* q);
    void databaseGone();
    void endQuietly(); // commits without closing datasets' hooks; used when the connection goes

private:
    void commitHandle();

    Database* database_ = nullptr;
    QStringList params_;
    std::unique_ptr<Handle> handle_;
    std::vector<Query*> queries_;
};

} // namespace quorvel::fb
