// bench-window PATH [--report]
//
// The main window as the program shows it, with the lists of the database at PATH on the
// local server loaded, and with --report one report previewed to its first page; then it
// ends. The benchmark reads its peak memory: it links what the program links, nothing more.
#include "MainWindowDriver.h"

#include "platform/app/Application.h"
#include "platform/app/Error.h"

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace quorvel;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    applyLook(app);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fputs("usage: bench-window PATH [--report]\n", stderr);
        return 2;
    }
    try {
        bench::MainWindowDriver driver;
        driver.show();
        driver.connect(bench::Target::local(arguments[1]));
        QCoreApplication::processEvents(); // the grids paint their rows
        if (arguments.contains(QStringLiteral("--report"))) {
            driver.tick(bench::reportCompanies, bench::reportReferrals, bench::reportFrom(), bench::reportTo());
            driver.reportToFirstPage();
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "bench-window: %s\n", e.what());
        return 1;
    }
    return 0;
}
