#include "platform/regional/RegionalSettings.h"

#include <QLocale>
#include <QtTest>

using quorvel::RegionalSettings;

Q_DECLARE_METATYPE(RegionalSettings)

namespace {

// "$" before the amount with no space, two decimals, ',' and '.', as in the report's example.
RegionalSettings dollars()
{
    RegionalSettings r;
    r.shortDateFormat = QStringLiteral("dd/MM/yyyy");
    r.currencySymbol = QStringLiteral("$");
    return r;
}

// The symbol after the amount with a space, '.' for thousands and ',' for decimals.
RegionalSettings euros()
{
    RegionalSettings r;
    r.shortDateFormat = QStringLiteral("dd.MM.yyyy");
    r.currencySymbol = QStringLiteral("€");
    r.positiveCurrencyFormat = 3;
    r.negativeCurrencyFormat = 8;
    r.thousandSeparator = u'.';
    r.decimalSeparator = u',';
    return r;
}

RegionalSettings withNegative(int pattern)
{
    RegionalSettings r = dollars();
    r.negativeCurrencyFormat = pattern;
    return r;
}

long double quotient(qint64 a, qint64 b)
{
    return static_cast<long double>(a) / static_cast<long double>(b);
}

} // namespace

class TestRegionalSettings : public QObject {
    Q_OBJECT

private slots:
    void fixedPoint_data()
    {
        QTest::addColumn<qint64>("numerator");
        QTest::addColumn<qint64>("denominator");
        QTest::addColumn<RegionalSettings>("settings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact half 5/8 rounds away from zero")
            << qint64(5) << qint64(8) << dollars() << "    0.63";
        QTest::newRow("inexact half 107/40 still rounds up")
            << qint64(107) << qint64(40) << dollars() << "    2.68";
        QTest::newRow("negative half -5/8 rounds away from zero")
            << qint64(-5) << qint64(8) << dollars() << "   -0.63";
        QTest::newRow("carry through nines 1999/200")
            << qint64(1999) << qint64(200) << dollars() << "   10.00";
        QTest::newRow("wider than eight printed whole")
            << qint64(493827) << qint64(4) << dollars() << "123456.75";
        QTest::newRow("rounds to zero without sign") << qint64(-1) << qint64(1000) << dollars() << "    0.00";
        QTest::newRow("decimal comma, no thousands separator")
            << qint64(493827) << qint64(4) << euros() << "123456,75";
    }
    void fixedPoint()
    {
        QFETCH(qint64, numerator);
        QFETCH(qint64, denominator);
        QFETCH(RegionalSettings, settings);
        QFETCH(QString, expected);
        QCOMPARE(quorvel::formatFixed(quotient(numerator, denominator), 8, 2, settings), expected);
    }

    void money_data()
    {
        QTest::addColumn<long double>("value");
        QTest::addColumn<RegionalSettings>("settings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("thousands and two decimals") << 48230.5L << dollars() << "$48,230.50";
        QTest::newRow("whole sum gets decimals") << 12345.0L << dollars() << "$12,345.00";
        QTest::newRow("zero") << 0.0L << dollars() << "$0.00";
        QTest::newRow("millions") << 1234567.0L << dollars() << "$1,234,567.00";
        QTest::newRow("negative in parentheses (0)") << -1234.5L << withNegative(0) << "($1,234.50)";
        QTest::newRow("negative minus after symbol with space (12)")
            << -1234.5L << withNegative(12) << "$ -1,234.50";
        QTest::newRow("european positive") << 1234567.891L << euros() << "1.234.567,89 €";
        QTest::newRow("european negative (8)") << -1234567.891L << euros() << "-1.234.567,89 €";
    }
    void money()
    {
        QFETCH(long double, value);
        QFETCH(RegionalSettings, settings);
        QFETCH(QString, expected);
        QCOMPARE(quorvel::formatMoney(value, settings), expected);
    }

    void moneyFieldText_data()
    {
        QTest::addColumn<std::optional<long double>>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("null is empty") << std::optional<long double>() << QString();
        QTest::newRow("value in currency format") << std::optional<long double>(30120.0L) << "$30,120.00";
        QTest::newRow("cut to 15 significant digits")
            << std::optional<long double>(123456789012345.67L) << "$123,456,789,012,346.00";
    }
    void moneyFieldText()
    {
        QFETCH(std::optional<long double>, value);
        QFETCH(QString, expected);
        QCOMPARE(quorvel::moneyFieldText(value, dollars()), expected);
    }

    void countsAndDates()
    {
        QCOMPARE(quorvel::formatCount(12345), QStringLiteral("12345"));
        QCOMPARE(quorvel::formatShortDate(QDate(2008, 3, 1), dollars()), QStringLiteral("01/03/2008"));
    }

    // Settings read from a locale write money as that locale writes it.
    void fromLocale_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortDate");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QChar>("thousands");
        QTest::addColumn<QChar>("decimal");
        QTest::newRow("en_GB") << "en_GB"
                               << "dd/MM/yyyy"
                               << "£" << QChar(u',') << QChar(u'.');
        QTest::newRow("de_DE") << "de_DE"
                               << "dd.MM.yy"
                               << "€" << QChar(u'.') << QChar(u',');
    }
    void fromLocale()
    {
        QFETCH(QString, name);
        QFETCH(QString, shortDate);
        QFETCH(QString, symbol);
        QFETCH(QChar, thousands);
        QFETCH(QChar, decimal);
        const QLocale locale(name);
        const RegionalSettings r = RegionalSettings::fromLocale(locale);
        QCOMPARE(r.shortDateFormat, shortDate);
        QCOMPARE(r.currencySymbol, symbol);
        QCOMPARE(r.thousandSeparator, thousands);
        QCOMPARE(r.decimalSeparator, decimal);
        QCOMPARE(r.currencyDecimals, 2);
        const auto plainSpaces = [](QString s) { return s.replace(QChar(0x00A0), u' '); };
        for (const double value : {1234.5, -1234.5})
            QCOMPARE(quorvel::formatMoney(value, r), plainSpaces(locale.toCurrencyString(value)));
    }

    void fromCLocaleIsUsable()
    {
        const RegionalSettings r = RegionalSettings::fromLocale(QLocale::c());
        QVERIFY(!r.shortDateFormat.isEmpty());
        QCOMPARE(quorvel::formatMoney(-1234.5L, r), QStringLiteral("-$1,234.50"));
    }
};

QTEST_GUILESS_MAIN(TestRegionalSettings)
#include "tst_regionalsettings.moc"
