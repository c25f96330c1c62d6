// The print steps: what the period line, the two paragraphs and the averages say.
#include "report/TfrmReport.h"

#include "platform/firebird/Query.h"
#include "report/NarrativeTexts.h"

namespace quorvel {
namespace {

std::optional<long double> sum(const fb::Field& field)
{
    if (field.isNull())
        return std::nullopt;
    return field.asFloat();
}

StatisticsRow statisticsRow(fb::Query& query)
{
    return {query.fieldByName(QStringLiteral("NUM")).asInteger(), sum(query.fieldByName(QStringLiteral("SUBTOTAL"))),
            query.fieldByName(QStringLiteral("NUMACCOUNTS")).asInteger()};
}

} // namespace

PracticeRow TfrmReport::practiceRow() const
{
    return {IBQuery4NUM().asInteger(), sum(IBQuery4VALUEALL()), IBQuery4NUMINS().asInteger(),
            sum(IBQuery4VALUEINS())};
}

QString TfrmReport::subtotalText(fb::Query& query) const
{
    return moneyFieldText(sum(query.fieldByName(QStringLiteral("SUBTOTAL"))), regional_);
}

void TfrmReport::QRLabel11Print(QString& value) { value = periodLine(PeriodStart, PeriodEnd, regional_); }

void TfrmReport::QRLabel12Print(QString& value) { value = practiceParagraph(practiceRow(), regional_); }

void TfrmReport::QRLabel13Print(QString& value)
{
    value = selectionParagraph(CompanyNames, IBQuery1NUM().asInteger(), practiceRow(), regional_);
}

// The averages print blank on any failure, reading a field included.
static QString average(fb::Query& query, const RegionalSettings& regional)
{
    try {
        return averageText(statisticsRow(query), regional);
    } catch (...) {
        return {};
    }
}

void TfrmReport::QRLabel15Print(QString& value)
{
    value.clear();
    value = average(*IBQuery1, regional_);
}

void TfrmReport::QRLabel17Print(QString& value)
{
    value.clear();
    value = average(*IBQuery2, regional_);
}

void TfrmReport::QRLabel19Print(QString& value)
{
    value.clear();
    value = average(*IBQuery3, regional_);
}

// The value fields print their money text as it is.
void TfrmReport::QRDBText3Print(QString&) {}
void TfrmReport::QRDBText6Print(QString&) {}
void TfrmReport::QRDBText9Print(QString&) {}

} // namespace quorvel
