#include "Table.h"

#include <QStringList>

namespace quorvel::bench {

namespace {

QString time(double seconds)
{
    if (seconds < 1)
        return QString::number(seconds * 1000, 'f', seconds < 0.01 ? 2 : 1) + QStringLiteral(" ms");
    return QString::number(seconds, 'f', 3) + QStringLiteral(" s");
}

QString cell(const Samples& s, bool memory)
{
    if (s.empty())
        return QStringLiteral("–");
    const QString value =
        memory ? QString::number(s.median(), 'f', 1) + QStringLiteral(" MiB") : time(s.median());
    return value + QStringLiteral(" ±") + QString::number(s.noise() * 100, 'f', 1) + QStringLiteral(" %");
}

QString ratio(const Samples& s, const Samples& raw)
{
    if (s.empty() || raw.empty())
        return QStringLiteral("–");
    return QString::number(s.pairedRatio(raw), 'f', 2);
}

} // namespace

QString markdownTable(const std::vector<Row>& rows)
{
    QStringList lines{
        QStringLiteral("| measure | our program | raw client | Qt driver | ours / raw | Qt / raw "
                       "| ours / Qt | runs | budget | met |"),
        QStringLiteral("|---|---:|---:|---:|---:|---:|---:|---:|---|---|")};
    for (const Row& r : rows) {
        const QString met = !r.met   ? QStringLiteral("–")
                            : *r.met ? QStringLiteral("yes")
                                     : QStringLiteral("**no**");
        lines << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 | %10 |")
                     .arg(r.measure, cell(r.ours, r.memory), cell(r.raw, r.memory), cell(r.qt, r.memory),
                          ratio(r.ours, r.raw), ratio(r.qt, r.raw), ratio(r.ours, r.qt),
                          QString::number(r.ours.count()),
                          r.budget.isEmpty() ? QStringLiteral("–") : r.budget)
                     .arg(met);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace quorvel::bench
