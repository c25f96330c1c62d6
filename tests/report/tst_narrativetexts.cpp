#include "report/NarrativeTexts.h"

#include <QHash>
#include <QtTest>

#include <functional>

using namespace quorvel;

Q_DECLARE_METATYPE(RegionalSettings)
Q_DECLARE_METATYPE(PracticeRow)
Q_DECLARE_METATYPE(StatisticsRow)

namespace {

// The settings of the report's worked example: "dd/MM/yyyy", "$" before the amount with no
// space, two decimals, ',' and '.'; a negative amount as "-$1".
RegionalSettings dollars()
{
    return RegionalSettings{QStringLiteral("dd/MM/yyyy"), QStringLiteral("$"), 0, 1, 2, u',', u'.'};
}

RegionalSettings withNegative(int pattern)
{
    RegionalSettings r = dollars();
    r.negativeCurrencyFormat = pattern;
    return r;
}

// The symbol after the amount with a space, '.' for thousands and ',' for decimals.
RegionalSettings euros()
{
    return RegionalSettings{QStringLiteral("dd.MM.yyyy"), QStringLiteral("€"), 3, 8, 2, u'.', u','};
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
    // The worked example, each text as printed with its spaces written as '·'.
    void workedExample_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("printed");
        QTest::newRow("QRLabel11 period line") << "QRLabel11"
                                               << "Period: 01/03/2008 to 31/03/2008";
        QTest::newRow("QRLabel12 whole-practice paragraph")
            << "QRLabel12"
            << "During this period, this clinic performed a total of 1250 treatments. These came to the "
               "value of $48,230.50. Out of this number there were 830 treatments (for ALL insurance "
               "companies) and they were valued at $30,120.00. This represents a percentage of ···66.40·%";
        QTest::newRow("QRLabel13 selection paragraph")
            << "QRLabel13"
            << "Report specific details for Alpha Health Beta Care·. This selection represents ···24.96% of "
               "your total number of treatments.";
        QTest::newRow("QRLabel15 average of the companies") << "QRLabel15"
                                                            << "····2.23";
        QTest::newRow("QRLabel17 average of GP referrals") << "QRLabel17"
                                                           << "····2.40";
        QTest::newRow("QRLabel19 average of consultant referrals, no patients") << "QRLabel19"
                                                                                << "";
    }
    void workedExample()
    {
        QFETCH(QString, label);
        QFETCH(QString, printed);
        const RegionalSettings settings = dollars();
        // "any time of day"
        const QDateTime periodStart(QDate(2008, 3, 1), QTime(8, 30));
        const QDateTime periodEnd(QDate(2008, 3, 31), QTime(17, 45, 10));
        const QString companyNames = QStringLiteral("Alpha Health Beta Care ");
        const PracticeRow query4{1250, 48230.5L, 830, 30120.0L};
        const StatisticsRow query1{312, 12000.0L, 140};
        const StatisticsRow query2{96, 3500.0L, 40};
        const StatisticsRow query3{0, std::nullopt, 0};
        const QHash<QString, std::function<QString()>> printSteps{
            {"QRLabel11", [&] { return quorvel::periodLine(periodStart, periodEnd, settings); }},
            {"QRLabel12", [&] { return quorvel::practiceParagraph(query4, settings); }},
            {"QRLabel13",
             [&] { return quorvel::selectionParagraph(companyNames, query1.num, query4, settings); }},
            {"QRLabel15", [&] { return quorvel::averageText(query1, settings); }},
            {"QRLabel17", [&] { return quorvel::averageText(query2, settings); }},
            {"QRLabel19", [&] { return quorvel::averageText(query3, settings); }},
        };
        QVERIFY(printSteps.contains(label));
        QCOMPARE(printSteps.value(label)(), printed.replace(u'·', u' '));
    }

    void periodLine_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<RegionalSettings>("settings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole days across a year's end")
            << QDateTime(QDate(2008, 12, 31), QTime(0, 0)) << QDateTime(QDate(2009, 1, 1), QTime(0, 0))
            << dollars() << "Period: 31/12/2008 to 01/01/2009";
        QTest::newRow("times of day are not shown")
            << QDateTime(QDate(2008, 3, 1), QTime(23, 59, 59)) << QDateTime(QDate(2008, 3, 31), QTime(12, 30))
            << dollars() << "Period: 01/03/2008 to 31/03/2008";
        QTest::newRow("dates in another format")
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
        QTest::newRow("negative value, minus before the symbol")
            << practice(3, -1234.5L, 1, 10.0L) << dollars()
            << practiceText("3", "-$1,234.50", "1", "$10.00", "   33.33 %");
        QTest::newRow("negative value in parentheses")
            << practice(3, 10.0L, 1, -0.005L) << withNegative(0)
            << practiceText("3", "$10.00", "1", "($0.01)", "   33.33 %");
        QTest::newRow("half of a hundredth rounds away from zero")
            << practice(8, 1.0L, 5, 0.625L) << dollars()
            << practiceText("8", "$1.00", "5", "$0.63", "   62.50 %");
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
