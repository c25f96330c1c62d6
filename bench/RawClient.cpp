#include "RawClient.h"

#include "Samples.h"

#include "platform/app/Error.h"

#include <firebird/Interface.h>

#include <cstring>

namespace quorvel::bench {

using namespace Firebird;

namespace {

IMaster* master()
{
    return fb_get_master_interface();
}

// A status that is disposed of, raising our error with the server's text on failure.
class Status {
public:
    Status() : wrapper_(master()->getStatus()) {}
    ~Status() { wrapper_.dispose(); }
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    ThrowStatusWrapper* get() { return &wrapper_; }

    template <typename Call> auto operator()(Call&& call)
    {
        try {
            return call(&wrapper_);
        } catch (const FbException& e) {
            char text[1024];
            master()->getUtilInterface()->formatStatus(text, sizeof text, e.getStatus());
            throw Error(QString::fromLocal8Bit(text));
        }
    }

private:
    ThrowStatusWrapper wrapper_;
};

// Owns one reference of a client interface.
template <typename I> class Ref {
public:
    explicit Ref(I* p = nullptr) : p_(p) {}
    ~Ref()
    {
        if (p_)
            p_->release();
    }
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Ref& operator=(Ref&&) = delete;
    I* operator->() const { return p_; }
    I* get() const { return p_; }
    // A successful close, free, commit or detach has released the interface already.
    void released() { p_ = nullptr; }

private:
    I* p_;
};

// The transaction parameter block for the names the program gives its transactions;
// none gives the server's default.
std::vector<unsigned char> parameterBlock(const QStringList& names)
{
    if (names.isEmpty())
        return {};
    std::vector<unsigned char> block{isc_tpb_version3};
    for (const QString& name : names) {
        if (name == QLatin1String("read_committed"))
            block.push_back(isc_tpb_read_committed);
        else if (name == QLatin1String("rec_version"))
            block.push_back(isc_tpb_rec_version);
        else if (name == QLatin1String("nowait"))
            block.push_back(isc_tpb_nowait);
        else
            throw Error(QStringLiteral("The raw client has no tag for \"%1\"").arg(name));
    }
    return block;
}

void writeValue(IUtil* util, unsigned type, const QDateTime& value, unsigned char* at)
{
    const QDate d = value.date();
    const QTime t = value.time();
    const ISC_DATE date = util->encodeDate(unsigned(d.year()), unsigned(d.month()), unsigned(d.day()));
    if (type == SQL_TYPE_DATE) {
        std::memcpy(at, &date, sizeof date);
    } else if (type == SQL_TIMESTAMP) {
        const ISC_TIMESTAMP ts{date, util->encodeTime(unsigned(t.hour()), unsigned(t.minute()),
                                                      unsigned(t.second()), unsigned(t.msec() * 10))};
        std::memcpy(at, &ts, sizeof ts);
    } else {
        throw Error(QStringLiteral("The raw client binds dates only, not type %1").arg(type));
    }
}

// Where a column lies in the row buffer, read once from the output metadata.
struct Column {
    unsigned type, offset, nullOffset, length;
    int scale;
};

std::vector<Column> columnsOf(IMessageMetadata* meta, ThrowStatusWrapper* s)
{
    std::vector<Column> columns(meta->getCount(s));
    for (unsigned i = 0; i < columns.size(); ++i)
        columns[i] = {meta->getType(s, i) & ~1u, meta->getOffset(s, i), meta->getNullOffset(s, i),
                      meta->getLength(s, i), meta->getScale(s, i)};
    return columns;
}

// Reads every column of a row: each number, each text's bytes. Returns the first column
// when it is an integer, for the digest.
qint64 readRow(const std::vector<Column>& columns, const unsigned char* row, unsigned& checksum)
{
    qint64 first = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        short null = 0;
        std::memcpy(&null, row + c.nullOffset, sizeof null);
        if (null)
            continue;
        const unsigned char* at = row + c.offset;
        qint64 number = 0;
        switch (c.type) {
        case SQL_VARYING: {
            unsigned short length = 0;
            std::memcpy(&length, at, sizeof length);
            for (unsigned short b = 0; b < length; ++b)
                checksum += at[sizeof length + b];
            continue;
        }
        case SQL_TEXT:
            for (unsigned b = 0; b < c.length; ++b)
                checksum += at[b];
            continue;
        case SQL_LONG: {
            qint32 v;
            std::memcpy(&v, at, sizeof v);
            number = v;
            break;
        }
        case SQL_INT64:
            std::memcpy(&number, at, sizeof number);
            break;
        default:
            checksum += at[0];
            continue;
        }
        checksum += unsigned(number);
        if (i == 0 && c.scale == 0)
            first = number;
    }
    return first;
}

// The transactions of one run, rolled back unless they were committed, should a statement fail.
class Transactions {
public:
    ~Transactions()
    {
        for (ITransaction* t : open_) {
            Status s;
            try {
                s([&](ThrowStatusWrapper* w) { t->rollback(w); });
            } catch (const Error&) {
                t->release();
            }
        }
    }
    ITransaction* start(IAttachment* attachment, ThrowStatusWrapper* s, const std::vector<unsigned char>& tpb)
    {
        open_.reserve(open_.size() + 1);
        open_.push_back(
            attachment->startTransaction(s, unsigned(tpb.size()), tpb.empty() ? nullptr : tpb.data()));
        return open_.back();
    }
    void commit(ThrowStatusWrapper* s)
    {
        while (!open_.empty()) {
            open_.back()->commit(s); // releases the interface
            open_.pop_back();
        }
    }

private:
    std::vector<ITransaction*> open_;
};

} // namespace

struct RawClient::Connection {
    Status status;
    Ref<IAttachment> attachment;

    explicit Connection(const Target& target) : attachment(attach(status, target)) {}

    static Ref<IAttachment> attach(Status& status, const Target& target)
    {
        return status([&](ThrowStatusWrapper* s) {
            IXpbBuilder* dpb = master()->getUtilInterface()->getXpbBuilder(s, IXpbBuilder::DPB, nullptr, 0);
            struct Dispose {
                IXpbBuilder* b;
                ~Dispose() { b->dispose(); }
            } dispose{dpb};
            dpb->insertString(s, isc_dpb_user_name, target.user.toUtf8().constData());
            dpb->insertString(s, isc_dpb_password, target.password.toUtf8().constData());
            dpb->insertString(s, isc_dpb_lc_ctype, "NONE"); // the bytes as stored, as our layer reads them
            Ref<IProvider> provider(master()->getDispatcher());
            return Ref<IAttachment>(provider->attachDatabase(s,
                                                             target.connectString().toLocal8Bit().constData(),
                                                             dpb->getBufferLength(s), dpb->getBuffer(s)));
        });
    }

    ~Connection()
    {
        try {
            status([&](ThrowStatusWrapper* s) { attachment->detach(s); });
            attachment.released();
        } catch (const Error&) {
            // The reference still goes; the server drops the attachment with it.
        }
    }
};

RawClient::RawClient(const Target& target) : connection_(std::make_unique<Connection>(target)) {}

RawClient::~RawClient() = default;

double RawClient::run(const std::vector<Statement>& statements, Digest& digest)
{
    Status& status = connection_->status;
    IUtil* util = master()->getUtilInterface();
    Transactions transactions;
    digest = {};
    unsigned checksum = 0;

    Stopwatch watch;
    watch.start();
    status([&](ThrowStatusWrapper* s) {
        for (const Statement& statement : statements) {
            ITransaction* tra = transactions.start(connection_->attachment.get(), s,
                                                   parameterBlock(statement.transactionParams));
            Ref<IStatement> prepared(connection_->attachment->prepare(
                s, tra, 0, statement.text.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA));
            // The markers' values in the types the server described for them.
            Ref<IMessageMetadata> input(prepared->getInputMetadata(s));
            std::vector<unsigned char> in(input->getMessageLength(s));
            for (unsigned i = 0; i < input->getCount(s); ++i) {
                const short notNull = 0;
                std::memcpy(in.data() + input->getNullOffset(s, i), &notNull, sizeof notNull);
                writeValue(util, input->getType(s, i) & ~1u, statement.params.at(i),
                           in.data() + input->getOffset(s, i));
            }
            Ref<IMessageMetadata> output(prepared->getOutputMetadata(s));
            const std::vector<Column> columns = columnsOf(output.get(), s);
            Ref<IResultSet> cursor(prepared->openCursor(s, tra, input.get(), in.data(), output.get(), 0));
            std::vector<unsigned char> row(output->getMessageLength(s));
            while (cursor->fetchNext(s, row.data()) == IStatus::RESULT_OK) {
                ++digest.rows;
                digest.firstColumn += readRow(columns, row.data(), checksum);
            }
            cursor->close(s);
            cursor.released();
            prepared->free(s);
            prepared.released();
        }
    });
    watch.stop();

    status([&](ThrowStatusWrapper* s) { transactions.commit(s); });
    volatile unsigned keep = checksum; // the bytes are read, not thrown away unseen
    (void)keep;
    return watch.seconds();
}

} // namespace quorvel::bench
