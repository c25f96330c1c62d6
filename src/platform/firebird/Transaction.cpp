#include "platform/firebird/Transaction.h"

#include "platform/firebird/Client.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"

#include <QByteArray>

#include <algorithm>

namespace quorvel::fb {

using namespace Firebird;

namespace {

// The transaction parameter block for the given names; empty for none, which leaves the
// server's default (read-write, concurrency, wait).
QByteArray parameterBlock(const QStringList& names)
{
    if (names.isEmpty())
        return {};
    static const std::pair<const char*, char> tags[] = {
        {"read_committed", isc_tpb_read_committed}, {"rec_version", isc_tpb_rec_version},
        {"no_rec_version", isc_tpb_no_rec_version}, {"nowait", isc_tpb_nowait},
        {"wait", isc_tpb_wait},                     {"concurrency", isc_tpb_concurrency},
        {"consistency", isc_tpb_consistency},       {"read", isc_tpb_read},
        {"write", isc_tpb_write}};
    QByteArray block(1, char(isc_tpb_version3));
    for (const QString& name : names) {
        const auto tag = std::find_if(std::begin(tags), std::end(tags), [&](const auto& t) {
            return name.trimmed().compare(QLatin1String(t.first), Qt::CaseInsensitive) == 0;
        });
        if (tag == std::end(tags))
            throw Error(QStringLiteral("Unknown transaction parameter \"%1\"").arg(name));
        block += tag->second;
    }
    return block;
}

} // namespace

Transaction::Transaction(Database* defaultDatabase) { setDefaultDatabase(defaultDatabase); }

Transaction::~Transaction()
{
    try {
        if (inTransaction())
            commit();
    } catch (...) {
        // Nothing is left to tell; the server ends what it has when the connection goes.
    }
    handle_.reset();
    for (Query* q : queries_)
        q->transactionGone();
    if (database_)
        database_->detach(this);
}

void Transaction::setDefaultDatabase(Database* database)
{
    if (database_)
        database_->detach(this);
    database_ = database;
    if (database_)
        database_->attach(this);
}

bool Transaction::inTransaction() const { return handle_ != nullptr; }

void Transaction::startTransaction()
{
    if (inTransaction())
        throw Error(QStringLiteral("Transaction is active"));
    if (!database_ || !database_->connected())
        throw Error(Database::notOpenMessage());
    const QByteArray block = parameterBlock(params_);
    auto handle = std::make_unique<Handle>();
    call([&](ThrowStatusWrapper* status) {
        handle->handle = Ref<ITransaction>(database_->attachment()->handle->startTransaction(
            status, unsigned(block.size()), reinterpret_cast<const unsigned char*>(block.constData())));
        return 0;
    });
    handle_ = std::move(handle);
}

void Transaction::commit()
{
    if (!inTransaction())
        throw Error(QStringLiteral("Transaction is not active"));
    // The datasets close first; an after-close hook may commit this same transaction,
    // which then ends there, once.
    for (Query* q : std::vector<Query*>(queries_))
        if (q->isOpen())
            q->close();
    if (inTransaction())
        commitHandle();
}

void Transaction::endQuietly()
{
    for (Query* q : std::vector<Query*>(queries_))
        q->closeQuietly();
    if (!inTransaction())
        return;
    try {
        commitHandle();
    } catch (...) {
    }
}

void Transaction::commitHandle()
{
    // The handle is taken first: whether the commit succeeds or not, the transaction is over.
    std::unique_ptr<Handle> ending = std::move(handle_);
    call([&](ThrowStatusWrapper* status) {
        ending->handle->commit(status);
        ending->handle.forget();
        return 0;
    });
}

void Transaction::databaseGone()
{
    handle_.reset();
    database_ = nullptr;
}

void Transaction::attach(Query* q) { queries_.push_back(q); }
void Transaction::detach(Query* q) { std::erase(queries_, q); }

} // namespace quorvel::fb
