#pragma once

#include "platform/regional/RegionalSettings.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quorvel {

// The single row of a statistics query for a group of treatments (IBQuery1..3).
struct StatisticsRow {
    qint64 num = 0;
    std::optional<long double> subtotal;
    qint64 numAccounts = 0;
};

// The single row of the whole-practice query (IBQuery4).
struct PracticeRow {
    qint64 num = 0;
    std::optional<long double> valueAll;
    qint64 numIns = 0;
    std::optional<long double> valueIns;
};

// The texts the report's print steps compose. A null sum reads as 0. When the period holds
// no treatment at all (practice NUM 0) a percentage prints as 0 in its own format.

// QRLabel11Print: "Period: <start> to <end>", dates alone in the short date format.
QString periodLine(const QDateTime& start, const QDateTime& end, const RegionalSettings& settings);

// QRLabel12Print: the whole-practice paragraph.
QString practiceParagraph(const PracticeRow& practice, const RegionalSettings& settings);

// QRLabel13Print: the selection paragraph; companyNames is used as given (each name followed
// by one space).
QString selectionParagraph(const QString& companyNames, qint64 selectedNum, const PracticeRow& practice,
                           const RegionalSettings& settings);

// QRLabel15Print, QRLabel17Print, QRLabel19Print: NUM / NUMACCOUNTS as "%8.2f"; empty when
// the group has no patients or on any error.
QString averageText(const StatisticsRow& row, const RegionalSettings& settings);

} // namespace quorvel
