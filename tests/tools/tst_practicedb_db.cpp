// make-practice-db against the real server: the tiny database holds the rows its fixture
// header documents, text keeps its bytes, and a seed always gives the same generated practice.
#include "../fixtures/TinyPractice.h"
#include "TestSupport.h"
#include "platform/app/Error.h"

#include <QProcess>
#include <QtTest>

using namespace quorvel;
namespace tiny = quorvel::fixtures::tiny;

namespace {

// Runs statements through isql in list mode and returns the values of all result columns,
// in order, as the bytes stored (the connection's character set is NONE); a null reads "<null>".
// isql is a separate client, so the tool's own reading cannot hide its mistakes.
QByteArrayList isqlValues(const QString& databasePath, const QByteArray& statements)
{
    QProcess isql;
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-user"), test::firebirdUser(),
                QStringLiteral("-password"), test::firebirdPassword(),
                QStringLiteral("127.0.0.1:") + databasePath});
    isql.write("set list on;\n" + statements + "\n");
    isql.closeWriteChannel();
    if (!isql.waitForFinished(120000) || isql.exitCode() != 0)
        throw Error(QStringLiteral("isql-fb failed: ") + QString::fromLocal8Bit(isql.readAllStandardError()));
    const QByteArray errors = isql.readAllStandardError();
    if (!errors.trimmed().isEmpty())
        throw Error(QStringLiteral("isql-fb: ") + QString::fromLocal8Bit(errors));
    QByteArrayList values;
    for (const QByteArray& line : isql.readAllStandardOutput().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype gap = trimmed.indexOf(' ');
        if (!trimmed.isEmpty())
            values << (gap < 0 ? QByteArray() : trimmed.mid(gap).trimmed());
    }
    return values;
}

QByteArray isqlText(const char* value)
{
    return value ? QByteArray(value) : QByteArray("<null>");
}

// Count, sums and hashes over every column of every table: two practices that agree on
// this agree row for row, to any practical certainty.
const QByteArray practiceChecksum =
    "select count(*), sum(mod(hash(coalesce(name, '~') || address1 || phone), 1000003)) from healthco;\n"
    "select count(*), sum(mod(hash(accnumber || surname || firstname || coalesce(comnumber, -1)"
    " || coalesce(referral, '~')), 1000003)) from patper;\n"
    "select count(*), sum(charge), sum(mod(hash(treatnumber || accnumber || dat_ || ishealthtreat"
    " || description), 1000003)) from pattreat;";

} // namespace

class PracticeDbTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tinyPath_ = test::makePracticeDatabase(QStringLiteral("practicedb-tiny.fdb")); }

    void tinyRowCounts_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<int>("rows");
        QTest::newRow("companies") << QByteArray("healthco") << tiny::companyCount;
        QTest::newRow("patients") << QByteArray("patper") << tiny::patientCount;
        QTest::newRow("treatments") << QByteArray("pattreat") << tiny::treatmentCount;
    }

    void tinyRowCounts()
    {
        QFETCH(QByteArray, table);
        QFETCH(int, rows);
        QCOMPARE(isqlValues(tinyPath_, "select count(*) from " + table + ";"),
                 QByteArrayList{QByteArray::number(rows)});
    }

    // The two lists the wizard shows, in the server's order: the header's lists are what the
    // connection and selection tests expect, so they must be what the server really gives.
    void tinyLists_data()
    {
        QTest::addColumn<QByteArray>("statement");
        QTest::addColumn<QByteArrayList>("expected");
        QByteArrayList companies;
        for (const tiny::CompanyListRow& row : tiny::companyList)
            companies << isqlText(row.name) << QByteArray::number(row.comNumber);
        QByteArrayList referrals;
        for (const char* referral : tiny::referralList)
            referrals << isqlText(referral);
        QTest::newRow("companies by name, the null name first")
            << QByteArray("select name, comnumber from healthco order by name;") << companies;
        QTest::newRow("referral values: null, empty, then byte order")
            << QByteArray("select distinct referral from patper order by referral;") << referrals;
    }

    void tinyLists()
    {
        QFETCH(QByteArray, statement);
        QFETCH(QByteArrayList, expected);
        QCOMPARE(isqlValues(tinyPath_, statement), expected);
    }

    // The referral is stored as the one byte 0xFC, not converted to UTF-8 on the way in.
    void tinyStoresWindows1252ByteRaw()
    {
        QCOMPARE(isqlValues(tinyPath_, "select count(*), max(octet_length(referral)) from patper"
                                       " where referral = 'Dr M' || ascii_char(252) || 'ller';"),
                 (QByteArrayList{"1", "9"}));
    }

    void sameSeedGivesSameDemo()
    {
        const QByteArrayList first = isqlValues(
            test::makePracticeDatabase(QStringLiteral("practicedb-demo-a.fdb"), QStringLiteral("demo"), 7),
            practiceChecksum);
        const QByteArrayList again = isqlValues(
            test::makePracticeDatabase(QStringLiteral("practicedb-demo-b.fdb"), QStringLiteral("demo"), 7),
            practiceChecksum);
        const QByteArrayList otherSeed = isqlValues(
            test::makePracticeDatabase(QStringLiteral("practicedb-demo-c.fdb"), QStringLiteral("demo"), 8),
            practiceChecksum);
        QCOMPARE(first.size(), 7);
        QCOMPARE(again, first);
        QVERIFY2(otherSeed != first, "another seed should give another practice");
    }

private:
    QString tinyPath_;
};

QTEST_MAIN(PracticeDbTest)
#include "tst_practicedb_db.moc"
