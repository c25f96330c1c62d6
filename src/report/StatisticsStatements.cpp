#include "report/StatisticsStatements.h"

namespace quorvel::statements {

// The texts go to the server exactly as they stand, spacing and case included; the
// IN-lists are placed as they come, already quoted by whoever built them.

QString company(const QString& companyInList)
{
    return QStringLiteral("select count(*) as Num, sum(charge) as SubTotal, count(distinct pattreat.accnumber) as "
                          "numAccounts from pattreat  where pattreat.accnumber in (select accnumber from patper where "
                          "comnumber in ")
           + companyInList + QStringLiteral(") ")
           + QStringLiteral("and ishealthtreat = '1' and pattreat.dat_ between :date1 and :date2");
}

QString referral(const QString& companyInList, const QString& referralInList)
{
    return QStringLiteral("select count(*) as Num, sum(charge) as SubTotal, count(distinct pattreat.accnumber) as "
                          "numAccounts from pattreat where pattreat.accnumber in (select accnumber from patper where "
                          "comnumber in ")
           + companyInList + QStringLiteral(" and referral in ") + referralInList + QStringLiteral(")")
           + QStringLiteral(" and ishealthtreat = '1' and pattreat.dat_ between :date1 and :date2 ");
}

const QString wholePractice =
    QStringLiteral("select count(*) as num, sum(charge) as valueall,\r\n"
                   "(select count(*)  from pattreat where ishealthtreat='1' and pattreat.dat_ between :date1 and "
                   ":date2) as NUMINS,\r\n"
                   "(select sum(charge) from pattreat where ishealthtreat='1' and pattreat.dat_ between :date1 and "
                   ":date2) as \r\n"
                   "VALUEins from pattreat WHERE PATTREAT.DAT_ BETWEEN :DATE1 AND :DATE2");

} // namespace quorvel::statements
