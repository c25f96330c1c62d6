#include "report/NarrativeTexts.h"

namespace quorvel {

namespace {

long double sumOrZero(const std::optional<long double>& sum)
{
    return sum.value_or(0.0L);
}

// A share of the practice's treatments, in per cent. Counts are divided in extended
// precision and the quotient is multiplied by 100 afterwards, as the report has always done.
// A period with no treatment at all gives 0 rather than a division by zero.
long double percentage(qint64 part, qint64 whole)
{
    if (whole == 0)
        return 0.0L;
    return (static_cast<long double>(part) / static_cast<long double>(whole)) * 100.0L;
}

} // namespace

QString periodLine(const QDateTime& start, const QDateTime& end, const RegionalSettings& settings)
{
    return QStringLiteral("Period: ") + formatShortDate(start.date(), settings) + QStringLiteral(" to ") +
           formatShortDate(end.date(), settings);
}

QString practiceParagraph(const PracticeRow& practice, const RegionalSettings& settings)
{
    return QStringLiteral("During this period, this clinic performed a total of ") +
           formatCount(practice.num) + QStringLiteral(" treatments. These came to the value of ") +
           formatMoney(sumOrZero(practice.valueAll), settings) +
           QStringLiteral(". Out of this number there were ") + formatCount(practice.numIns) +
           QStringLiteral(" treatments (for ALL insurance companies) and they were valued at ") +
           formatMoney(sumOrZero(practice.valueIns), settings) +
           QStringLiteral(". This represents a percentage of ") +
           formatFixed(percentage(practice.numIns, practice.num), 8, 2, settings) + QStringLiteral(" %");
}

QString selectionParagraph(const QString& companyNames, qint64 selectedNum, const PracticeRow& practice,
                           const RegionalSettings& settings)
{
    return QStringLiteral("Report specific details for ") + companyNames +
           QStringLiteral(". This selection represents ") +
           formatFixed(percentage(selectedNum, practice.num), 8, 2, settings) +
           QStringLiteral("% of your total number of treatments.");
}

QString averageText(const StatisticsRow& row, const RegionalSettings& settings)
{
    // A failed average prints blank: nothing of it may stop the report.
    QString text;
    try {
        if (row.numAccounts == 0)
            return text;
        text = formatFixed(static_cast<long double>(row.num) / static_cast<long double>(row.numAccounts), 8,
                           2, settings);
    } catch (...) {
        text.clear();
    }
    return text;
}

} // namespace quorvel
