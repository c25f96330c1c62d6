#include "report/NarrativeTexts.h"

#include <QtTest>

using namespace quorvel;

Q_DECLARE_METATYPE(RegionalSettings)
Q_DECLARE_METATYPE(PracticeRow)
Q_DECLARE_METATYPE(StatisticsRow)

namespace {

// The report's worked example: "dd/MM/yyyy", "$" before with no space, two decimals, ',' and '.'.
RegionalSettings dollars()
{
    RegionalSettings r;
    r.shortDateFormat = QStringLiteral("dd/MM/yyyy");
    r.currencySymbol = QStringLiteral("$");
    return r;
}

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

PracticeRow practice(qint64 num, std::optional<long double> valueAll, qint64 numIns,
                     std::optional<long double> valueIns)
{
    return PracticeRow{num, valueAll, numIns, valueIns};
}

QString practiceText(const QString& num, const QString& valueAll, const QString& numIns,
                     const QString& valueIns, const QString& percentage)
{
    return "During this period, this clinic performed a total of " + num +
           " treatments. These came to the value of " + valueAll + ". Out of this number there were " +
           numIns + " treatments (for ALL insurance companies) and they were valued at " + valueIns +
           ". This represents a percentage of " + percentage;
}

} // namespace

class TestNarrativeTexts : public QObject {
    Q_OBJECT

private slots:
    void periodLine_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<RegionalSettings>("settings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole dates") << QDateTime(QDate(2008, 3, 1), QTime(0, 0))
                                     << QDateTime(QDate(2008, 3, 31), QTime(0, 0)) << dollars()
                                     << "Period: 01/03/2008 to 31/03/2008";
        QTest::newRow("times of day are not shown")
            << QDateTime(QDate(2008, 3, 1), QTime(23, 59, 59)) << QDateTime(QDate(2008, 3, 31), QTime(12, 30))
            << dollars() << "Period: 01/03/2008 to 31/03/2008";
        QTest::newRow("european date format")
            << QDateTime(QDate(2008, 3, 1), QTime(0, 0)) << QDateTime(QDate(2008, 3, 31), QTime(0, 0))
            << euros() << "Period: 01.03.2008 to 31.03.2008";
    }
    void periodLine()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QFETCH(RegionalSettings, settings);
        QFETCH(QString, expected);
        QCOMPARE(quorvel::periodLine(start, end, settings), expected);
    }

    void practiceParagraph_data()
    {
        QTest::addColumn<PracticeRow>("row");
        QTest::addColumn<RegionalSettings>("settings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("worked example")
            << practice(1250, 48230.5L, 830, 30120.0L) << dollars()
            << practiceText("1250", "$48,230.50", "830", "$30,120.00", "   66.40 %");
        QTest::newRow("all insurance is 100 percent")
            << practice(40, 500.0L, 40, 500.0L) << dollars()
            << practiceText("40", "$500.00", "40", "$500.00", "  100.00 %");
        QTest::newRow("count 12345 without separator, sum 12345 with")
            << practice(12345, 12345.0L, 0, 0.0L) << dollars()
            << practiceText("12345", "$12,345.00", "0", "$0.00", "    0.00 %");
        QTest::newRow("null insurance sum reads as zero")
            << practice(10, 100.0L, 0, std::nullopt) << dollars()
            << practiceText("10", "$100.00", "0", "$0.00", "    0.00 %");
        QTest::newRow("no treatments in the period")
            << practice(0, std::nullopt, 0, std::nullopt) << dollars()
            << practiceText("0", "$0.00", "0", "$0.00", "    0.00 %");
        QTest::newRow("negative value, minus before")
            << practice(3, -1234.5L, 1, 10.0L) << dollars()
            << practiceText("3", "-$1,234.50", "1", "$10.00", "   33.33 %");
        QTest::newRow("european settings")
            << practice(1250, 48230.5L, 830, 30120.0L) << euros()
            << practiceText("1250", "48.230,50 €", "830", "30.120,00 €", "   66,40 %");
    }
    void practiceParagraph()
    {
        QFETCH(PracticeRow, row);
        QFETCH(RegionalSettings, settings);
        QFETCH(QString, expected);
        QCOMPARE(quorvel::practiceParagraph(row, settings), expected);
    }

    void selectionParagraph_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<qint64>("selected");
        QTest::addColumn<qint64>("practiceNum");
        QTest::addColumn<QString>("expected");
        QTest::newRow("worked example, two companies")
            << "Alpha Health Beta Care " << qint64(312) << qint64(1250)
            << "Report specific details for Alpha Health Beta Care . This selection represents    24.96% of "
               "your total number of treatments.";
        QTest::newRow("single company keeps its space before the full stop")
            << "Alpha Health " << qint64(1250) << qint64(1250)
            << "Report specific details for Alpha Health . This selection represents   100.00% of your total "
               "number of treatments.";
        QTest::newRow("no treatments in the period")
            << "Alpha Health " << qint64(0) << qint64(0)
            << "Report specific details for Alpha Health . This selection represents     0.00% of your total "
               "number of treatments.";
    }
    void selectionParagraph()
    {
        QFETCH(QString, names);
        QFETCH(qint64, selected);
        QFETCH(qint64, practiceNum);
        QFETCH(QString, expected);
        QCOMPARE(
            quorvel::selectionParagraph(names, selected, practice(practiceNum, 0.0L, 0, 0.0L), dollars()),
            expected);
    }

    void averageText_data()
    {
        QTest::addColumn<StatisticsRow>("row");
        QTest::addColumn<RegionalSettings>("settings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("group 1 of the example")
            << StatisticsRow{312, 1000.0L, 140} << dollars() << "    2.23";
        QTest::newRow("group 2 of the example")
            << StatisticsRow{96, std::nullopt, 40} << dollars() << "    2.40";
        QTest::newRow("no patients, no treatments") << StatisticsRow{0, std::nullopt, 0} << dollars() << "";
        QTest::newRow("no patients, some treatments") << StatisticsRow{7, 70.0L, 0} << dollars() << "";
        QTest::newRow("5/8 exact half rounds up")
            << StatisticsRow{5, std::nullopt, 8} << dollars() << "    0.63";
        QTest::newRow("107/40 inexact half rounds up")
            << StatisticsRow{107, std::nullopt, 40} << dollars() << "    2.68";
        QTest::newRow("wider than eight characters")
            << StatisticsRow{493827, std::nullopt, 4} << dollars() << "123456.75";
        QTest::newRow("european decimal comma")
            << StatisticsRow{312, std::nullopt, 140} << euros() << "    2,23";
    }
    void averageText()
    {
        QFETCH(StatisticsRow, row);
        QFETCH(RegionalSettings, settings);
        QFETCH(QString, expected);
        QCOMPARE(quorvel::averageText(row, settings), expected);
    }
};

QTEST_GUILESS_MAIN(TestNarrativeTexts)
#include "tst_narrativetexts.moc"
