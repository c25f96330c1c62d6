// The statistics statements go to the server byte for byte as they stand.
#include "report/StatisticsStatements.h"

#include <QtTest>

using namespace quorvel;

class StatementsTest : public QObject {
    Q_OBJECT
private slots:
    void companyStatement()
    {
        QCOMPARE(statements::company(QStringLiteral("(23,24)")),
                 QStringLiteral("select count(*) as Num, sum(charge) as SubTotal, count(distinct pattreat.accnumber) "
                                "as numAccounts from pattreat  where pattreat.accnumber in (select accnumber from "
                                "patper where comnumber in (23,24)) and ishealthtreat = '1' and pattreat.dat_ between "
                                ":date1 and :date2"));
        QVERIFY(statements::company(QStringLiteral(")")).contains(QStringLiteral("comnumber in )) and")));
    }

    void referralStatement()
    {
        const QString text = statements::referral(QStringLiteral("(23,24)"), QStringLiteral("('GP')"));
        QCOMPARE(text, QStringLiteral("select count(*) as Num, sum(charge) as SubTotal, count(distinct "
                                      "pattreat.accnumber) as numAccounts from pattreat where pattreat.accnumber in "
                                      "(select accnumber from patper where comnumber in (23,24) and referral in "
                                      "('GP')) and ishealthtreat = '1' and pattreat.dat_ between :date1 and :date2 "));
        QVERIFY(statements::referral(QStringLiteral("(1)"), QStringLiteral(")"))
                    .contains(QStringLiteral("referral in )) and")));
    }

    void wholePracticeStatement()
    {
        const QStringList lines = statements::wholePractice.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("select count(*) as num, sum(charge) as valueall,"));
        QCOMPARE(lines[1], QStringLiteral("(select count(*)  from pattreat where ishealthtreat='1' and pattreat.dat_ "
                                          "between :date1 and :date2) as NUMINS,"));
        QCOMPARE(lines[2], QStringLiteral("(select sum(charge) from pattreat where ishealthtreat='1' and "
                                          "pattreat.dat_ between :date1 and :date2) as "));
        QCOMPARE(lines[3], QStringLiteral("VALUEins from pattreat WHERE PATTREAT.DAT_ BETWEEN :DATE1 AND :DATE2"));
        QVERIFY(!statements::wholePractice.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    }
};

QTEST_APPLESS_MAIN(StatementsTest)
#include "tst_statements.moc"
