// Report: the ticked records become the selection criteria, and one report holder
// previews the statistics for them.
#include "main/SelectionCriteria.h"
#include "main/TfrmMain.h"

#include "platform/app/DatePicker.h"
#include "platform/app/Seams.h"
#include "platform/app/TickGrid.h"
#include "report/TfrmReport.h"

#include <QCoreApplication>

namespace quorvel {
namespace {

bool ticked(const TickGrid& grid, int record, int tickColumn)
{
    const QVariant tick = grid.model()->value(record, tickColumn);
    return tick.isValid() && tick.toBool(); // null (never touched) and false do not count
}

void gatherReferrals(const TickGrid& grid, const QString& tickColumnName, QStringList& into)
{
    const int tick = grid.model()->columnIndex(tickColumnName);
    const int referral = grid.model()->columnIndex(QStringLiteral("Referral"));
    for (int r = 0; r < grid.recordCount(); ++r)
        if (ticked(grid, r, tick))
            into << criteria::textOf(grid.model()->value(r, referral));
}

} // namespace

void TfrmMain::cxButton1Click()
{
    CompanyNumbers->clear();
    GPReferrals->clear();
    ConsultantReferrals->clear();
    QString names;

    const TickListModel& companies = *Ins->model();
    const int selected = companies.columnIndex(QStringLiteral("Selected"));
    const int number = companies.columnIndex(QStringLiteral("Comnumber"));
    const int name = companies.columnIndex(QStringLiteral("Name"));
    for (int r = 0; r < companies.recordCount(); ++r) {
        if (!ticked(*Ins, r, selected))
            continue;
        CompanyNumbers->append(companies.value(r, number).toInt());
        names = names + criteria::textOf(companies.value(r, name)) + QLatin1Char(' ');
    }
    gatherReferrals(*GPGrid, QStringLiteral("SelectedGP"), *GPReferrals);
    gatherReferrals(*ConsGrid, QStringLiteral("SelectedCons"), *ConsultantReferrals);

    const QString companyInList = criteria::inList(criteria::companyEntries(*CompanyNumbers));
    const QString gpInList = criteria::inList(criteria::referralEntries(*GPReferrals));
    const QString consultantInList = criteria::inList(criteria::referralEntries(*ConsultantReferrals));

    seams().cursor->setHourglass();
    auto holder = std::make_unique<TfrmReport>(*DB); // no owner: released below, whatever happens
    try {
        holder->CompanyInList = companyInList;
        holder->GPInList = gpInList;
        holder->ConsultantInList = consultantInList;
        holder->CompanyNames = names;
        holder->PeriodStart = QDateTime(StartDate->date(), QTime(0, 0));
        holder->PeriodEnd = QDateTime(Enddate->date(), QTime(0, 0));
        holder->preview();
    } catch (...) {
        seams().cursor->setDefault();
        holder.reset();
        throw;
    }
    seams().cursor->setDefault();
    holder.reset();
}

} // namespace quorvel
