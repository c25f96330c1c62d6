#include "report/TfrmReport.h"

#include "platform/app/Seams.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"
#include "platform/reporting/Report.h"
#include "report/NarrativeTexts.h"
#include "report/StatisticsStatements.h"

namespace quorvel {

TfrmReport::TfrmReport(fb::Database& db, RegionalSettings regional) : regional_(std::move(regional))
{
    const QStringList readCommitted{QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                                    QStringLiteral("nowait")};
    querytrans = std::make_unique<fb::Transaction>(&db); // no parameters: the server's default
    IBTransaction1 = std::make_unique<fb::Transaction>(&db);
    IBTransaction2 = std::make_unique<fb::Transaction>(&db);
    IBTransaction3 = std::make_unique<fb::Transaction>(&db);
    for (auto* t : {IBTransaction1.get(), IBTransaction2.get(), IBTransaction3.get()})
        t->setParams(readCommitted);

    auto makeQuery = [&db](fb::Transaction* transaction) {
        auto query = std::make_unique<fb::Query>();
        query->setDatabase(&db);
        query->setTransaction(transaction);
        return query;
    };
    IBQuery1 = makeQuery(querytrans.get());
    IBQuery2 = makeQuery(IBTransaction1.get());
    IBQuery3 = makeQuery(IBTransaction2.get());
    IBQuery4 = makeQuery(IBTransaction3.get());
    IBQuery1->beforeOpen = [this](fb::Query& q) { IBQuery1BeforeOpen(q); };
    IBQuery1->afterClose = [this](fb::Query& q) { IBQuery1AfterClose(q); };
    for (fb::Query* q : {IBQuery2.get(), IBQuery3.get()}) {
        q->beforeOpen = [this](fb::Query& dataSet) { IBQuery2BeforeOpen(dataSet); };
        q->afterClose = [this](fb::Query& dataSet) { IBQuery2AfterClose(dataSet); };
    }
    // Replaced before every open; only the whole-practice statement runs as created.
    IBQuery1->setSql(statements::company(QStringLiteral("(0)")));
    IBQuery2->setSql(statements::referral(QStringLiteral("(0)"), QStringLiteral("('')")));
    IBQuery3->setSql(statements::referral(QStringLiteral("(0)"), QStringLiteral("('')")));
    IBQuery4->setSql(statements::wholePractice);

    defineReport();
}

TfrmReport::~TfrmReport() = default;

fb::Field& TfrmReport::IBQuery1NUM() const { return IBQuery1->fieldByName(QStringLiteral("NUM")); }
fb::Field& TfrmReport::IBQuery1SUBTOTAL() const { return IBQuery1->fieldByName(QStringLiteral("SUBTOTAL")); }
fb::Field& TfrmReport::IBQuery1NUMACCOUNTS() const { return IBQuery1->fieldByName(QStringLiteral("NUMACCOUNTS")); }
fb::Field& TfrmReport::IBQuery2NUM() const { return IBQuery2->fieldByName(QStringLiteral("NUM")); }
fb::Field& TfrmReport::IBQuery2SUBTOTAL() const { return IBQuery2->fieldByName(QStringLiteral("SUBTOTAL")); }
fb::Field& TfrmReport::IBQuery2NUMACCOUNTS() const { return IBQuery2->fieldByName(QStringLiteral("NUMACCOUNTS")); }
fb::Field& TfrmReport::IBQuery3NUM() const { return IBQuery3->fieldByName(QStringLiteral("NUM")); }
fb::Field& TfrmReport::IBQuery3SUBTOTAL() const { return IBQuery3->fieldByName(QStringLiteral("SUBTOTAL")); }
fb::Field& TfrmReport::IBQuery3NUMACCOUNTS() const { return IBQuery3->fieldByName(QStringLiteral("NUMACCOUNTS")); }
fb::Field& TfrmReport::IBQuery4NUM() const { return IBQuery4->fieldByName(QStringLiteral("NUM")); }
fb::Field& TfrmReport::IBQuery4VALUEALL() const { return IBQuery4->fieldByName(QStringLiteral("VALUEALL")); }
fb::Field& TfrmReport::IBQuery4NUMINS() const { return IBQuery4->fieldByName(QStringLiteral("NUMINS")); }
fb::Field& TfrmReport::IBQuery4VALUEINS() const { return IBQuery4->fieldByName(QStringLiteral("VALUEINS")); }

void TfrmReport::QuickRep1BeforePrint(bool& /*printReport*/)
{
    seams().cursor->setDefault();

    IBQuery1->close();
    IBQuery1->setSql(statements::company(CompanyInList));
    IBQuery1->param(0).setDateTime(PeriodStart);
    IBQuery1->param(1).setDateTime(PeriodEnd);
    IBQuery1->open();

    IBQuery2->close();
    IBQuery2->setSql(statements::referral(CompanyInList, GPInList));
    IBQuery2->param(0).setDateTime(PeriodStart);
    IBQuery2->param(1).setDateTime(PeriodEnd);
    IBQuery2->open();

    IBQuery3->close();
    IBQuery3->setSql(statements::referral(CompanyInList, ConsultantInList));
    IBQuery3->param(0).setDateTime(PeriodStart);
    IBQuery3->param(1).setDateTime(PeriodEnd);
    IBQuery3->open();

    IBQuery4->close();
    IBQuery4->paramByName(QStringLiteral("Date1")).setDateTime(PeriodStart);
    IBQuery4->paramByName(QStringLiteral("Date2")).setDateTime(PeriodEnd);
    IBQuery4->open();
}

void TfrmReport::IBQuery1BeforeOpen(fb::Query&)
{
    if (!querytrans->inTransaction())
        querytrans->startTransaction();
}

void TfrmReport::IBQuery1AfterClose(fb::Query&)
{
    if (querytrans->inTransaction())
        querytrans->commit();
}

void TfrmReport::IBQuery2BeforeOpen(fb::Query& dataSet)
{
    if (!dataSet.transaction()->inTransaction())
        dataSet.transaction()->startTransaction();
}

void TfrmReport::IBQuery2AfterClose(fb::Query& dataSet)
{
    if (dataSet.transaction()->inTransaction())
        dataSet.transaction()->commit();
}

} // namespace quorvel
