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
// in order. isql is a separate client, so the tool's own reading cannot hide its mistakes.
QStringList isqlValues(const QString& databasePath, const QByteArray& statements)
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
    QStringList values;
    for (const QByteArray& line : isql.readAllStandardOutput().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype gap = trimmed.indexOf(' ');
        if (!trimmed.isEmpty())
            values << QString::fromLatin1(gap < 0 ? QByteArray() : trimmed.mid(gap).trimmed());
    }
    return values;
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
                 QStringList{QString::number(rows)});
    }

    // The referral is stored as the one byte 0xFC, not converted to UTF-8 on the way in.
    void tinyStoresWindows1252ByteRaw()
    {
        QCOMPARE(isqlValues(tinyPath_, "select count(*), max(octet_length(referral)) from patper"
                                       " where referral = 'Dr M' || ascii_char(252) || 'ller';"),
                 (QStringList{QStringLiteral("1"), QStringLiteral("9")}));
    }

    void sameSeedGivesSameDemo()
    {
        const QStringList first = isqlValues(
            test::makePracticeDatabase(QStringLiteral("practicedb-demo-a.fdb"), QStringLiteral("demo"), 7),
            practiceChecksum);
        const QStringList again = isqlValues(
            test::makePracticeDatabase(QStringLiteral("practicedb-demo-b.fdb"), QStringLiteral("demo"), 7),
            practiceChecksum);
        const QStringList otherSeed = isqlValues(
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
