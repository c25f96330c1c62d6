// Quorvel Insurance Statistics: start-up only. Without arguments the program is the
// wizard; with arguments it writes the batch report and opens no window.
#include "main/TfrmMain.h"
#include "platform/app/Application.h"
#include "report/BatchReport.h"

#include <QGuiApplication>

namespace {

QtMessageHandler qtHandler = nullptr;

// cron runs the batch report without a session, so Qt notes on every run that it has no
// runtime folder; cron mails whatever reaches standard error, and that note is no news.
void batchMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    qtHandler(type, context, message);
}

// Only the benchmarks set QUORVEL_BENCH_EXIT_WHEN_SHOWN: they time start-up to the first
// painted main window, so the program ends right after that paint.
class ExitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) // children paint in the same pass, before the queued exit
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (quorvel::wantsBatchReport(arguments)) {
        // Fonts and metrics are needed, a screen is not: cron has none.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qtHandler = qInstallMessageHandler(batchMessages);
        QGuiApplication app(argc, argv);
        return quorvel::runBatchReport(app.arguments());
    }

    quorvel::Application app(argc, argv);
    quorvel::applyLook(app);
    quorvel::TfrmMain frmMain;
    ExitAfterFirstPaint exitAfterFirstPaint;
    if (qEnvironmentVariableIsSet("QUORVEL_BENCH_EXIT_WHEN_SHOWN"))
        frmMain.installEventFilter(&exitAfterFirstPaint);
    frmMain.show();
    // The login starts when the window is first activated; where no window manager hands
    // out the focus (a bare X server, a kiosk session) the window asks for it itself.
    frmMain.activateWindow();
    return app.exec();
}
