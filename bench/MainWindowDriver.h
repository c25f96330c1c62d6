#pragma once

#include "Workload.h"

#include <memory>
#include <vector>

namespace quorvel {
class ScopedSeams;
class TfrmMain;
} // namespace quorvel

namespace quorvel::bench {

class ThrowingMessages;

// The main window driven without a person: the end of the login connects it, the grids
// get their ticks by hand and Report is pressed as the button would. Every step is the
// program's own code; only the dialogs in front of it are left out.
class MainWindowDriver {
public:
    MainWindowDriver();
    ~MainWindowDriver();
    MainWindowDriver(const MainWindowDriver&) = delete;
    MainWindowDriver& operator=(const MainWindowDriver&) = delete;

    TfrmMain& window() { return *window_; }

    // Shows the window without the login that its first activation would run.
    void show();
    // What the login does once the chooser has closed: the lists load into the grids.
    void connect(const Target& target);

    // Ticks the first `companies` companies in the list's order and, on each referral page,
    // `referrals` values that have a text (a null one cannot be reported on): the GP page from
    // the top of its list, the consultant page from the bottom; sets the period.
    // Lists that were closed are loaded first.
    Selection tick(int companies, int referrals, const QDate& from, const QDate& to);

    // The three list statements as the window's datasets send them.
    std::vector<Statement> listStatements() const;

    // Times the window's loading code: each list's transaction starts, its statement runs
    // and its rows go into the grid's model. The lists are closed before and after, untimed.
    double loadLists(Digest& digest);

    // Presses Report; the time until the preview shows the finished first page. The
    // preview is closed then, which ends the Report step.
    double reportToFirstPage();

private:
    void closeLists();

    std::unique_ptr<ThrowingMessages> messages_;
    std::unique_ptr<ScopedSeams> seams_;
    std::unique_ptr<TfrmMain> window_;
};

} // namespace quorvel::bench
