#include "platform/firebird/Database.h"

#include "platform/firebird/Client.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"

#include <algorithm>

namespace quorvel::fb {

using namespace Firebird;

namespace {

// Windows-1252's 0x80..0x9F; the five bytes it leaves undefined stand for themselves.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr unsigned charsetUtf8 = 4;

} // namespace

QString Database::notOpenMessage() { return QStringLiteral("Cannot perform operation -- DB is not open"); }

QString Database::decodeText(const QByteArray& bytes, int charset)
{
    if ((unsigned(charset) & 0xFF) == charsetUtf8)
        return QString::fromUtf8(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? cp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

QByteArray Database::encodeWindows1252(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes += char(u);
            continue;
        }
        const auto* found = std::find(std::begin(cp1252High), std::end(cp1252High), u);
        bytes += found != std::end(cp1252High) ? char(0x80 + (found - std::begin(cp1252High))) : '?';
    }
    return bytes;
}

QByteArray Database::encodeStatement(const QString& text) const
{
    return utf8_ ? text.toUtf8() : encodeWindows1252(text);
}

Database::Database() = default;

Database::~Database()
{
    try {
        disconnect(false);
    } catch (...) {
        // A connection that cannot even be closed cleanly is dropped.
    }
    for (Transaction* t : transactions_)
        t->databaseGone();
    for (Query* q : queries_)
        q->databaseGone();
}

void Database::setDefaultTransaction(Transaction* transaction)
{
    defaultTransaction_ = transaction;
    if (transaction && !transaction->defaultDatabase())
        transaction->setDefaultDatabase(this);
}

void Database::ensureClosed() const
{
    if (connected())
        throw Error(QStringLiteral("Cannot perform operation -- DB is currently open"));
}

void Database::setDatabaseName(const QString& name)
{
    ensureClosed();
    name_ = name;
}

void Database::setParam(const QString& name, const QString& value)
{
    ensureClosed();
    const QString prefix = name + QLatin1Char('=');
    const auto line = std::find_if(params_.begin(), params_.end(), [&](const QString& l) {
        return l.startsWith(prefix, Qt::CaseInsensitive);
    });
    if (value.isEmpty()) {
        if (line != params_.end())
            params_.erase(line);
    } else if (line != params_.end()) {
        *line = prefix + value;
    } else {
        params_ << prefix + value;
    }
}

QString Database::param(const QString& name) const
{
    const QString prefix = name + QLatin1Char('=');
    for (const QString& line : params_)
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    return {};
}

bool Database::connected() const { return attachment_ != nullptr; }

void Database::setConnected(bool connect)
{
    if (connect == connected())
        return;
    if (!connect) {
        disconnect(true);
        return;
    }
    if (name_.isEmpty())
        throw Error(QStringLiteral("Database name is missing"));
    auto attachment = std::make_unique<Attachment>();
    call([&](ThrowStatusWrapper* status) {
        IXpbBuilder* builder = util()->getXpbBuilder(status, IXpbBuilder::DPB, nullptr, 0);
        struct Dispose {
            IXpbBuilder* b;
            ~Dispose() { b->dispose(); }
        } dispose{builder};
        const QString user = param(QStringLiteral("user_name"));
        const QString password = param(QStringLiteral("password"));
        if (!user.isEmpty())
            builder->insertString(status, isc_dpb_user_name, user.toUtf8().constData());
        if (!password.isEmpty())
            builder->insertString(status, isc_dpb_password, password.toUtf8().constData());
        builder->insertString(status, isc_dpb_lc_ctype, "NONE");
        const QByteArray file = name_.toLocal8Bit();
        Ref<IProvider> provider(master()->getDispatcher());
        attachment->handle = Ref<IAttachment>(provider->attachDatabase(
            status, file.constData(), builder->getBufferLength(status), builder->getBuffer(status)));
        return 0;
    });
    // The database's own character set decides how statements are sent.
    call([&](ThrowStatusWrapper* status) {
        Ref<ITransaction> t(attachment->handle->startTransaction(status, 0, nullptr));
        Ref<IMessageMetadata> meta;
        Ref<IResultSet> rs(attachment->handle->openCursor(
            status, t.get(), 0, "select cast(rdb$character_set_name as char(31)) from rdb$database", 3, nullptr,
            nullptr, nullptr, nullptr, 0));
        meta = Ref<IMessageMetadata>(rs->getMetadata(status));
        QByteArray row(int(meta->getMessageLength(status)), 0);
        QByteArray set;
        if (rs->fetchNext(status, row.data()) == IStatus::RESULT_OK
            && !*reinterpret_cast<short*>(row.data() + meta->getNullOffset(status, 0)))
            set = QByteArray(row.constData() + meta->getOffset(status, 0), int(meta->getLength(status, 0))).trimmed();
        utf8_ = set == "UTF8" || set == "UNICODE_FSS";
        rs->close(status);
        rs.forget();
        t->commit(status);
        t.forget();
        return 0;
    });
    attachment_ = std::move(attachment);
    if (afterConnect)
        afterConnect();
}

void Database::disconnect(bool runHooks)
{
    if (!connected())
        return;
    if (runHooks && beforeDisconnect)
        beforeDisconnect();
    for (Query* q : std::vector<Query*>(queries_)) {
        if (runHooks)
            q->close();
        else
            q->closeQuietly();
    }
    for (Transaction* t : std::vector<Transaction*>(transactions_))
        t->endQuietly();
    try {
        call([&](ThrowStatusWrapper* status) {
            attachment_->handle->detach(status);
            attachment_->handle.forget();
            return 0;
        });
    } catch (...) {
        attachment_.reset();
        throw;
    }
    attachment_.reset();
    if (runHooks && afterDisconnect)
        afterDisconnect();
}

void Database::attach(Transaction* t) { transactions_.push_back(t); }
void Database::detach(Transaction* t) { std::erase(transactions_, t); }
void Database::attach(Query* q) { queries_.push_back(q); }
void Database::detach(Query* q) { std::erase(queries_, q); }

} // namespace quorvel::fb
