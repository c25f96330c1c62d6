#include "platform/regional/RegionalSettings.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProcess>
#include <QtTest>

#include <cstdio>

using quorvel::RegionalSettings;

Q_DECLARE_METATYPE(RegionalSettings)

namespace quorvel {
// Readable failures when whole settings are compared.
char* toString(const RegionalSettings& r)
{
    const QString text =
        QStringLiteral("{date \"%1\", symbol \"%2\", positive %3, negative %4, decimals %5, thousands U+%6, "
                       "decimal U+%7}")
            .arg(r.shortDateFormat, r.currencySymbol)
            .arg(r.positiveCurrencyFormat)
            .arg(r.negativeCurrencyFormat)
            .arg(r.currencyDecimals)
            .arg(r.thousandSeparator.unicode(), 4, 16, QChar(u'0'))
            .arg(r.decimalSeparator.unicode(), 4, 16, QChar(u'0'));
    return qstrdup(text.toUtf8().constData());
}
} // namespace quorvel

namespace {

// Given as the only argument, the test program prints fromSystem() for its own environment
// and exits: Qt reads the locale environment once per process, so each environment needs a
// process of its own.
constexpr char printSystemSettings[] = "--print-system-settings";

QString serialised(const RegionalSettings& r)
{
    return QStringLiteral("%1\n%2\n%3\n%4\n%5\n%6\n%7\n")
        .arg(r.shortDateFormat, r.currencySymbol)
        .arg(r.positiveCurrencyFormat)
        .arg(r.negativeCurrencyFormat)
        .arg(r.currencyDecimals)
        .arg(QString(r.thousandSeparator), QString(r.decimalSeparator));
}

RegionalSettings deserialised(const QString& text)
{
    const QStringList lines = text.split(u'\n');
    if (lines.size() < 7 || lines[5].size() != 1 || lines[6].size() != 1)
        return RegionalSettings{.shortDateFormat = QStringLiteral("unreadable: ") + text};
    return RegionalSettings{lines[0],         lines[1],         lines[2].toInt(), lines[3].toInt(),
                            lines[4].toInt(), lines[5].front(), lines[6].front()};
}

// "$" before the amount with no space, "-$1" when negative, two decimals, ',' and '.'.
RegionalSettings dollars()
{
    return RegionalSettings{QStringLiteral("dd/MM/yyyy"), QStringLiteral("$"), 0, 1, 2, u',', u'.'};
}

// The symbol after the amount with a space, '.' for thousands and ',' for decimals.
RegionalSettings euros()
{
    return RegionalSettings{QStringLiteral("dd.MM.yyyy"), QStringLiteral("€"), 3, 8, 2, u'.', u','};
}

RegionalSettings withNegative(int pattern)
{
    RegionalSettings r = dollars();
    r.negativeCurrencyFormat = pattern;
    return r;
}

RegionalSettings withDecimals(int decimals)
{
    RegionalSettings r = dollars();
    r.currencyDecimals = decimals;
    return r;
}

RegionalSettings withoutGrouping()
{
    RegionalSettings r = dollars();
    r.thousandSeparator = QChar();
    return r;
}

long double quotient(qint64 a, qint64 b)
{
    return static_cast<long double>(a) / static_cast<long double>(b);
}

// Spaces of every kind as plain spaces, for comparing with how Qt writes money.
QString plainSpaces(QString text)
{
    return text.replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' ');
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
        QTest::newRow("below the last decimal's half 1/300")
            << qint64(1) << qint64(300) << dollars() << "    0.00";
        QTest::newRow("half of the last decimal 1/200")
            << qint64(1) << qint64(200) << dollars() << "    0.01";
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
        QTest::newRow("exact half rounds away from zero") << quotient(5, 8) << dollars() << "$0.63";
        QTest::newRow("inexact half 2.675 rounds up") << quotient(107, 40) << dollars() << "$2.68";
        QTest::newRow("rounding carries into a new group") << 999999.995L << dollars() << "$1,000,000.00";
        QTest::newRow("tiny negative rounds to zero, positive pattern") << -0.001L << dollars() << "$0.00";
        QTest::newRow("negative, minus before symbol (1)") << -1234.5L << dollars() << "-$1,234.50";
        QTest::newRow("negative in parentheses (0)") << -1234.5L << withNegative(0) << "($1,234.50)";
        QTest::newRow("negative, minus after symbol with space (12)")
            << -1234.5L << withNegative(12) << "$ -1,234.50";
        QTest::newRow("negative, trailing minus after space (10)")
            << -0.625L << withNegative(10) << "0.63 $-";
        QTest::newRow("no decimals") << 1234.5L << withDecimals(0) << "$1,235";
        QTest::newRow("three decimals") << 1.0005L << withDecimals(3) << "$1.001";
        QTest::newRow("no thousands separator") << 1234567.0L << withoutGrouping() << "$1234567.00";
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
        QTest::newRow("zero is not empty") << std::optional<long double>(0.0L) << "$0.00";
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
        QCOMPARE(quorvel::formatCount(-7), QStringLiteral("-7"));
        QCOMPARE(quorvel::formatShortDate(QDate(2008, 3, 1), dollars()), QStringLiteral("01/03/2008"));
        QCOMPARE(quorvel::formatShortDate(QDate(2008, 3, 1), euros()), QStringLiteral("01.03.2008"));
    }

    // Settings read from a locale write money as that locale writes it.
    void fromLocale_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<RegionalSettings>("expected");
        QTest::newRow("en_GB") << "en_GB"
                               << RegionalSettings{
                                      QStringLiteral("dd/MM/yyyy"), QStringLiteral("£"), 0, 0, 2, u',', u'.'};
        QTest::newRow("de_DE, symbol after with space")
            << "de_DE"
            << RegionalSettings{QStringLiteral("dd.MM.yy"), QStringLiteral("€"), 3, 8, 2, u'.', u','};
        QTest::newRow("fr_FR, narrow space groups")
            << "fr_FR"
            << RegionalSettings{
                   QStringLiteral("dd/MM/yyyy"), QStringLiteral("€"), 3, 15, 2, QChar(0x202F), u','};
        QTest::newRow("ja_JP, no decimals")
            << "ja_JP"
            << RegionalSettings{QStringLiteral("yyyy/MM/dd"), QStringLiteral("￥"), 0, 0, 0, u',', u'.'};
        QTest::newRow("pt_BR, two-letter symbol, minus after it")
            << "pt_BR"
            << RegionalSettings{QStringLiteral("dd/MM/yyyy"), QStringLiteral("R$"), 2, 12, 2, u'.', u','};
        QTest::newRow("ar_EG, digits of its own")
            << "ar_EG" << RegionalSettings{QStringLiteral("d\u200F/M\u200F/yyyy"),
                                           QStringLiteral("ج.م.\u200F"),
                                           3,
                                           8,
                                           2,
                                           QChar(0x066C),
                                           QChar(0x066B)};
    }
    void fromLocale()
    {
        QFETCH(QString, name);
        QFETCH(RegionalSettings, expected);
        const QLocale locale(name);
        const RegionalSettings r = RegionalSettings::fromLocale(locale);
        QCOMPARE(r, expected);
        if (locale.zeroDigit() == QStringLiteral("0")) {
            for (const double value : {1234.5, -1234.5})
                QCOMPARE(plainSpaces(quorvel::formatMoney(value, r)),
                         plainSpaces(locale.toCurrencyString(value)));
        }
    }

    // Qt writes C dates "d MMM yyyy" and names no currency: the report gets the defaults.
    void cLocaleGivesTheDefaults()
    {
        QCOMPARE(RegionalSettings{}, dollars());
        QCOMPARE(RegionalSettings::fromLocale(QLocale::c()), dollars());
    }

    // Each case runs this program again with only the given locale variables set.
    void fromSystem_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<RegionalSettings>("expected");
        const RegionalSettings germany = RegionalSettings::fromLocale(QLocale(QStringLiteral("de_DE")));
        QTest::newRow("LANG alone") << QStringList{"LANG=de_DE.UTF-8"} << germany;
        QTest::newRow("LC_ALL over LANG and the categories")
            << QStringList{"LANG=en_GB.UTF-8", "LC_TIME=fr_FR.UTF-8", "LC_NUMERIC=fr_FR.UTF-8",
                           "LC_MONETARY=ja_JP.UTF-8", "LC_ALL=de_DE.UTF-8"}
            << germany;
        QTest::newRow("each category from its own variable")
            << QStringList{"LANG=en_GB.UTF-8", "LC_TIME=de_DE.UTF-8", "LC_NUMERIC=fr_FR.UTF-8",
                           "LC_MONETARY=ja_JP.UTF-8"}
            << RegionalSettings{
                   QStringLiteral("dd.MM.yy"), QStringLiteral("￥"), 0, 0, 0, QChar(0x202F), u','};
        QTest::newRow("money placed as LC_MONETARY places it")
            << QStringList{"LANG=en_GB.UTF-8", "LC_MONETARY=de_DE.UTF-8"}
            << RegionalSettings{QStringLiteral("dd/MM/yyyy"), QStringLiteral("€"), 3, 8, 2, u',', u'.'};
        QTest::newRow("C.UTF-8 with a monetary locale")
            << QStringList{"LANG=C.UTF-8", "LC_MONETARY=en_GB.UTF-8"}
            << RegionalSettings{QStringLiteral("dd/MM/yyyy"), QStringLiteral("£"), 0, 0, 2, u',', u'.'};
        QTest::newRow("LC_ALL=C") << QStringList{"LANG=de_DE.UTF-8", "LC_ALL=C"} << dollars();
        QTest::newRow("LANG=POSIX") << QStringList{"LANG=POSIX"} << dollars();
        QTest::newRow("no locale variable at all") << QStringList{} << dollars();
    }
    void fromSystem()
    {
        QFETCH(QStringList, environment);
        QFETCH(RegionalSettings, expected);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& name : env.keys())
            if (name == u"LANG" || name == u"LANGUAGE" || name.startsWith(u"LC_"))
                env.remove(name);
        for (const QString& assignment : environment)
            env.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
        QProcess helper;
        helper.setProcessEnvironment(env);
        helper.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(printSystemSettings)});
        QVERIFY2(helper.waitForFinished(-1), qPrintable(helper.errorString()));
        QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.exitCode(), 0);
        QCOMPARE(deserialised(QString::fromUtf8(helper.readAllStandardOutput())), expected);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], printSystemSettings) == 0) {
        const QByteArray text = serialised(RegionalSettings::fromSystem()).toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }
    TestRegionalSettings test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_regionalsettings.moc"
