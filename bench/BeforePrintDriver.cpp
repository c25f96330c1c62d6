#include "BeforePrintDriver.h"

#include "Samples.h"

#include "main/SelectionCriteria.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"
#include "report/TfrmReport.h"

namespace quorvel::bench {

BeforePrintDriver::BeforePrintDriver(fb::Database& db, const Selection& selection)
    : db_(db), selection_(selection)
{
}

std::unique_ptr<TfrmReport> BeforePrintDriver::holder() const
{
    // The criteria as the Report step builds them from the ticks.
    auto holder = std::make_unique<TfrmReport>(db_);
    holder->CompanyInList = criteria::inList(criteria::companyEntries(selection_.companies));
    holder->GPInList = criteria::inList(criteria::referralEntries(selection_.gpReferrals));
    holder->ConsultantInList = criteria::inList(criteria::referralEntries(selection_.consultantReferrals));
    for (const QString& name : selection_.companyNames)
        holder->CompanyNames += name + QLatin1Char(' ');
    holder->PeriodStart = QDateTime(selection_.from, QTime(0, 0));
    holder->PeriodEnd = QDateTime(selection_.to, QTime(0, 0));
    return holder;
}

double BeforePrintDriver::run(Digest& digest)
{
    std::unique_ptr<TfrmReport> report = holder();
    Stopwatch watch;
    watch.start();
    bool print = true;
    report->QuickRep1BeforePrint(print);
    digest = {};
    long double money = 0;
    for (fb::Query* q : {report->IBQuery1.get(), report->IBQuery2.get(), report->IBQuery3.get()}) {
        digest.rows += q->recordCount();
        digest.firstColumn += q->fieldByName(QStringLiteral("NUM")).asInteger();
        money += q->fieldByName(QStringLiteral("SUBTOTAL")).asFloat();
        money += q->fieldByName(QStringLiteral("NUMACCOUNTS")).asInteger();
    }
    digest.rows += report->IBQuery4->recordCount();
    digest.firstColumn += report->IBQuery4NUM().asInteger();
    money += report->IBQuery4VALUEALL().asFloat() + report->IBQuery4NUMINS().asInteger() +
             report->IBQuery4VALUEINS().asFloat();
    watch.stop();
    volatile long double keep = money; // the figures are read, not thrown away unseen
    (void)keep;
    return watch.seconds();
}

std::vector<Statement> BeforePrintDriver::statements()
{
    std::unique_ptr<TfrmReport> report = holder();
    bool print = true;
    report->QuickRep1BeforePrint(print);
    std::vector<Statement> result;
    const std::pair<const char*, fb::Query*> queries[] = {{"IBQuery1", report->IBQuery1.get()},
                                                          {"IBQuery2", report->IBQuery2.get()},
                                                          {"IBQuery3", report->IBQuery3.get()},
                                                          {"IBQuery4", report->IBQuery4.get()}};
    for (auto [label, query] : queries) {
        Statement s;
        s.label = QString::fromLatin1(label);
        s.text = db_.encodeStatement(fb::parseMarkers(query->sql()).text);
        for (int i = 0; i < query->paramCount(); ++i)
            s.params.push_back(query->param(i).value().toDateTime());
        s.transactionParams = query->transaction()->params();
        result.push_back(std::move(s));
    }
    return result;
}

} // namespace quorvel::bench
