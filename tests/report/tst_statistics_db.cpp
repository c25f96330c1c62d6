// The four statistics queries of the report holder against the tiny practice database,
// whose figures are worked out by hand in fixtures/TinyPractice.h.
#include "../fixtures/TinyPractice.h"
#include "TestSupport.h"
#include "platform/app/Error.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"
#include "report/TfrmReport.h"

#include <QtTest>

using namespace quorvel;
namespace tiny = quorvel::fixtures::tiny;

namespace {

QString text(std::string_view bytes) { return QString::fromLatin1(bytes.data(), qsizetype(bytes.size())); }

QDateTime at(tiny::Date d, QTime time = QTime(0, 0)) { return QDateTime(QDate(d.year, d.month, d.day), time); }

void compareSelection(fb::Query& q, const tiny::SelectionFigures& expected)
{
    QVERIFY(q.isOpen());
    QCOMPARE(q.recordCount() >= 1 || !q.eof(), true);
    QCOMPARE(q.fieldByName(QStringLiteral("NUM")).asInteger(), expected.num);
    QCOMPARE(q.fieldByName(QStringLiteral("NUMACCOUNTS")).asInteger(), expected.numAccounts);
    const fb::Field& sum = q.fieldByName(QStringLiteral("SUBTOTAL"));
    QCOMPARE(sum.isNull(), !expected.subtotalCents.has_value());
    if (expected.subtotalCents)
        QCOMPARE(qint64(std::llround(sum.asFloat() * 100)), *expected.subtotalCents);
    else
        QCOMPARE(double(sum.asFloat()), 0.0);
}

} // namespace

class StatisticsTest : public QObject {
    Q_OBJECT
    QString path_;
    fb::Database db_;

    void select(TfrmReport& holder, const tiny::PeriodFigures& period)
    {
        holder.CompanyInList = text(tiny::companyInList);
        holder.GPInList = text(tiny::gpInList);
        holder.ConsultantInList = text(tiny::consultantInList);
        holder.PeriodStart = at(period.start);
        holder.PeriodEnd = at(period.end);
    }

private slots:
    void initTestCase()
    {
        path_ = test::makePracticeDatabase(QStringLiteral("statistics-tiny.fdb"));
        db_.setDatabaseName(test::localDatabase(path_));
        db_.setParam(QStringLiteral("user_name"), test::firebirdUser());
        db_.setParam(QStringLiteral("password"), test::firebirdPassword());
        db_.open();
    }

    void figures_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("a quarter, treatments on both bounds") << 0;
        QTest::newRow("start equal to end") << 1;
    }

    void figures()
    {
        QFETCH(int, which);
        const tiny::PeriodFigures& period = which == 0 ? tiny::quarter : tiny::newYearsDay;
        test::FakeSeams fakes;
        fakes.cursor.setHourglass();
        TfrmReport holder(db_);
        select(holder, period);
        bool print = true;
        holder.QuickRep1BeforePrint(print);
        QVERIFY(print);
        QVERIFY(!fakes.cursor.hourglass); // the queries run under the default pointer
        compareSelection(*holder.IBQuery1, period.company);
        compareSelection(*holder.IBQuery2, period.gp);
        compareSelection(*holder.IBQuery3, period.consultant);
        QCOMPARE(holder.IBQuery4NUM().asInteger(), period.practice.num);
        QCOMPARE(holder.IBQuery4NUMINS().asInteger(), period.practice.numIns);
        QCOMPARE(qint64(std::llround(holder.IBQuery4VALUEALL().asFloat() * 100)),
                 period.practice.valueAllCents.value_or(0));
        QCOMPARE(qint64(std::llround(holder.IBQuery4VALUEINS().asFloat() * 100)),
                 period.practice.valueInsCents.value_or(0));
    }

    void periodTimeOfDayIsMidnight()
    {
        // The bounds travel as timestamps at midnight: a treatment dated on the end day counts.
        test::FakeSeams fakes;
        TfrmReport holder(db_);
        select(holder, tiny::quarter);
        bool print = true;
        holder.QuickRep1BeforePrint(print);
        QCOMPARE(holder.IBQuery1->param(1).value().toDateTime(), at(tiny::quarter.end));
        QCOMPARE(holder.IBQuery4->paramByName(QStringLiteral("DATE2")).value().toDateTime(), at(tiny::quarter.end));
    }

    void secondRunRestartsTheSelectionTransactionsAndKeepsThePracticeOne()
    {
        test::FakeSeams fakes;
        TfrmReport holder(db_);
        select(holder, tiny::quarter);
        bool print = true;
        holder.QuickRep1BeforePrint(print);
        QVERIFY(holder.querytrans->inTransaction());
        QVERIFY(holder.IBTransaction3->inTransaction());

        // Another user adds an insurance treatment of North Care's patient 1002.
        test::runIsql(path_, QStringLiteral("insert into pattreat (treatnumber, accnumber, dat_, charge, "
                                            "ishealthtreat, description) values (900, 1002, '2024-02-02', 10.00, "
                                            "'1', 'Late entry');"));
        holder.QuickRep1BeforePrint(print);
        // querytrans takes a snapshot: only a new transaction sees the new row.
        QCOMPARE(holder.IBQuery1NUM().asInteger(), tiny::quarter.company.num + 1);
        QVERIFY(holder.IBTransaction3->inTransaction());
        QCOMPARE(holder.IBQuery4NUM().asInteger(), tiny::quarter.practice.num + 1);
        test::runIsql(path_, QStringLiteral("delete from pattreat where treatnumber = 900;"));
    }

    void emptySelectionFailsAtItsQuery_data()
    {
        QTest::addColumn<QString>("companies");
        QTest::addColumn<QString>("gp");
        QTest::addColumn<QString>("consultants");
        QTest::addColumn<int>("openQueries");
        QTest::newRow("no company: fails at the company query") << ")" << "('Dr Patel')" << "('Self')" << 0;
        QTest::newRow("no GP value: fails at the GP query") << "(23)" << ")" << "('Self')" << 1;
        QTest::newRow("no consultant value: fails at the consultant query") << "(23)" << "('Dr Patel')" << ")" << 2;
    }

    void emptySelectionFailsAtItsQuery()
    {
        QFETCH(QString, companies);
        QFETCH(QString, gp);
        QFETCH(QString, consultants);
        QFETCH(int, openQueries);
        test::FakeSeams fakes;
        TfrmReport holder(db_);
        holder.CompanyInList = companies;
        holder.GPInList = gp;
        holder.ConsultantInList = consultants;
        holder.PeriodStart = at(tiny::quarter.start);
        holder.PeriodEnd = at(tiny::quarter.end);
        bool print = true;
        try {
            holder.QuickRep1BeforePrint(print);
            QFAIL("the statement was accepted");
        } catch (const Error& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Token unknown")), qPrintable(e.message()));
        }
        const fb::Query* queries[] = {holder.IBQuery1.get(), holder.IBQuery2.get(), holder.IBQuery3.get(),
                                      holder.IBQuery4.get()};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(queries[i]->isOpen(), i < openQueries);
    }

    void withoutConnection()
    {
        test::FakeSeams fakes;
        fb::Database closed;
        TfrmReport holder(closed);
        select(holder, tiny::quarter);
        bool print = true;
        try {
            holder.QuickRep1BeforePrint(print);
            QFAIL("ran without a connection");
        } catch (const Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Cannot perform operation -- DB is not open"));
        }
        QVERIFY(!holder.IBQuery1->isOpen());
    }

    void cleanupTestCase() { db_.close(); }
};

QTEST_MAIN(StatisticsTest)
#include "tst_statistics_db.moc"
