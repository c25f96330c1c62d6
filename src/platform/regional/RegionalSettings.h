#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>

class QLocale;

namespace quorvel {

// The user's regional settings that the report's texts are written in: the short date
// format and the currency format. A plain value, so the report can be handed fixed settings.
// A default-constructed value holds the settings a locale without conventions of its own
// (C/POSIX) stands for: "dd/MM/yyyy", "$1", "-$1", two decimals, ',' and '.'.
struct RegionalSettings {
    QString shortDateFormat = QStringLiteral("dd/MM/yyyy"); // a Qt date format
    QString currencySymbol = QStringLiteral("$");
    int positiveCurrencyFormat = 0; // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-",
    // 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)"
    int negativeCurrencyFormat = 1;
    int currencyDecimals = 2;
    QChar thousandSeparator = u','; // a null QChar groups nothing
    QChar decimalSeparator = u'.';

    friend bool operator==(const RegionalSettings&, const RegionalSettings&) = default;

    // The user's own settings. On Windows and macOS, the system locale with the user's
    // customisations. Elsewhere, the locale environment read category by category as Qt's
    // system locale reads it (LC_ALL, else LC_TIME / LC_NUMERIC / LC_MONETARY, else LANG,
    // else C): the date format from the time locale, the separators from the numeric locale,
    // and the symbol, its placement and the decimals from the monetary locale.
    static RegionalSettings fromSystem();
    // All settings from one locale. The C/POSIX locale gives the default value above: Qt
    // writes its dates "d MMM yyyy" and it names no currency, neither of which suits a report.
    static RegionalSettings fromLocale(const QLocale& locale);
};

// Rounding of every format below: the value is first taken to 18 significant decimal
// digits, and that digit string is then cut to the decimals needed, a half rounded away
// from zero. A value that rounds to zero prints without a sign.

// The currency format ("%m"): symbol placed by the positive or negative pattern, thousands
// separators, the regional decimal separator and currencyDecimals decimals.
QString formatMoney(long double value, const RegionalSettings& settings);

// Fixed point ("%8.2f" is formatFixed(v, 8, 2, r)): the regional decimal separator, no
// thousands separator, right-aligned with spaces in at least `width` characters.
QString formatFixed(long double value, int width, int decimals, const RegionalSettings& settings);

// A count: decimal digits only, no grouping.
QString formatCount(qint64 value);

// The date alone in the short date format.
QString formatShortDate(const QDate& date, const RegionalSettings& settings);

// The display text of a money field: the currency format with up to 15 significant
// digits; empty for a null.
QString moneyFieldText(std::optional<long double> value, const RegionalSettings& settings);

} // namespace quorvel
