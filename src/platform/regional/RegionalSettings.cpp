#include "platform/regional/RegionalSettings.h"

#include <QLocale>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace quorvel {

namespace {

// Patterns of the currency format: '$' stands for the symbol, '1' for the amount.
constexpr std::array<const char*, 4> positivePatterns{"$1", "1$", "$ 1", "1 $"};
constexpr std::array<const char*, 16> negativePatterns{"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                                       "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                                       "$ -1", "1- $", "($ 1)", "(1 $)"};

// A finite value rounded to a number of decimals, as digits around a decimal point.
struct RoundedDecimal {
    bool negative = false;
    QString integerDigits;  // at least "0"
    QString fractionDigits; // exactly the decimals asked for
};

// The value is first written with 18 significant digits; that digit string is then cut at
// `decimals` places after the point (and at `maxSignificant` digits, when fewer), a half
// rounded away from zero. Rounding twice this way is what the report has always printed:
// 2.675, which binary cannot hold exactly, still prints as 2.68.
RoundedDecimal roundDecimal(long double value, int decimals, int maxSignificant = 18)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", value);
    const QString text = QString::fromLatin1(buffer);
    RoundedDecimal result;
    result.negative = text.startsWith(u'-');
    const qsizetype e = text.indexOf(u'e');
    QString digits = text.left(e);
    digits.remove(u'-');
    digits.remove(u'.');
    int pointPos = text.mid(e + 1).toInt() + 1; // digits before the decimal point

    const int keep = std::min(pointPos + decimals, maxSignificant);
    QString kept;
    bool roundUp = false;
    if (keep >= 0) {
        kept = digits.left(keep);
        roundUp = keep < digits.size() && digits.at(keep) >= u'5';
    }
    if (roundUp) {
        qsizetype i = kept.size() - 1;
        while (i >= 0 && kept.at(i) == u'9') {
            kept[i] = u'0';
            --i;
        }
        if (i >= 0) {
            kept[i] = QChar(kept.at(i).unicode() + 1);
        } else {
            kept.prepend(u'1');
            ++pointPos;
        }
    }

    const auto digitAt = [&](int index) {
        return index >= 0 && index < kept.size() ? kept.at(index) : QChar(u'0');
    };
    for (int i = 0; i < pointPos; ++i)
        result.integerDigits += digitAt(i);
    if (result.integerDigits.isEmpty())
        result.integerDigits = QStringLiteral("0");
    for (int i = 0; i < decimals; ++i)
        result.fractionDigits += digitAt(pointPos + i);

    // A value that rounds to zero carries no sign.
    const auto isZeroDigit = [](QChar c) { return c == u'0'; };
    if (std::all_of(result.integerDigits.begin(), result.integerDigits.end(), isZeroDigit) &&
        std::all_of(result.fractionDigits.begin(), result.fractionDigits.end(), isZeroDigit))
        result.negative = false;
    return result;
}

QString nonFiniteText(long double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString grouped(const QString& integerDigits, QChar separator)
{
    if (separator.isNull())
        return integerDigits;
    QString out;
    const qsizetype n = integerDigits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += integerDigits.at(i);
    }
    return out;
}

QString applyPattern(const char* pattern, const QString& symbol, const QString& amount)
{
    QString out;
    for (const char* p = pattern; *p; ++p) {
        if (*p == '$')
            out += symbol;
        else if (*p == '1')
            out += amount;
        else
            out += QLatin1Char(*p);
    }
    return out;
}

QString moneyText(long double value, const RegionalSettings& settings, int maxSignificant)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const int decimals = std::max(0, settings.currencyDecimals);
    const RoundedDecimal rounded = roundDecimal(value, decimals, maxSignificant);
    QString amount = grouped(rounded.integerDigits, settings.thousandSeparator);
    if (decimals > 0)
        amount += settings.decimalSeparator + rounded.fractionDigits;
    // Patterns out of range fall back to the defaults rather than failing a report.
    if (rounded.negative) {
        const int index = settings.negativeCurrencyFormat;
        const bool valid = index >= 0 && index < int(negativePatterns.size());
        return applyPattern(negativePatterns[valid ? index : 1], settings.currencySymbol, amount);
    }
    const int index = settings.positiveCurrencyFormat;
    const bool valid = index >= 0 && index < int(positivePatterns.size());
    return applyPattern(positivePatterns[valid ? index : 0], settings.currencySymbol, amount);
}

// Reads the symbol's placement from how the locale writes one unit of its currency:
// the symbol becomes '$', the amount '1', any kind of space ' ' and any minus '-', so the
// text can be looked up among the patterns. Bidirectional marks are dropped.
QString normalisedCurrencyText(const QLocale& locale, const QString& symbol, double amount)
{
    static constexpr QChar symbolMark(0xE000);
    static constexpr QChar oneMark(0xE001);
    QString marked = locale.toCurrencyString(amount, symbol, 0);
    marked.replace(symbol, QString(symbolMark));
    // A locale may write its digits in a script of its own.
    marked.replace(locale.toString(1), QString(oneMark));
    QString out;
    for (const QChar c : std::as_const(marked)) {
        if (c == symbolMark)
            out += u'$';
        else if (c == oneMark)
            out += u'1';
        else if (c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F))
            out += u' ';
        else if (c == u'-' || c == QChar(0x2212) || locale.negativeSign() == QString(c))
            out += u'-';
        else if (c == u'(' || c == u')')
            out += c;
        // Other characters (direction marks) carry no placement.
    }
    return out;
}

template <std::size_t N> int patternIndex(const std::array<const char*, N>& patterns, const QString& text)
{
    for (std::size_t i = 0; i < N; ++i)
        if (text == QLatin1String(patterns[i]))
            return int(i);
    return -1;
}

// A locale without conventions of its own keeps the defaults of RegionalSettings.
bool hasConventions(const QLocale& locale)
{
    return locale.language() != QLocale::C;
}

void readDateFormat(RegionalSettings& settings, const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    if (hasConventions(locale) && !format.isEmpty())
        settings.shortDateFormat = format;
}

void readSeparators(RegionalSettings& settings, const QLocale& locale)
{
    if (!hasConventions(locale))
        return;
    // Both are single characters in every locale Qt knows; a longer one would not fit the
    // settings, so the default stays.
    const QString group = locale.groupSeparator();
    const QString point = locale.decimalPoint();
    if (group.size() == 1)
        settings.thousandSeparator = group.at(0);
    if (point.size() == 1)
        settings.decimalSeparator = point.at(0);
}

void readCurrency(RegionalSettings& settings, const QLocale& locale)
{
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    if (!hasConventions(locale) || symbol.isEmpty())
        return;
    settings.currencySymbol = symbol;
    const int positive = patternIndex(positivePatterns, normalisedCurrencyText(locale, symbol, 1.0));
    settings.positiveCurrencyFormat = positive >= 0 ? positive : 0;
    // A locale whose negative form matches no pattern gets a minus before its positive form.
    static constexpr std::array<int, 4> minusBefore{1, 5, 9, 8};
    const int negative = patternIndex(negativePatterns, normalisedCurrencyText(locale, symbol, -1.0));
    settings.negativeCurrencyFormat = negative >= 0 ? negative : minusBefore[settings.positiveCurrencyFormat];

    // The locale's own number of currency decimals shows in how it writes one unit.
    // (The symbol is taken out first: some symbols hold a point of their own.)
    QString unit = locale.toCurrencyString(1.0, symbol);
    unit.remove(symbol);
    const qsizetype pointAt = unit.lastIndexOf(locale.decimalPoint());
    int decimals = 0;
    if (pointAt >= 0)
        for (qsizetype i = pointAt + locale.decimalPoint().size(); i < unit.size() && unit.at(i).isDigit();
             ++i)
            ++decimals;
    settings.currencyDecimals = decimals;
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// The locale a category is written in, by the variables and in the order the C library and
// Qt's system locale read them.
QLocale categoryLocale(const char* category)
{
    for (const char* name : {"LC_ALL", category, "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return QLocale(value);
    }
    return QLocale::c();
}
#endif

} // namespace

RegionalSettings RegionalSettings::fromSystem()
{
    RegionalSettings settings;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt's system locale here takes the symbol from LC_MONETARY but writes money in the
    // placement and decimals of LC_NUMERIC's locale; each category is read on its own instead.
    readDateFormat(settings, categoryLocale("LC_TIME"));
    readSeparators(settings, categoryLocale("LC_NUMERIC"));
    readCurrency(settings, categoryLocale("LC_MONETARY"));
#else
    const QLocale system = QLocale::system();
    readDateFormat(settings, system);
    readSeparators(settings, system);
    readCurrency(settings, system);
#endif
    return settings;
}

RegionalSettings RegionalSettings::fromLocale(const QLocale& locale)
{
    RegionalSettings settings;
    readDateFormat(settings, locale);
    readSeparators(settings, locale);
    readCurrency(settings, locale);
    return settings;
}

QString formatMoney(long double value, const RegionalSettings& settings)
{
    return moneyText(value, settings, 18);
}

QString formatFixed(long double value, int width, int decimals, const RegionalSettings& settings)
{
    QString text;
    if (!std::isfinite(value)) {
        text = nonFiniteText(value);
    } else {
        decimals = std::max(0, decimals);
        const RoundedDecimal rounded = roundDecimal(value, decimals);
        if (rounded.negative)
            text += u'-';
        text += rounded.integerDigits;
        if (decimals > 0)
            text += settings.decimalSeparator + rounded.fractionDigits;
    }
    return text.rightJustified(width, u' ');
}

QString formatCount(qint64 value)
{
    return QString::number(value);
}

QString formatShortDate(const QDate& date, const RegionalSettings& settings)
{
    return QLocale::c().toString(date, settings.shortDateFormat);
}

QString moneyFieldText(std::optional<long double> value, const RegionalSettings& settings)
{
    if (!value)
        return QString();
    return moneyText(*value, settings, 15);
}

} // namespace quorvel
