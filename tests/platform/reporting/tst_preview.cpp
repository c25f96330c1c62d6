// The preview run: the window it opens and waits for, printing anew from it, and what
// happens when a step of a generation fails or the window closes while one runs.
#include "CountedRows.h"
#include "TestSupport.h"
#include "platform/app/Application.h"
#include "platform/app/Error.h"
#include "platform/reporting/Preview.h"
#include "platform/reporting/PreviewWindow.h"

#include <QAction>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace quorvel;
using namespace quorvel::reporting;

namespace {

Element label(const QString& name, double top, const QString& caption)
{
    Element e;
    e.name = name;
    e.top = top;
    e.width = 150;
    e.height = 8;
    e.caption = caption;
    e.font = QFont(QStringLiteral("Arial"), 12);
    return e;
}

// A small report: a heading and a figure that its print step fills in from `figure`, one
// detail line per row, and a footer. The counters say which steps ran how often.
struct Fixture {
    explicit Fixture(const QString& title = {}, int rowCount = 1) : rows(rowCount)
    {
        report.title = title;
        report.dataset = &rows;
        report.beforePrint = [this](bool&) {
            ++beforePrints;
            if (failBeforePrint)
                throw Error(QStringLiteral("The statement was rejected"));
            if (afterBeforePrint)
                afterBeforePrint();
        };
        Element figureLabel = label(QStringLiteral("Figure"), 12, QStringLiteral("no figure"));
        figureLabel.onPrint = [this](QString& value) {
            ++figurePrints;
            if (failFigure)
                throw Error(QStringLiteral("Figures are not available"));
            value = figure;
        };
        report.bands << Band{
            QStringLiteral("TitleBand"),
            Band::Title,
            25,
            {label(QStringLiteral("Heading"), 0, QStringLiteral("Quorvel Statistics")), figureLabel}};
        Element row = label(QStringLiteral("Row"), 0, QStringLiteral("Row"));
        row.onPrint = [this](QString& value) {
            ++rowPrints;
            value = QStringLiteral("Row %1").arg(rows.at() + 1);
            if (afterRow)
                afterRow();
        };
        report.bands << Band{QStringLiteral("DetailBand"), Band::Detail, 10, {row}};
        report.bands << Band{QStringLiteral("FooterBand"),
                             Band::PageFooter,
                             10,
                             {label(QStringLiteral("Footer"), 0, QStringLiteral("End of report"))}};
    }

    test::CountedRows rows;
    Report report;
    int beforePrints = 0;
    int figurePrints = 0;
    int rowPrints = 0;
    QString figure = QStringLiteral("Figure 1");
    bool failBeforePrint = false;
    bool failFigure = false;
    std::function<void()> afterBeforePrint;
    std::function<void()> afterRow;
};

QList<PreviewWindow*> previewWindows()
{
    QList<PreviewWindow*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* preview = qobject_cast<PreviewWindow*>(w))
            found << preview;
    return found;
}

void closePreviewWindows()
{
    for (PreviewWindow* w : previewWindows())
        w->close();
}

// Runs `check` from the preview's wait, once the window of that title shows `pages`
// pages; then closes a dialog a failed check left open and, unless told not to, the window,
// whatever the check did. Pending runs die with `context`.
void whenShown(QObject* context, const QString& title, std::function<void(PreviewWindow&)> check,
               int pages = 1, bool closeAfterwards = true)
{
    QTimer::singleShot(0, context, [=] {
        PreviewWindow* shown = nullptr;
        for (PreviewWindow* w : previewWindows())
            if (w->isVisible() && w->windowTitle() == QStringLiteral("Report Preview : ") + title &&
                w->previewWidget()->pageCount() == pages)
                shown = w;
        if (!shown) {
            whenShown(context, title, check, pages, closeAfterwards);
            return;
        }
        QPointer<PreviewWindow> window(shown);
        auto closeIt = qScopeGuard([window, closeAfterwards] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            if (window && closeAfterwards)
                window->close();
        });
        check(*shown);
    });
}

QString pdfText(const QString& fileName)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    if (!tool.waitForFinished() || tool.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(tool.readAllStandardError());
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        test::verifyNoWindowLeft();
    }

    void opensAndWaitsForTheWindow_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::newRow("the Close command ends the preview") << "command";
        QTest::newRow("the Escape key ends the preview") << "Escape";
        QTest::newRow("the window's own close ends the preview") << "window";
    }

    void opensAndWaitsForTheWindow()
    {
        QFETCH(QString, closing);
        Fixture f;
        QObject context;
        QString title, status, shownText;
        bool maximised = false, modal = true, fitted = false, closedByCommand = false;
        whenShown(&context, QString(), [&](PreviewWindow& w) {
            title = w.windowTitle();
            status = w.statusText();
            maximised = w.isMaximized();
            modal = w.isModal() || QApplication::activeModalWidget();
            fitted = w.previewWidget()->zoomMode() == QPrintPreviewWidget::FitInView;
            shownText = w.store().pages.value(0).plainText();
            if (closing == QLatin1String("command"))
                w.action(PreviewWindow::Close)->trigger();
            else if (closing == QLatin1String("Escape"))
                QTest::keyClick(&w, Qt::Key_Escape);
            else
                w.close();
            closedByCommand = !w.isVisible();
        });
        preview(f.report);

        QCOMPARE(title, QStringLiteral("Report Preview : "));
        QVERIFY(maximised);
        QVERIFY(!modal);
        QVERIFY(fitted);
        QCOMPARE(status, QStringLiteral("Page 1 of 1"));
        QCOMPARE(shownText, QStringLiteral("Quorvel Statistics\nFigure 1\nRow 1\nEnd of report"));
        QVERIFY(closedByCommand);
        QCOMPARE(f.beforePrints, 1);
        QVERIFY2(previewWindows().isEmpty(), "the window outlived the preview");
    }

    // Paging, zooming and turning the paper show the stored pages again; the report is
    // not generated again for the screen.
    void pagingAndZoomingReplayTheStore()
    {
        Fixture f(QStringLiteral("Long"), 60);
        QObject context;
        QStringList statuses;
        int pagesAfterTurning = 0;
        double zoomBefore = 0, zoomAfter = 0;
        QPrintPreviewWidget::ZoomMode widthMode{}, actualMode{};
        double actualFactor = 0;
        whenShown(
            &context, QStringLiteral("Long"),
            [&](PreviewWindow& w) {
                w.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&w));
                statuses << w.statusText();
                for (Qt::Key key : {Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_PageDown,
                                    Qt::Key_PageDown, Qt::Key_PageDown}) {
                    QTest::keyClick(&w, key);
                    statuses << w.statusText();
                }
                w.action(PreviewWindow::ZoomToWidth)->trigger();
                widthMode = w.previewWidget()->zoomMode();
                w.action(PreviewWindow::ZoomActualSize)->trigger();
                actualMode = w.previewWidget()->zoomMode();
                actualFactor = w.previewWidget()->zoomFactor();
                zoomBefore = w.previewWidget()->zoomFactor();
                QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
                zoomAfter = w.previewWidget()->zoomFactor();
                w.previewWidget()->setLandscapeOrientation();
                w.previewWidget()->setPortraitOrientation();
                w.pagesChanged();
                pagesAfterTurning = w.previewWidget()->pageCount();
            },
            3);
        preview(f.report);

        QCOMPARE(statuses, (QStringList{"Page 1 of 3", "Page 3 of 3", "Page 2 of 3", "Page 1 of 3",
                                        "Page 2 of 3", "Page 3 of 3", "Page 3 of 3"}));
        QCOMPARE(widthMode, QPrintPreviewWidget::FitToWidth);
        QCOMPARE(actualMode, QPrintPreviewWidget::CustomZoom);
        QCOMPARE(actualFactor, 1.0);
        QVERIFY(zoomAfter > zoomBefore);
        QCOMPARE(pagesAfterTurning, 3);
        QCOMPARE(f.beforePrints, 1);
        QCOMPARE(f.rowPrints, 60);
    }

    void printing_data()
    {
        QTest::addColumn<bool>("failFigure");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QStringList>("notPrinted");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("a print generates anew and shows today's figure")
            << false << QStringList{"Quorvel Statistics", "Figure 2", "Row 1", "End of report"}
            << QStringList{"Figure 1"} << QStringList{};
        QTest::newRow("a failing print step: what was drawn is printed, the error is shown")
            << true << QStringList{"Quorvel Statistics"} << QStringList{"Figure", "Row", "End of report"}
            << QStringList{"Figures are not available."};
    }

    void printing()
    {
        QFETCH(bool, failFigure);
        QFETCH(QStringList, printed);
        QFETCH(QStringList, notPrinted);
        QFETCH(QStringList, errors);
        test::FakeSeams fakes;
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("print.pdf"));
        Fixture f;
        QObject context;
        QString shownBefore, shownAfter, statusAfter;
        bool openAfter = false;
        whenShown(&context, QString(), [&](PreviewWindow& w) {
            shownBefore = w.store().pages.value(0).plainText();
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            w.setPrinterForTesting(&printer);
            f.figure = QStringLiteral("Figure 2"); // the figures changed since the preview was made
            f.failFigure = failFigure;
            w.action(PreviewWindow::Print)->trigger();
            w.setPrinterForTesting(nullptr);
            openAfter = w.isVisible() && !QApplication::activeModalWidget();
            shownAfter = w.store().pages.value(0).plainText();
            statusAfter = w.statusText();
        });
        preview(f.report);

        QCOMPARE(f.beforePrints, 2);
        QCOMPARE(f.figurePrints, 2);
        QVERIFY(openAfter);
        QCOMPARE(shownAfter, shownBefore);
        QVERIFY(shownBefore.contains(QStringLiteral("Figure 1")));
        QCOMPARE(statusAfter, QStringLiteral("Page 1 of 1"));
        QVERIFY2(QFileInfo::exists(pdf), "nothing reached the printer");
        const QString text = pdfText(pdf);
        for (const QString& line : printed)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" is missing from:\n") + text));
        for (const QString& line : notPrinted)
            QVERIFY2(!text.contains(line), qPrintable(line + QStringLiteral(" was printed:\n") + text));
        QCOMPARE(fakes.messages.errors, errors);
    }

    // The setup dialog works on the window's printer, so what is chosen there (here set
    // directly, as the dialog would) holds for the following prints.
    void printerSetupChoicesHoldForPrints()
    {
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("range.pdf"));
        Fixture f(QStringLiteral("Long"), 60);
        QObject context;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QPrinter* dialogPrinter = nullptr;
        whenShown(
            &context, QStringLiteral("Long"),
            [&](PreviewWindow& w) {
                w.setPrinterForTesting(&printer);
                QTimer::singleShot(0, &context, [&] {
                    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                        dialogPrinter = dialog->printer();
                        dialog->reject();
                    }
                });
                w.action(PreviewWindow::PrinterSetup)->trigger();
                printer.setPrintRange(QPrinter::PageRange);
                printer.setFromTo(2, 3);
                printer.setCopyCount(2);
                w.action(PreviewWindow::Print)->trigger();
                w.setPrinterForTesting(nullptr);
            },
            3);
        preview(f.report);

        QCOMPARE(dialogPrinter, &printer);
        QCOMPARE(f.beforePrints, 2);
        QStringList firstRows;
        for (const QString& page : pdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts))
            firstRows << page.section(QLatin1Char('\n'), 0, 0).trimmed();
        // Pages 2 and 3 start with the rows that did not fit on page 1.
        QCOMPARE(firstRows.size(), 4);
        QCOMPARE(firstRows[0], firstRows[2]);
        QCOMPARE(firstRows[1], firstRows[3]);
        QVERIFY2(firstRows[0].startsWith(QStringLiteral("Row ")) && firstRows[0] != QStringLiteral("Row 1"),
                 qPrintable(firstRows.join(QLatin1Char('|'))));
    }

    void withoutPrinterPrintingDoesNothing()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed on this machine");
        test::FakeSeams fakes;
        Fixture f;
        QObject context;
        QStringList windowsWhilePrinting;
        bool dialogShown = false;
        whenShown(&context, QString(), [&](PreviewWindow& w) {
            // A dialog that opened would wait for an answer: close it and remember it.
            QTimer::singleShot(0, &context, [&] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    dialogShown = true;
                    modal->close();
                }
            });
            w.action(PreviewWindow::Print)->trigger();
            w.action(PreviewWindow::PrinterSetup)->trigger();
            QCoreApplication::processEvents();
            windowsWhilePrinting = test::openTopLevelWindows();
        });
        preview(f.report);

        QCOMPARE(f.beforePrints, 1);
        QVERIFY(!dialogShown);
        QCOMPARE(windowsWhilePrinting.size(), 1);
        QVERIFY(fakes.messages.errors.isEmpty());
    }

    void failingGenerationEndsThePreview_data()
    {
        QTest::addColumn<bool>("failBeforePrint");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("figurePrints");
        QTest::newRow("the before-print step fails") << true << "The statement was rejected" << 0;
        QTest::newRow("a print step fails") << false << "Figures are not available" << 1;
    }

    void failingGenerationEndsThePreview()
    {
        QFETCH(bool, failBeforePrint);
        QFETCH(QString, message);
        QFETCH(int, figurePrints);
        Fixture f;
        f.failBeforePrint = failBeforePrint;
        f.failFigure = !failBeforePrint;
        QObject context;
        whenShown(&context, QString(), [](PreviewWindow&) {}); // would end a preview that waited
        QString thrown;
        try {
            preview(f.report);
        } catch (const Error& e) {
            thrown = e.message();
        }
        QCOMPARE(thrown, message);
        QCOMPARE(f.figurePrints, figurePrints);
        QCOMPARE(f.rowPrints, 0);
        QVERIFY2(previewWindows().isEmpty(), "the window outlived the failed preview");
    }

    void closingStopsTheGeneration_data()
    {
        QTest::addColumn<bool>("afterFirstRow"); // otherwise right after the before-print step
        QTest::addColumn<int>("figurePrints");
        QTest::addColumn<int>("rowPrints");
        QTest::newRow("closed before the title band") << false << 0 << 0;
        QTest::newRow("closed after the first of five rows") << true << 1 << 1;
    }

    void closingStopsTheGeneration()
    {
        QFETCH(bool, afterFirstRow);
        QFETCH(int, figurePrints);
        QFETCH(int, rowPrints);
        Fixture f(QString(), 5);
        QObject context;
        // The close arrives with the next handling of messages, as the user's would.
        auto closeSoon = [&] { QTimer::singleShot(0, &context, &closePreviewWindows); };
        if (afterFirstRow)
            f.afterRow = closeSoon;
        else
            f.afterBeforePrint = closeSoon;
        preview(f.report); // returns without anyone closing the window again

        QCOMPARE(f.figurePrints, figurePrints);
        QCOMPARE(f.rowPrints, rowPrints);
        QVERIFY(previewWindows().isEmpty());
    }

    void secondPreviewInsideTheFirst()
    {
        Fixture first(QStringLiteral("First"));
        Fixture second(QStringLiteral("Second"));
        QObject context;
        QStringList events;
        whenShown(&context, QStringLiteral("First"), [&](PreviewWindow& w) {
            whenShown(&context, QStringLiteral("Second"), [&](PreviewWindow&) {
                events << (w.isVisible() ? QStringLiteral("first open") : QStringLiteral("first gone"));
                w.close(); // the first window closes while the second still waits
            });
            preview(second.report);
            events << QStringLiteral("second returned");
        });
        preview(first.report);
        events << QStringLiteral("first returned");

        QCOMPARE(events, (QStringList{"first open", "second returned", "first returned"}));
        QCOMPARE(first.beforePrints, 1);
        QCOMPARE(second.beforePrints, 1);
    }

    // Last, as it ends the application's loop. Quitting reaches the preview's wait through
    // the application's own loop, so the preview runs inside it here.
    void endingApplicationEndsThePreview()
    {
        Fixture f;
        QObject context;
        bool returned = false;
        QTimer::singleShot(0, &context, [&] {
            preview(f.report);
            returned = true;
        });
        whenShown(
            &context, QString(), [](PreviewWindow&) { QCoreApplication::quit(); }, 1,
            /*closeAfterwards=*/false);
        QCoreApplication::exec();
        QVERIFY(returned);
        QVERIFY(previewWindows().isEmpty());
    }
};

int main(int argc, char** argv)
{
    Application app(argc, argv);
    PreviewTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_preview.moc"
