#include "FirebirdClient.h"

#include "platform/app/Error.h"

#include <cstring>

namespace quorvel::practicedb {

namespace {

using Firebird::FbException;
using Firebird::ThrowStatusWrapper;

Firebird::IMaster* master()
{
    static Firebird::IMaster* const instance = Firebird::fb_get_master_interface();
    return instance;
}

// A status wrapper that owns its IStatus, so a thrown FbException never leaks it.
class Status {
public:
    Status() : status_(master()->getStatus()), wrapper_(status_) {}
    ~Status() { status_->dispose(); }
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    ThrowStatusWrapper* get() { return &wrapper_; }

private:
    Firebird::IStatus* status_;
    ThrowStatusWrapper wrapper_;
};

[[noreturn]] void rethrow(const FbException& exception)
{
    char text[2048];
    master()->getUtilInterface()->formatStatus(text, sizeof text, exception.getStatus());
    throw Error(QString::fromLocal8Bit(text));
}

// Runs a client call and turns the client's exception into ours.
template <typename Call> auto guarded(Call&& call)
{
    try {
        return call();
    } catch (const FbException& exception) {
        rethrow(exception);
    }
}

std::vector<unsigned char> connectionParameters(const Credentials& credentials, bool creating)
{
    return guarded([&] {
        Status status;
        Handle<Firebird::IXpbBuilder> dpb(master()->getUtilInterface()->getXpbBuilder(
            status.get(), Firebird::IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(status.get(), isc_dpb_user_name, credentials.user.c_str());
        dpb->insertString(status.get(), isc_dpb_password, credentials.password.c_str());
        dpb->insertString(status.get(), isc_dpb_lc_ctype, "NONE");
        if (creating) {
            dpb->insertInt(status.get(), isc_dpb_page_size, 8192);
            dpb->insertInt(status.get(), isc_dpb_sql_dialect, 3);
            dpb->insertString(status.get(), isc_dpb_set_db_charset, "NONE");
        }
        const unsigned char* bytes = dpb->getBuffer(status.get());
        return std::vector<unsigned char>(bytes, bytes + dpb->getBufferLength(status.get()));
    });
}

Firebird::IProvider* provider()
{
    static Handle<Firebird::IProvider> instance(master()->getDispatcher());
    return instance.get();
}

} // namespace

Attachment Attachment::create(const std::string& connectString, const Credentials& credentials)
{
    const std::vector<unsigned char> dpb = connectionParameters(credentials, true);
    return guarded([&] {
        Status status;
        return Attachment(provider()->createDatabase(status.get(), connectString.c_str(),
                                                     static_cast<unsigned>(dpb.size()), dpb.data()));
    });
}

Attachment Attachment::attach(const std::string& connectString, const Credentials& credentials)
{
    const std::vector<unsigned char> dpb = connectionParameters(credentials, false);
    return guarded([&] {
        Status status;
        return Attachment(provider()->attachDatabase(status.get(), connectString.c_str(),
                                                     static_cast<unsigned>(dpb.size()), dpb.data()));
    });
}

Attachment::~Attachment()
{
    if (!attachment_)
        return;
    try {
        Status status;
        attachment_->detach(status.get());
        attachment_.take(); // a successful detach released it
    } catch (const FbException&) {
        // Leaving anyway: the handle releases the interface.
    }
}

void Attachment::drop()
{
    guarded([&] {
        Status status;
        attachment_->dropDatabase(status.get());
        attachment_.take();
    });
}

void Attachment::detach()
{
    guarded([&] {
        Status status;
        attachment_->detach(status.get());
        attachment_.take();
    });
}

Transaction Attachment::startTransaction()
{
    return guarded([&] {
        Status status;
        return Transaction(attachment_->startTransaction(status.get(), 0, nullptr));
    });
}

void Attachment::execute(Transaction& transaction, std::string_view sql)
{
    guarded([&] {
        Status status;
        attachment_->execute(status.get(), transaction.get(), static_cast<unsigned>(sql.size()), sql.data(),
                             SQL_DIALECT_V6, nullptr, nullptr, nullptr, nullptr);
    });
}

Statement Attachment::prepare(Transaction& transaction, std::string_view sql)
{
    return guarded([&] {
        Status status;
        Handle<Firebird::IStatement> statement(attachment_->prepare(
            status.get(), transaction.get(), static_cast<unsigned>(sql.size()), sql.data(), SQL_DIALECT_V6,
            Firebird::IStatement::PREPARE_PREFETCH_METADATA));
        Firebird::IMessageMetadata* metadata = statement->getInputMetadata(status.get());
        return Statement(statement.take(), metadata);
    });
}

std::int64_t Attachment::count(Transaction& transaction, std::string_view sql)
{
    return guarded([&] {
        Status status;
        Handle<Firebird::IStatement> statement(attachment_->prepare(status.get(), transaction.get(),
                                                                    static_cast<unsigned>(sql.size()),
                                                                    sql.data(), SQL_DIALECT_V6, 0));
        Handle<Firebird::IMessageMetadata> output(statement->getOutputMetadata(status.get()));
        if (output->getCount(status.get()) < 1 || (output->getType(status.get(), 0) & ~1u) != SQL_INT64)
            throw Error(QStringLiteral("make-practice-db: the query does not give a count"));
        std::vector<unsigned char> row(output->getMessageLength(status.get()));
        statement->execute(status.get(), transaction.get(), nullptr, nullptr, output.get(), row.data());
        std::int64_t value = 0;
        std::memcpy(&value, row.data() + output->getOffset(status.get(), 0), sizeof value);
        statement->free(status.get());
        statement.take();
        return value;
    });
}

Transaction::~Transaction()
{
    if (!transaction_)
        return;
    try {
        Status status;
        transaction_->rollback(status.get());
        transaction_.take();
    } catch (const FbException&) {
    }
}

void Transaction::commit()
{
    guarded([&] {
        Status status;
        transaction_->commit(status.get());
        transaction_.take();
    });
}

Statement::Statement(Firebird::IStatement* statement, Firebird::IMessageMetadata* metadata)
    : statement_(statement), metadata_(metadata)
{
    guarded([&] {
        Status status;
        buffer_.assign(metadata_->getMessageLength(status.get()), 0);
        // Every value starts NULL until it is set.
        for (unsigned i = 0, n = metadata_->getCount(status.get()); i < n; ++i)
            setNull(i);
    });
}

Statement::~Statement()
{
    if (!statement_)
        return;
    try {
        Status status;
        statement_->free(status.get());
        statement_.take();
    } catch (const FbException&) {
    }
}

unsigned Statement::checkedType(unsigned index, unsigned expectedType) const
{
    return guarded([&] {
        Status status;
        const unsigned type = metadata_->getType(status.get(), index) & ~1u;
        if (type != expectedType)
            throw Error(QStringLiteral("make-practice-db: parameter %1 has type %2, not %3")
                            .arg(index)
                            .arg(type)
                            .arg(expectedType));
        return metadata_->getOffset(status.get(), index);
    });
}

void Statement::markPresent(unsigned index)
{
    guarded([&] {
        Status status;
        const std::int16_t present = 0;
        std::memcpy(buffer_.data() + metadata_->getNullOffset(status.get(), index), &present, sizeof present);
    });
}

void Statement::setNull(unsigned index)
{
    guarded([&] {
        Status status;
        const std::int16_t null = -1;
        std::memcpy(buffer_.data() + metadata_->getNullOffset(status.get(), index), &null, sizeof null);
    });
}

void Statement::setInt(unsigned index, std::int32_t value)
{
    std::memcpy(buffer_.data() + checkedType(index, SQL_LONG), &value, sizeof value);
    markPresent(index);
}

void Statement::setNumeric(unsigned index, std::int64_t scaledValue)
{
    std::memcpy(buffer_.data() + checkedType(index, SQL_INT64), &scaledValue, sizeof scaledValue);
    markPresent(index);
}

void Statement::setDate(unsigned index, int year, int month, int day)
{
    const ISC_DATE date = master()->getUtilInterface()->encodeDate(
        static_cast<unsigned>(year), static_cast<unsigned>(month), static_cast<unsigned>(day));
    std::memcpy(buffer_.data() + checkedType(index, SQL_TYPE_DATE), &date, sizeof date);
    markPresent(index);
}

void Statement::setText(unsigned index, const char* value)
{
    if (!value) {
        setNull(index);
        return;
    }
    guarded([&] {
        Status status;
        const unsigned type = metadata_->getType(status.get(), index) & ~1u;
        const unsigned offset = metadata_->getOffset(status.get(), index);
        const unsigned capacity = metadata_->getLength(status.get(), index);
        const std::size_t length = std::strlen(value);
        if (length > capacity)
            throw Error(QStringLiteral("make-practice-db: text of %1 bytes for a column of %2")
                            .arg(length)
                            .arg(capacity));
        unsigned char* field = buffer_.data() + offset;
        if (type == SQL_VARYING) {
            const auto size = static_cast<std::uint16_t>(length);
            std::memcpy(field, &size, sizeof size);
            std::memcpy(field + sizeof size, value, length);
        } else if (type == SQL_TEXT) {
            std::memset(field, ' ', capacity);
            std::memcpy(field, value, length);
        } else {
            throw Error(QStringLiteral("make-practice-db: parameter %1 is not text").arg(index));
        }
    });
    markPresent(index);
}

void Statement::execute(Transaction& transaction)
{
    guarded([&] {
        Status status;
        statement_->execute(status.get(), transaction.get(), metadata_.get(), buffer_.data(), nullptr,
                            nullptr);
    });
}

} // namespace quorvel::practicedb
