// Laying a report out: band order, stretching paragraphs, pagination, size rules, print steps.
#include "CountedRows.h"
#include "platform/app/Error.h"
#include "platform/reporting/Generator.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QtTest>

using namespace quorvel;
using namespace quorvel::reporting;

namespace {

QFont arial(int points = 10, bool bold = false)
{
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    return font;
}

Element label(const QString& name, double left, double top, double width, const QString& caption,
              Element::SizeRule rule = Element::AutoSize, Qt::Alignment align = Qt::AlignLeft)
{
    Element e;
    e.name = name;
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = 4.50;
    e.caption = caption;
    e.font = arial();
    e.sizeRule = rule;
    e.alignment = align;
    return e;
}

// A report shaped like the statistics report: two stretching paragraphs in the title band,
// a detail band below and an empty footer.
struct Fixture {
    test::CountedRows rows{1};
    Report report;
    Fixture(const QString& first, const QString& second)
    {
        report.dataset = &rows;
        Band title{QStringLiteral("TitleBand1"), Band::Title, 87.31, {}};
        title.elements << label(QStringLiteral("Heading"), 2.91, 6.61, 86.78, QStringLiteral("Report heading"))
                       << label(QStringLiteral("Para1"), 2.91, 37.31, 178.59, first, Element::FixedStretch)
                       << label(QStringLiteral("Para2"), 2.91, 64.82, 177.80, second, Element::FixedStretch);
        Band detail{QStringLiteral("DetailBand1"), Band::Detail, 42.60, {}};
        detail.elements << label(QStringLiteral("Figure"), 2.91, 6.09, 34.40, QStringLiteral("Number of treatments:"));
        Band footer{QStringLiteral("PageFooterBand1"), Band::PageFooter, 10.58, {}};
        report.bands << detail << footer << title; // defined out of order on purpose
    }
    PageStore generate()
    {
        PageStore store;
        reporting::generate(report, store, paperMetrics());
        return store;
    }
};

QString lines(int n, const QString& word = QStringLiteral("line"))
{
    QStringList parts;
    for (int i = 0; i < n; ++i)
        parts << word + QString::number(i + 1);
    return parts.join(QLatin1Char('\n'));
}

const PageItem* box(const Page& page, const QString& element)
{
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Box && item.element == element)
            return &item;
    return nullptr;
}

double lineHeight(const Page& page, const QString& element)
{
    const auto texts = page.texts(element);
    return texts.size() > 1 ? texts[1].rect.top() - texts[0].rect.top() : texts.value(0).rect.height();
}

} // namespace

class GeneratorTest : public QObject {
    Q_OBJECT
private slots:
    void arialIsLiberationSans() { QCOMPARE(QFontInfo(arial()).family(), QStringLiteral("Liberation Sans")); }

    void titleBandGrowth_data()
    {
        QTest::addColumn<int>("firstLines");
        QTest::addColumn<int>("secondLines");
        QTest::addColumn<int>("growthInLines");
        QTest::newRow("3 and 2 lines grow by two") << 3 << 2 << 2;
        QTest::newRow("2 and 2 lines grow by two") << 2 << 2 << 2;
        QTest::newRow("1 and 1 line do not grow") << 1 << 1 << 0;
        QTest::newRow("2 and 1 lines grow by one") << 2 << 1 << 1;
        QTest::newRow("1 and 3 lines grow by two") << 1 << 3 << 2;
        QTest::newRow("4 and 4 lines grow by three: the second fits in the first one's growth") << 4 << 4 << 3;
    }

    void titleBandGrowth()
    {
        QFETCH(int, firstLines);
        QFETCH(int, secondLines);
        QFETCH(int, growthInLines);
        Fixture f(lines(firstLines), lines(secondLines));
        const PageStore store = f.generate();
        QCOMPARE(store.pageCount(), 1);
        const Page& page = store.pages[0];
        QCOMPARE(page.texts(QStringLiteral("Para1")).size(), firstLines);
        QCOMPARE(page.texts(QStringLiteral("Para2")).size(), secondLines);
        const double lh = lineHeight(page, QStringLiteral("Para1"));
        QVERIFY(lh > 3 && lh < 6);
        const double growth = growthInLines * lh;
        QVERIFY(qAbs(box(page, QStringLiteral("TitleBand1"))->rect.height() - (87.31 + growth)) < 1e-6);
        // The detail band prints lower by the growth; elements of the title band keep their places.
        QVERIFY(qAbs(box(page, QStringLiteral("DetailBand1"))->rect.top() - (10 + 87.31 + growth)) < 1e-6);
        QVERIFY(qAbs(page.texts(QStringLiteral("Figure"))[0].rect.top() - (10 + 87.31 + growth + 6.09)) < 1e-6);
        QVERIFY(qAbs(page.texts(QStringLiteral("Para2"))[0].rect.top() - (10 + 64.82)) < 1e-6);
        QVERIFY(qAbs(box(page, QStringLiteral("PageFooterBand1"))->rect.top() - 276.42) < 1e-6);
    }

    void wrapsAtWordsWithinTheWidth()
    {
        const QString sentence = QStringLiteral("During this period, this clinic performed a total of 1250 treatments. ")
                                     .repeated(4);
        Fixture f(sentence, QStringLiteral("short"));
        const Page page = f.generate().pages[0];
        const auto texts = page.texts(QStringLiteral("Para1"));
        QVERIFY(texts.size() >= 2);
        QStringList joined;
        for (const auto& t : texts) {
            QVERIFY(!t.text.startsWith(QLatin1Char(' ')));
            QVERIFY(!t.text.endsWith(QLatin1Char(' ')));
            joined << t.text;
        }
        QCOMPARE(joined.join(QLatin1Char(' ')), sentence.trimmed());
    }

    void longParagraphPushesDetailToSecondPage()
    {
        // 40 lines of ~4 mm fit in the title band's page; the detail band does not.
        Fixture f(lines(40), QStringLiteral("one line"));
        const PageStore store = f.generate();
        QCOMPARE(store.pageCount(), 2);
        QVERIFY(box(store.pages[0], QStringLiteral("TitleBand1")));
        QVERIFY(!box(store.pages[1], QStringLiteral("TitleBand1")));
        QVERIFY(!box(store.pages[0], QStringLiteral("DetailBand1")));
        QVERIFY(qAbs(box(store.pages[1], QStringLiteral("DetailBand1"))->rect.top() - 10) < 1e-6);
        for (const Page& page : store.pages)
            QVERIFY(qAbs(box(page, QStringLiteral("PageFooterBand1"))->rect.top() - 276.42) < 1e-6);
        QCOMPARE(store.pages[0].texts(QStringLiteral("Para1")).size(), 40);
    }

    void unfinishedParagraphContinuesOnNextPage()
    {
        Fixture f(lines(90), lines(3, QStringLiteral("second")));
        const PageStore store = f.generate();
        QVERIFY(store.pageCount() >= 2);
        const auto first = store.pages[0].texts(QStringLiteral("Para1"));
        const auto rest = store.pages[1].texts(QStringLiteral("Para1"));
        QCOMPARE(first.size() + rest.size(), 90);
        QCOMPARE(rest.value(0).text, QStringLiteral("line%1").arg(first.size() + 1));
        for (const auto& line : first)
            QVERIFY(line.rect.bottom() <= 276.42 + 1e-6);
        // The continuation starts at the label's own place in the band at the top of the page.
        QVERIFY(qAbs(rest[0].rect.top() - (10 + 37.31)) < 1e-6);
        QVERIFY(!store.pages[1].texts(QStringLiteral("Heading")).size());
        QVERIFY(box(store.pages.last(), QStringLiteral("DetailBand1")));
    }

    void sizeRules()
    {
        test::CountedRows rows(1);
        Report report;
        report.dataset = &rows;
        Band detail{QStringLiteral("Detail"), Band::Detail, 42.6, {}};
        detail.elements << label(QStringLiteral("Auto"), 2.91, 6.09, 11.11, QStringLiteral("Period: 01/03/2008 to 31/03/2008"))
                        << label(QStringLiteral("Money"), 41.28, 30.43, 18.52, QStringLiteral("1.234.567,89 EUR"),
                                 Element::Fixed, Qt::AlignRight);
        report.bands << detail;
        PageStore store;
        generate(report, store, paperMetrics());
        const Page& page = store.pages[0];
        const auto autoText = page.texts(QStringLiteral("Auto"));
        QCOMPARE(autoText.size(), 1);
        QCOMPARE(autoText[0].text, QStringLiteral("Period: 01/03/2008 to 31/03/2008"));
        QVERIFY(box(page, QStringLiteral("Auto"))->rect.width() > 11.11 * 3); // widened to the right
        QCOMPARE(box(page, QStringLiteral("Auto"))->rect.left(), 10 + 2.91);
        const auto money = page.texts(QStringLiteral("Money"));
        QCOMPARE(money.size(), 1); // only the first wrapped line fits the box
        QCOMPARE(money[0].text, QStringLiteral("1.234.567,89"));
        QCOMPARE(money[0].alignment, Qt::Alignment(Qt::AlignRight));
        QVERIFY(qAbs(money[0].rect.right() - (10 + 41.28 + 18.52)) < 1e-6);
    }

    void printStepsRunEachGenerationAndCaptionsStay()
    {
        Fixture f(QStringLiteral("x"), QStringLiteral("y"));
        int runs = 0;
        int beforePrints = 0;
        f.report.beforePrint = [&](bool&) { ++beforePrints; };
        Element& heading = f.report.bands[2].elements[0];
        heading.onPrint = [&](QString& value) {
            ++runs;
            value = value + QStringLiteral(" #") + QString::number(runs);
        };
        QCOMPARE(f.generate().pages[0].texts(QStringLiteral("Heading"))[0].text, QStringLiteral("Report heading #1"));
        QCOMPARE(f.generate().pages[0].texts(QStringLiteral("Heading"))[0].text, QStringLiteral("Report heading #2"));
        QCOMPARE(heading.caption, QStringLiteral("Report heading"));
        QCOMPARE(beforePrints, 2);
    }

    void beforePrintCanStopTheReport()
    {
        Fixture f(QStringLiteral("x"), QStringLiteral("y"));
        f.report.beforePrint = [](bool& print) { print = false; };
        QCOMPARE(f.generate().pageCount(), 0);
    }

    void failingPrintStepKeepsWhatWasDrawn()
    {
        Fixture f(QStringLiteral("x"), QStringLiteral("y"));
        f.report.bands[2].elements[2].onPrint = [](QString&) { throw Error(QStringLiteral("Division by zero")); };
        PageStore store;
        try {
            generate(f.report, store, paperMetrics());
            QFAIL("the failure did not pass out");
        } catch (const Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Division by zero"));
        }
        QCOMPARE(store.pageCount(), 1);
        QCOMPARE(store.pages[0].texts(QStringLiteral("Para1")).size(), 1);
        QVERIFY(store.pages[0].texts(QStringLiteral("Para2")).isEmpty());
        QVERIFY(!box(store.pages[0], QStringLiteral("DetailBand1")));
    }

    void failingDataTextPrintsEmpty()
    {
        Fixture f(QStringLiteral("x"), QStringLiteral("y"));
        Element data = label(QStringLiteral("Data"), 41.28, 6.09, 18.52, {}, Element::Fixed, Qt::AlignRight);
        data.kind = Element::DataText;
        data.dataText = []() -> QString { throw Error(QStringLiteral("no such field")); };
        f.report.bands[0].elements << data;
        const Page page = f.generate().pages[0];
        QCOMPARE(page.texts(QStringLiteral("Data")).value(0).text, QString());
    }

    void detailPrintsOncePerRowAndOnceWhenEmpty_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("printIfEmpty");
        QTest::addColumn<int>("details");
        QTest::newRow("one row") << 1 << true << 1;
        QTest::newRow("three rows") << 3 << true << 3;
        QTest::newRow("no row, print if empty") << 0 << true << 1;
        QTest::newRow("no row, not if empty") << 0 << false << 0;
    }

    void detailPrintsOncePerRowAndOnceWhenEmpty()
    {
        QFETCH(int, rows);
        QFETCH(bool, printIfEmpty);
        QFETCH(int, details);
        Fixture f(QStringLiteral("x"), QStringLiteral("y"));
        test::CountedRows data(rows);
        f.report.dataset = &data;
        f.report.printIfEmpty = printIfEmpty;
        const Page page = f.generate().pages[0];
        QCOMPARE(page.texts(QStringLiteral("Figure")).size(), details);
    }
};

QTEST_MAIN(GeneratorTest)
#include "tst_generator.moc"
