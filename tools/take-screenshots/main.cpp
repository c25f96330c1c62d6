// take-screenshots DATABASE FOLDER
//
// Takes the README's pictures from the program's real windows on a practice database of the
// local server: the database chooser, the credentials dialog, the four wizard pages with some
// ticks, and the report's preview. DATABASE is the database file's path on the local server;
// ISC_USER / ISC_PASSWORD give the credentials; the chooser reads the settings under
// XDG_CONFIG_HOME. Run it on a screen (xvfb-run does) so that the pictures are drawn as a user
// sees them.

#include "details/TfrmDetails.h"
#include "login/TfrmLogIn.h"
#include "main/TfrmMain.h"
#include "platform/app/Application.h"
#include "platform/app/Error.h"
#include "platform/app/DatePicker.h"
#include "platform/app/Look.h"
#include "platform/app/TickGrid.h"
#include "platform/app/TreeView.h"
#include "platform/reporting/PreviewWindow.h"

#include <QDir>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidgetItem>

#include <cstdio>
#include <functional>

using namespace quorvel;

namespace {

QString env(const char* name, const char* fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void save(QWidget& widget, const QString& folder, const char* name)
{
    settle();
    const QString file = QDir(folder).filePath(QString::fromLatin1(name));
    if (!widget.grab().save(file))
        throw Error(QStringLiteral("Cannot write ") + file);
    std::printf("%s\n", qPrintable(file));
}

// Ticks the records whose column holds one of the texts: by value, as a user picks by name.
void tick(TickGrid& grid, const QString& column, int tickColumn, const QStringList& texts)
{
    for (int r = 0; r < grid.recordCount(); ++r)
        for (const QString& text : texts)
            if (grid.value(r, column).toString().startsWith(text))
                grid.model()->toggle(r, tickColumn);
}

void takeLogin(const QString& folder)
{
    TfrmLogIn chooser;
    chooser.show();
    settle();
    if (QTreeWidgetItem* local = chooser.fileview->topLevelItem(0); local && local->childCount() > 0)
        chooser.fileview->setCurrentItem(local->child(0));
    save(chooser, folder, "login-chooser.png");

    TfrmDetails details;
    details.show();
    details.username->setText(env("ISC_USER", "SYSDBA"));
    details.password->setText(env("ISC_PASSWORD", "masterkey"));
    save(details, folder, "login-details.png");
}

void takeWizard(const QString& database, const QString& folder)
{
    TfrmMain w;
    w.FirstActivate = false; // the chooser was shown above; log in directly
    w.show();
    w.Connect(QStringLiteral("localhost"), database, env("ISC_USER", "SYSDBA"), env("ISC_PASSWORD", "masterkey"));
    if (w.Ins->recordCount() == 0)
        throw Error(QStringLiteral("No insurance company was read from ") + database);

    tick(*w.Ins, QStringLiteral("Name"), 2, {QStringLiteral("Albion"), QStringLiteral("Crown M")});
    tick(*w.GPGrid, QStringLiteral("Referral"), 1,
         {QStringLiteral("Dr Patel"), QStringLiteral("Dr Smith"), QStringLiteral("Dr Chen")});
    tick(*w.ConsGrid, QStringLiteral("Referral"), 1, {QStringLiteral("Mr Hughes"), QStringLiteral("Ms Khan")});
    w.StartDate->setDate(QDate(2024, 1, 1));
    w.Enddate->setDate(QDate(2024, 12, 31));

    save(w, folder, "wizard-page1.png");
    w.nextClick();
    save(w, folder, "wizard-page2.png");
    w.nextClick();
    save(w, folder, "wizard-page3.png");
    w.nextClick();
    save(w, folder, "wizard-page4.png");

    // The preview waits in its own loop: take its picture from there, once the page is finished.
    bool taken = false;
    std::function<void()> look = [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* preview = qobject_cast<reporting::PreviewWindow*>(top);
            if (preview && preview->isVisible() && preview->previewWidget()->pageCount() > 0) {
                preview->resize(900, 1000);
                preview->previewWidget()->fitInView();
                save(*preview, folder, "preview.png");
                taken = true;
                preview->close();
                return;
            }
        }
        QTimer::singleShot(100, look);
    };
    QTimer::singleShot(0, look);
    w.cxButton1->click();
    if (!taken)
        throw Error(QStringLiteral("The report's preview did not show"));
    w.close();
}

} // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv);
    applyLook(app);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "Usage: take-screenshots DATABASE FOLDER\n");
        return 2;
    }
    try {
        QDir().mkpath(args[2]);
        takeLogin(args[2]);
        takeWizard(args[1], args[2]);
    } catch (const Error& e) {
        std::fprintf(stderr, "take-screenshots: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
