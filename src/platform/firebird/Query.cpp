#include "platform/firebird/Query.h"

#include "platform/firebird/Client.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Transaction.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quorvel::fb {

using namespace Firebird;

namespace {

bool isMarkerChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

template <typename T>
T read(const char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

bool isNull(const Column& c, const char* row) { return !row || read<short>(row + c.nullOffset) != 0; }

bool isExact(const Column& c) { return c.type == SQL_SHORT || c.type == SQL_LONG || c.type == SQL_INT64; }

qint64 mantissaOf(const Column& c, const char* row)
{
    const char* at = row + c.offset;
    switch (c.type) {
    case SQL_SHORT: return read<qint16>(at);
    case SQL_LONG: return read<qint32>(at);
    default: return read<qint64>(at);
    }
}

long double powerOfTen(int n)
{
    long double p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

QByteArray textBytes(const Column& c, const char* row)
{
    const char* at = row + c.offset;
    if (c.type == SQL_VARYING)
        return QByteArray(at + sizeof(short), read<unsigned short>(at));
    return QByteArray(at, int(c.length));
}

QDate dateOf(ISC_DATE date)
{
    unsigned y = 0, m = 0, d = 0;
    util()->decodeDate(date, &y, &m, &d);
    return QDate(int(y), int(m), int(d));
}

QTime timeOf(ISC_TIME time)
{
    unsigned h = 0, mi = 0, s = 0, f = 0;
    util()->decodeTime(time, &h, &mi, &s, &f);
    return QTime(int(h), int(mi), int(s), int(f / 10));
}

QString exactText(qint64 mantissa, int scale)
{
    if (scale >= 0)
        return QString::number(mantissa) + QString(scale, QLatin1Char('0'));
    const bool negative = mantissa < 0;
    QString digits = QString::number(negative ? -(quint64)mantissa : (quint64)mantissa);
    digits = digits.rightJustified(1 - scale, QLatin1Char('0'));
    digits.insert(digits.size() + scale, QLatin1Char('.'));
    return (negative ? QStringLiteral("-") : QString()) + digits;
}

QVariant decode(const Column& c, const char* row)
{
    if (isNull(c, row))
        return {};
    const char* at = row + c.offset;
    switch (c.type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        if (c.scale == 0)
            return QVariant(qlonglong(mantissaOf(c, row)));
        return QVariant(double(mantissaOf(c, row) / powerOfTen(-c.scale)));
    case SQL_FLOAT: return QVariant(double(read<float>(at)));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return QVariant(read<double>(at));
    case SQL_TEXT: {
        // CHAR pads with spaces to its length; the padding is no part of the value.
        QByteArray bytes = textBytes(c, row);
        qsizetype end = bytes.size();
        while (end > 0 && bytes[end - 1] == ' ')
            --end;
        bytes.truncate(end);
        return QVariant(Database::decodeText(bytes, int(c.charset)));
    }
    case SQL_VARYING: return QVariant(Database::decodeText(textBytes(c, row), int(c.charset)));
    case SQL_TYPE_DATE: return QVariant(dateOf(read<ISC_DATE>(at)));
    case SQL_TYPE_TIME: return QVariant(timeOf(read<ISC_TIME>(at)));
    case SQL_TIMESTAMP: {
        const auto ts = read<ISC_TIMESTAMP>(at);
        return QVariant(QDateTime(dateOf(ts.timestamp_date), timeOf(ts.timestamp_time)));
    }
    case SQL_BOOLEAN: return QVariant(read<unsigned char>(at) != 0);
    default: return QVariant(QStringLiteral("(unsupported)"));
    }
}

} // namespace

Markers parseMarkers(const QString& sql)
{
    Markers m;
    m.text.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) { // a string or a quoted identifier
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { // a doubled quote stays inside
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const qsizetype end = std::min(j + 1, n);
            m.text += sql.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            m.text += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QStringLiteral("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            m.text += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isMarkerChar(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isMarkerChar(sql[j]))
                ++j;
            m.names << sql.mid(i + 1, j - i - 1);
            m.text += QLatin1Char('?');
            i = j;
        } else {
            m.text += c;
            ++i;
        }
    }
    return m;
}

// ---- Field

QString Field::name() const { return column_->name; }

bool Field::isNull() const { return quorvel::fb::isNull(*column_, *row_ ? (*row_)->constData() : nullptr); }

qint64 Field::asInteger() const
{
    if (isNull())
        return 0;
    const char* row = (*row_)->constData();
    if (isExact(*column_)) {
        const qint64 m = mantissaOf(*column_, row);
        // A fraction rounds to the nearest integer, a half away from zero.
        return column_->scale >= 0 ? m * qint64(powerOfTen(column_->scale))
                                   : qint64(std::llroundl(m / powerOfTen(-column_->scale)));
    }
    const QVariant v = value();
    return v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong() : qint64(std::llround(v.toDouble()));
}

long double Field::asFloat() const
{
    if (isNull())
        return 0;
    const char* row = (*row_)->constData();
    if (isExact(*column_)) {
        const long double m = mantissaOf(*column_, row);
        return column_->scale >= 0 ? m * powerOfTen(column_->scale) : m / powerOfTen(-column_->scale);
    }
    const QVariant v = value();
    return v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble() : v.toDouble();
}

bool Field::exactDecimal(qint64& mantissa, int& scale) const
{
    if (isNull() || !isExact(*column_))
        return false;
    mantissa = mantissaOf(*column_, (*row_)->constData());
    scale = column_->scale;
    return true;
}

QString Field::asString() const
{
    if (isNull())
        return {};
    qint64 m = 0;
    int s = 0;
    if (exactDecimal(m, s))
        return exactText(m, s);
    const QVariant v = value();
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Double: return QString::number(v.toDouble(), 'g', 15);
    default: return v.toString();
    }
}

QByteArray Field::asBytes() const
{
    if (isNull())
        return {};
    if (column_->type == SQL_TEXT || column_->type == SQL_VARYING)
        return textBytes(*column_, (*row_)->constData());
    return asString().toUtf8();
}

QVariant Field::value() const { return decode(*column_, *row_ ? (*row_)->constData() : nullptr); }

QString Field::displayText() const
{
    if (isNull())
        return {};
    if (currency_ && moneyFormat_)
        return moneyFormat_(asFloat());
    return asString();
}

// ---- Query

struct Query::Prepared {
    Ref<IStatement> statement;
    QByteArray text;
    quint64 attachment = 0;
};

Query::Query() = default;

Query::~Query()
{
    closeQuietly();
    if (transaction_)
        transaction_->detach(this);
    if (database_)
        database_->detach(this);
}

void Query::setDatabase(Database* database)
{
    if (database == database_)
        return;
    closeQuietly();
    if (database_)
        database_->detach(this);
    database_ = database;
    if (database_)
        database_->attach(this);
}

void Query::setTransaction(Transaction* transaction)
{
    if (transaction == transaction_)
        return;
    closeQuietly();
    if (transaction_)
        transaction_->detach(this);
    transaction_ = transaction;
    if (transaction_) {
        transaction_->attach(this);
        if (!database_)
            setDatabase(transaction_->defaultDatabase());
    }
}

void Query::databaseGone()
{
    closeQuietly();
    database_ = nullptr;
}

void Query::setSql(const QString& sql)
{
    close();
    prepared_.reset();
    sql_ = sql;
    params_.clear();
    named_.clear();
    Markers markers = parseMarkers(sql);
    serverText_ = std::move(markers.text);
    for (const QString& name : markers.names) {
        params_.push_back(std::make_unique<Param>(name));
        auto same = std::find_if(named_.begin(), named_.end(), [&](const auto& p) {
            return p->name().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (same == named_.end()) {
            named_.push_back(std::make_unique<Param>(name));
            same = named_.end() - 1;
        }
        (*same)->markers.push_back(params_.back().get());
    }
}

Param& Query::param(int index)
{
    if (index < 0 || index >= paramCount())
        throw Error(QStringLiteral("Parameter index %1 out of range").arg(index));
    return *params_[size_t(index)];
}

Param& Query::paramByName(const QString& name)
{
    for (const auto& p : named_)
        if (p->name().compare(name, Qt::CaseInsensitive) == 0)
            return *p;
    throw Error(QStringLiteral("Parameter \"%1\" not found").arg(name));
}

Transaction* Query::activeTransaction() const
{
    if (transaction_)
        return transaction_;
    return database_ ? database_->defaultTransaction() : nullptr;
}

void Query::open()
{
    if (open_)
        return;
    if (beforeOpen)
        beforeOpen(*this);
    execute();
    open_ = true;
    first();
}

void Query::close()
{
    if (!open_)
        return;
    closeQuietly();
    if (afterClose)
        afterClose(*this);
}

void Query::closeQuietly()
{
    open_ = false;
    currentRow_ = nullptr;
    rows_.clear();
    current_ = 0;
}

void Query::first()
{
    current_ = 0;
    currentRow_ = rows_.empty() || !open_ ? nullptr : &rows_.front();
}

void Query::next()
{
    if (eof())
        return;
    ++current_;
    currentRow_ = eof() ? nullptr : &rows_[size_t(current_)];
}

Field& Query::field(int index)
{
    if (index < 0 || index >= fieldCount())
        throw Error(QStringLiteral("Field index %1 out of range").arg(index));
    return *fields_[size_t(index)];
}

Field* Query::findField(const QString& name)
{
    for (const auto& f : fields_)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field& Query::fieldByName(const QString& name)
{
    if (Field* f = findField(name))
        return *f;
    throw Error(QStringLiteral("Field '%1' not found").arg(name));
}

QVariant Query::value(int record, const QString& field) const
{
    if (record < 0 || record >= recordCount())
        return {};
    for (const Column& c : columns_)
        if (c.name.compare(field, Qt::CaseInsensitive) == 0)
            return decode(c, rows_[size_t(record)].constData());
    return {};
}

void Query::execute()
{
    Transaction* transaction = activeTransaction();
    if (!transaction)
        throw Error(QStringLiteral("Transaction not assigned"));
    if (!transaction->inTransaction())
        transaction->startTransaction(); // auto-start
    Database* db = database_ ? database_ : transaction->defaultDatabase();
    if (!db || !db->connected())
        throw Error(Database::notOpenMessage());
    const QByteArray text = db->encodeStatement(serverText_);

    std::vector<Column> columns;
    std::vector<QByteArray> rows;
    // After a failure the statement is prepared afresh: whatever failed may have been it.
    auto forgetOnFailure = qScopeGuard([this] { prepared_.reset(); });
    call([&](ThrowStatusWrapper* status) {
        IAttachment* att = db->attachment()->handle.get();
        ITransaction* tra = transaction->handle()->handle.get();
        if (!prepared_ || prepared_->text != text || prepared_->attachment != db->attachment()->serial) {
            prepared_.reset();
            auto fresh = std::make_unique<Prepared>();
            fresh->statement = Ref<IStatement>(
                att->prepare(status, tra, 0, text.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA));
            fresh->text = text;
            fresh->attachment = db->attachment()->serial;
            prepared_ = std::move(fresh);
        }
        IStatement* statement = prepared_->statement.get();

        // Input: each marker's value in a type that carries it.
        Ref<IMessageMetadata> described(statement->getInputMetadata(status));
        const unsigned markers = described->getCount(status);
        Ref<IMetadataBuilder> builder(described->getBuilder(status));
        std::vector<QByteArray> textValues(markers);
        for (unsigned i = 0; i < markers; ++i) {
            const QVariant v = i < params_.size() ? params_[i]->value() : QVariant();
            switch (v.typeId()) {
            case QMetaType::QDateTime:
            case QMetaType::QDate:
                builder->setType(status, i, SQL_TIMESTAMP + 1);
                builder->setLength(status, i, sizeof(ISC_TIMESTAMP));
                break;
            case QMetaType::LongLong:
            case QMetaType::Int:
                builder->setType(status, i, SQL_INT64 + 1);
                builder->setScale(status, i, 0);
                builder->setLength(status, i, sizeof(qint64));
                break;
            case QMetaType::QString:
                textValues[i] = db->encodeStatement(v.toString());
                builder->setType(status, i, SQL_VARYING + 1);
                builder->setCharSet(status, i, 0);
                builder->setLength(status, i, unsigned(std::max<qsizetype>(1, textValues[i].size())));
                break;
            default: // null: the server's own type, flagged null
                builder->setType(status, i, described->getType(status, i) | 1);
                break;
            }
        }
        Ref<IMessageMetadata> input(builder->getMetadata(status));
        QByteArray in(int(input->getMessageLength(status)), 0);
        for (unsigned i = 0; i < markers; ++i) {
            const QVariant v = i < params_.size() ? params_[i]->value() : QVariant();
            char* at = in.data() + input->getOffset(status, i);
            short null = v.isNull() ? -1 : 0;
            std::memcpy(in.data() + input->getNullOffset(status, i), &null, sizeof null);
            if (v.isNull())
                continue;
            switch (v.typeId()) {
            case QMetaType::QDateTime:
            case QMetaType::QDate: {
                const QDateTime dt = v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
                ISC_TIMESTAMP ts;
                ts.timestamp_date = util()->encodeDate(unsigned(dt.date().year()), unsigned(dt.date().month()),
                                                       unsigned(dt.date().day()));
                ts.timestamp_time = util()->encodeTime(unsigned(dt.time().hour()), unsigned(dt.time().minute()),
                                                       unsigned(dt.time().second()), unsigned(dt.time().msec() * 10));
                std::memcpy(at, &ts, sizeof ts);
                break;
            }
            case QMetaType::LongLong:
            case QMetaType::Int: {
                const qint64 n = v.toLongLong();
                std::memcpy(at, &n, sizeof n);
                break;
            }
            case QMetaType::QString: {
                const auto length = static_cast<unsigned short>(textValues[i].size());
                std::memcpy(at, &length, sizeof length);
                std::memcpy(at + sizeof length, textValues[i].constData(), length);
                break;
            }
            default: break;
            }
        }

        Ref<IResultSet> cursor(
            statement->openCursor(status, tra, markers ? input.get() : nullptr, markers ? in.data() : nullptr, nullptr, 0));
        Ref<IMessageMetadata> output(cursor->getMetadata(status));
        const unsigned count = output->getCount(status);
        columns.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            Column c;
            c.name = QString::fromUtf8(output->getAlias(status, i));
            c.type = output->getType(status, i) & ~1u;
            c.scale = output->getScale(status, i);
            c.length = output->getLength(status, i);
            c.charset = output->getCharSet(status, i);
            c.offset = output->getOffset(status, i);
            c.nullOffset = output->getNullOffset(status, i);
            columns.push_back(c);
        }
        const int length = int(output->getMessageLength(status));
        QByteArray row(length, 0);
        while (cursor->fetchNext(status, row.data()) == IStatus::RESULT_OK) {
            rows.push_back(row);
            row.detach();
        }
        cursor->close(status);
        cursor.forget();
        return 0;
    });
    forgetOnFailure.dismiss();
    columns_ = std::move(columns);
    rows_ = std::move(rows);
    fields_.clear();
    fields_.reserve(columns_.size());
    for (const Column& c : columns_) {
        auto& field = fields_.emplace_back(std::make_unique<Field>(&c, &currentRow_));
        field->setCurrency(currencyFields_.contains(field->name(), Qt::CaseInsensitive));
        field->setMoneyFormat(moneyFormat_);
    }
}

void Query::setCurrencyField(const QString& name, bool currency)
{
    currencyFields_.removeAll(name.toUpper());
    if (currency)
        currencyFields_ << name.toUpper();
    if (Field* field = findField(name))
        field->setCurrency(currency);
}

void Query::setMoneyFormat(std::function<QString(long double)> format)
{
    moneyFormat_ = std::move(format);
    for (const auto& field : fields_)
        field->setMoneyFormat(moneyFormat_);
}

} // namespace quorvel::fb
