#include "main/SelectionCriteria.h"

#include "platform/app/Error.h"

namespace quorvel::criteria {

QString inList(const QStringList& entries)
{
    QString text = QStringLiteral("(");
    for (const QString& entry : entries)
        text += entry + QLatin1Char(',');
    text.back() = QLatin1Char(')');
    return text;
}

QStringList companyEntries(const QList<qint32>& numbers)
{
    QStringList entries;
    entries.reserve(numbers.size());
    for (qint32 n : numbers)
        entries << QString::number(n);
    return entries;
}

QStringList referralEntries(const QStringList& values)
{
    QStringList entries;
    entries.reserve(values.size());
    for (QString value : values)
        entries << QLatin1Char('\'') + value.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    return entries;
}

QString textOf(const QVariant& value)
{
    if (value.isNull())
        throw Error(QStringLiteral("Could not convert variant of type (Null) into type (String)"));
    return value.toString();
}

} // namespace quorvel::criteria
