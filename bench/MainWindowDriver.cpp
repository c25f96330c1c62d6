#include "MainWindowDriver.h"

#include "Samples.h"

#include "main/TfrmMain.h"
#include "platform/app/DatePicker.h"
#include "platform/app/Error.h"
#include "platform/app/Seams.h"
#include "platform/app/TickGrid.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"
#include "platform/reporting/PreviewWindow.h"

#include <QApplication>
#include <QPrintPreviewWidget>
#include <QTimer>

namespace quorvel::bench {

// A message box would wait for a click that never comes: a benchmark stops instead.
class ThrowingMessages final : public MessageBoxes {
public:
    void error(const QString& text) override { throw Error(text); }
    void information(QWidget*, const QString&, const QString& text) override { throw Error(text); }
};

namespace {

reporting::PreviewWindow* openPreview()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* preview = qobject_cast<reporting::PreviewWindow*>(w); preview && preview->isVisible())
            return preview;
    return nullptr;
}

Statement statementOf(const QString& label, const fb::Query& query)
{
    Statement s;
    s.label = label;
    s.text = query.database()->encodeStatement(fb::parseMarkers(query.sql()).text);
    s.transactionParams = query.transaction()->params();
    return s;
}

} // namespace

MainWindowDriver::MainWindowDriver()
    : messages_(std::make_unique<ThrowingMessages>()),
      seams_(std::make_unique<ScopedSeams>(Seams{nullptr, messages_.get(), nullptr})),
      window_(std::make_unique<TfrmMain>())
{
}

MainWindowDriver::~MainWindowDriver()
{
    window_->close(); // the close step: commits and disconnects as the program does
    window_.reset();
}

void MainWindowDriver::show()
{
    window_->ShowLogin = false;
    window_->show();
}

void MainWindowDriver::connect(const Target& target)
{
    window_->Connect(target.server, target.path, target.user, target.password);
    if (!window_->DB->connected())
        throw Error(QStringLiteral("Not connected to ") + target.connectString());
}

Selection MainWindowDriver::tick(int companies, int referrals, const QDate& from, const QDate& to)
{
    if (!window_->GP->isOpen())
        window_->DBAfterConnect();
    Selection selection;
    selection.from = from;
    selection.to = to;
    TickListModel& ins = *window_->Ins->model();
    const int number = ins.columnIndex(QStringLiteral("Comnumber"));
    const int name = ins.columnIndex(QStringLiteral("Name"));
    const int selected = ins.columnIndex(QStringLiteral("Selected"));
    for (int r = 0; r < ins.recordCount() && selection.companies.size() < companies; ++r) {
        if (ins.value(r, name).isNull())
            continue;
        ins.setTick(r, selected, true);
        selection.companies << ins.value(r, number).toInt();
        selection.companyNames << ins.value(r, name).toString();
    }
    // The GP page ticks the first values of its list, the consultant page the last ones, as
    // a practice's two kinds of referrer sort apart.
    auto tickSome = [referrals](TickGrid& grid, const QString& tickColumn, QStringList& values, bool fromEnd) {
        TickListModel& model = *grid.model();
        const int referral = model.columnIndex(QStringLiteral("Referral"));
        const int tick = model.columnIndex(tickColumn);
        for (int i = 0; i < model.recordCount() && values.size() < referrals; ++i) {
            const int r = fromEnd ? model.recordCount() - 1 - i : i;
            if (model.value(r, referral).isNull())
                continue;
            model.setTick(r, tick, true);
            values << model.value(r, referral).toString();
        }
    };
    tickSome(*window_->GPGrid, QStringLiteral("SelectedGP"), selection.gpReferrals, false);
    tickSome(*window_->ConsGrid, QStringLiteral("SelectedCons"), selection.consultantReferrals, true);
    window_->StartDate->setDate(from);
    window_->Enddate->setDate(to);
    return selection;
}

std::vector<Statement> MainWindowDriver::listStatements() const
{
    // In the order the window opens them once connected.
    return {statementOf(QStringLiteral("GP"), *window_->GP),
            statementOf(QStringLiteral("Cons"), *window_->Cons),
            statementOf(QStringLiteral("Insurance"), *window_->Insurance)};
}

double MainWindowDriver::loadLists(Digest& digest)
{
    closeLists();
    Stopwatch watch;
    watch.start();
    window_->DBAfterConnect();
    watch.stop();
    digest = {};
    for (const TickGrid* grid : {window_->GPGrid, window_->ConsGrid, window_->Ins})
        digest.rows += grid->recordCount();
    // Committed now, as the other ways commit at the end of their turn, so that no way
    // starts its timing right behind its own commits.
    closeLists();
    return watch.seconds();
}

void MainWindowDriver::closeLists()
{
    if (window_->GP->isOpen())
        window_->DBBeforeDisconnect(); // the lists close and their transactions commit
}

double MainWindowDriver::reportToFirstPage()
{
    Stopwatch watch;
    double seconds = -1;
    // Looks at every turn of the event loop, including those the generation makes between
    // pages, so the first page is seen as soon as the preview has it.
    QTimer look;
    look.setInterval(0);
    QObject::connect(&look, &QTimer::timeout, [&] {
        reporting::PreviewWindow* preview = openPreview();
        if (!preview || preview->previewWidget()->pageCount() == 0)
            return;
        watch.stop();
        seconds = watch.seconds();
        look.stop();
        preview->close();
    });
    look.start();
    watch.start();
    window_->cxButton1Click();
    look.stop();
    if (seconds < 0)
        throw Error(QStringLiteral("The report ended without showing a page"));
    return seconds;
}

} // namespace quorvel::bench
