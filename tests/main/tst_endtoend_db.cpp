// From ticks to report: log in through the settings file and both dialogs, tick companies and
// referral values, choose the period, press Report and read the preview's pages.
#include "../fixtures/TinyPractice.h"
#include "TestSupport.h"
#include "details/TfrmDetails.h"
#include "login/TfrmLogIn.h"
#include "main/TfrmMain.h"
#include "platform/app/DatePicker.h"
#include "platform/app/PageControl.h"
#include "platform/app/TickGrid.h"
#include "platform/app/TreeView.h"
#include "platform/reporting/PreviewWindow.h"

#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel;

namespace {

// Closes whatever modal or preview window a failed check would leave open.
struct CloseLeftovers {
    ~CloseLeftovers()
    {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    }
};

reporting::PreviewWindow* previewWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* preview = qobject_cast<reporting::PreviewWindow*>(w); preview && preview->isVisible())
            return preview;
    return nullptr;
}

QMap<QString, QString> printedTexts(const reporting::Page& page)
{
    QMap<QString, QString> texts;
    for (const reporting::PageItem& item : page.texts())
        texts[item.element] += (texts.contains(item.element) ? QStringLiteral(" ") : QString()) + item.text;
    return texts;
}

int recordOf(const TickGrid* grid, const QString& column, const QVariant& value)
{
    for (int r = 0; r < grid->recordCount(); ++r)
        if (grid->value(r, column) == value)
            return r;
    return -1;
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
    QTemporaryDir config_;
    QString database_;

    // Presses Report and runs check on the preview once its first page is finished, then
    // closes the preview. False when no preview showed.
    static bool withPreview(TfrmMain& w, const std::function<void(reporting::PreviewWindow&)>& check)
    {
        bool seen = false;
        std::function<void()> look;
        look = [&] {
            CloseLeftovers guard;
            reporting::PreviewWindow* preview = previewWindow();
            // The store grows while the report is generated; the preview shows a page once it is finished.
            if (!preview || preview->previewWidget()->pageCount() == 0) {
                QTimer::singleShot(50, look);
                return;
            }
            seen = true;
            check(*preview);
            preview->close();
        };
        QTimer::singleShot(0, look);
        QTest::mouseClick(w.cxButton1, Qt::LeftButton);
        return seen;
    }

    // Presses Report and returns the texts of the preview's first page.
    static QMap<QString, QString> report(TfrmMain& w)
    {
        QMap<QString, QString> texts;
        withPreview(w, [&](reporting::PreviewWindow& preview) { texts = printedTexts(preview.store().pages[0]); });
        return texts;
    }

private slots:
    void initTestCase()
    {
        QDir().mkpath(test::databaseFolder() + QStringLiteral("/endtoend"));
        QFile::setPermissions(test::databaseFolder() + QStringLiteral("/endtoend"), QFileDevice::Permissions(0x7777));
        database_ = test::makePracticeDatabase(QStringLiteral("endtoend/PRACTICE.GDB"));
        QDir(config_.path()).mkpath(QStringLiteral("quorvel"));
        QFile settings(config_.filePath(QStringLiteral("quorvel/registry.reg")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                      "[HKEY_CURRENT_USER\\software\\quorvel\\current]\r\n"
                                      "\"Current Database\"=\"%1\"\r\n\"Server\"=\"localhost\"\r\n")
                           .arg(database_)
                           .toUtf8());
        settings.close();
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    }

    void cleanup()
    {
        test::verifyNoWindowLeft();
    }

    void fromLoginToReport()
    {
        test::FakeSeams fakes(QDate(2024, 6, 1));
        TfrmMain w;

        // The chooser opens on the first activation: pick PRACTICE.GDB under "Local", then
        // give the password in the credentials dialog.
        bool chose = false;
        std::function<void()> pick;
        pick = [&] {
            auto* chooser = qobject_cast<TfrmLogIn*>(QApplication::activeModalWidget());
            if (!chooser) {
                QTimer::singleShot(20, pick);
                return;
            }
            CloseLeftovers guard;
            QTreeWidgetItem* local = chooser->fileview->topLevelItem(0);
            QCOMPARE(local->text(0), QStringLiteral("Local"));
            QCOMPARE(local->childCount(), 1);
            chooser->fileview->setCurrentItem(local->child(0));
            QTimer::singleShot(50, [&] {
                CloseLeftovers inner;
                auto* details = qobject_cast<TfrmDetails*>(QApplication::activeModalWidget());
                QVERIFY(details);
                details->username->setText(test::firebirdUser());
                QTest::keyClicks(details->password, test::firebirdPassword());
                QTest::mouseClick(details->cxButton1, Qt::LeftButton);
                chose = true;
            });
            chooser->fileviewDblClick();
        };
        QTimer::singleShot(0, pick);
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(chose, 30000);
        QVERIFY2(fakes.messages.informations.isEmpty(), qPrintable(fakes.messages.informations.join('\n')));
        QCOMPARE(w.statusText(), QStringLiteral("Connected to LOCALHOST:") + database_);

        // Ticks: sorting one grid and filtering a ticked row out of view change nothing.
        w.Ins->view()->sortByColumn(0, Qt::DescendingOrder);
        w.Ins->model()->toggle(recordOf(w.Ins, QStringLiteral("Comnumber"), 23), 2);
        w.Ins->model()->toggle(recordOf(w.Ins, QStringLiteral("Comnumber"), 24), 2);
        const int beacon = recordOf(w.Ins, QStringLiteral("Comnumber"), 25);
        w.Ins->model()->toggle(beacon, 2);
        w.Ins->model()->toggle(beacon, 2); // ticked, then unticked: does not count
        for (const char* gp : {"Dr M\xFCller", "Dr O'Neill", "Dr Patel"})
            w.GPGrid->model()->toggle(recordOf(w.GPGrid, QStringLiteral("Referral"), QString::fromLatin1(gp)), 1);
        w.GPGrid->filterBox()->setText(QStringLiteral("Patel"));
        for (const char* cons : {"Mr Hughes (Ortho)", "Ms Khan (Derm)"})
            w.ConsGrid->model()->toggle(recordOf(w.ConsGrid, QStringLiteral("Referral"), QString::fromLatin1(cons)), 1);
        w.StartDate->setDate(QDate(2024, 1, 1));
        w.Enddate->setDate(QDate(2024, 3, 31));
        for (int i = 0; i < 3; ++i)
            w.nextClick();
        QVERIFY(w.cxButton1->isEnabled());

        const QMap<QString, QString> first = report(w);
        QVERIFY2(fakes.messages.errors.isEmpty(), qPrintable(fakes.messages.errors.join('\n')));
        QCOMPARE(first.value(QStringLiteral("QRLabel10")), QStringLiteral("Quorvel Report for Insurance Activity"));
        QVERIFY(first.value(QStringLiteral("QRLabel11")).startsWith(QStringLiteral("Period: ")));
        QVERIFY(first.value(QStringLiteral("QRLabel12"))
                    .startsWith(QStringLiteral("During this period, this clinic performed a total of 16 treatments.")));
        QVERIFY(first.value(QStringLiteral("QRLabel12")).endsWith(QStringLiteral("75.00 %")));
        QVERIFY2(first.value(QStringLiteral("QRLabel13"))
                     .startsWith(QStringLiteral("Report specific details for North Care South Mutual . This selection "
                                                "represents")),
                 qPrintable(first.value(QStringLiteral("QRLabel13"))));
        const std::pair<const char*, const char*> figures[] = {
            {"QRDBText1", "9"}, {"QRDBText2", "6"}, {"QRDBText4", "4"},       {"QRDBText5", "3"},
            {"QRDBText7", "3"}, {"QRDBText8", "2"}, {"QRLabel15", "    1.50"}, {"QRLabel17", "    1.33"},
            {"QRLabel19", "    1.50"}};
        for (auto [element, text] : figures)
            QCOMPARE(first.value(QString::fromLatin1(element)), QString::fromLatin1(text));
        QCOMPARE(*w.CompanyNumbers, (QList<qint32>{24, 23})); // record order, not the grid's sort
        QCOMPARE(w.GPReferrals->size(), 3);
        QVERIFY(!fakes.cursor.hourglass);
        QCOMPARE(w.cxPageControl1->activePageIndex(), 3);

        // Report again: the same texts, nothing doubled.
        QCOMPARE(report(w), first);
        QCOMPARE(w.CompanyNumbers->size(), 2);

        // A ticked company without a name stops the step before any holder exists.
        fakes.cursor.changes.clear();
        w.Ins->model()->toggle(recordOf(w.Ins, QStringLiteral("Comnumber"), 22), 2);
        QTest::mouseClick(w.cxButton1, Qt::LeftButton);
        QCOMPARE(fakes.messages.errors,
                 QStringList{QStringLiteral("Could not convert variant of type (Null) into type (String)")});
        QVERIFY(fakes.cursor.changes.isEmpty());
        QVERIFY(!previewWindow());

        // Nothing ticked: the server refuses the statement and the window goes on.
        fakes.messages.errors.clear();
        for (TickGrid* grid : {w.Ins, w.GPGrid, w.ConsGrid})
            for (int r = 0; r < grid->recordCount(); ++r)
                grid->model()->setTick(r, grid->model()->columnCount() - 1, false);
        QTest::mouseClick(w.cxButton1, Qt::LeftButton);
        QCOMPARE(fakes.messages.errors.size(), 1);
        QVERIFY2(fakes.messages.errors[0].contains(QStringLiteral("Token unknown")), qPrintable(fakes.messages.errors[0]));
        QVERIFY(!fakes.cursor.hourglass);
        QVERIFY(!previewWindow());
        QVERIFY(w.isVisible());
        w.close();
    }

    // Printing generates the report anew from the database: a figure changed since the preview
    // was made prints changed, while the preview keeps showing what it showed.
    void printingFromThePreviewReadsTheDatabaseAgain()
    {
        test::FakeSeams fakes(QDate(2024, 6, 1));
        TfrmMain w;
        w.FirstActivate = false;
        w.show();
        w.Connect(QStringLiteral("localhost"), database_, test::firebirdUser(), test::firebirdPassword());
        for (int company : {23, 24})
            w.Ins->model()->toggle(recordOf(w.Ins, QStringLiteral("Comnumber"), company), 2);
        w.GPGrid->model()->toggle(recordOf(w.GPGrid, QStringLiteral("Referral"), QStringLiteral("Dr Patel")), 1);
        w.ConsGrid->model()->toggle(recordOf(w.ConsGrid, QStringLiteral("Referral"), QStringLiteral("Ms Khan (Derm)")),
                                    1);
        w.StartDate->setDate(QDate(2024, 1, 1));
        w.Enddate->setDate(QDate(2024, 3, 31));
        for (int i = 0; i < 3; ++i)
            w.nextClick();

        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("printed.pdf"));
        const QString raise = QStringLiteral(
            "update pattreat set charge = charge + 100 where treatnumber = (select min(treatnumber) from pattreat "
            "where ishealthtreat = '1' and dat_ between '2024-01-01' and '2024-03-31' and accnumber in "
            "(select accnumber from patper where comnumber in (23, 24)));");
        QString shownBefore, shownAfter;
        QVERIFY(withPreview(w, [&](reporting::PreviewWindow& preview) {
            shownBefore = preview.store().pages[0].plainText();
            test::runIsql(database_, raise);
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            preview.setPrinterForTesting(&printer);
            preview.action(reporting::PreviewWindow::Print)->trigger();
            preview.setPrinterForTesting(nullptr);
            shownAfter = preview.store().pages[0].plainText();
        }));
        test::runIsql(database_, QString(raise).replace(QStringLiteral("+ 100"), QStringLiteral("- 100")));

        QVERIFY2(fakes.messages.errors.isEmpty(), qPrintable(fakes.messages.errors.join('\n')));
        QVERIFY2(shownBefore.contains(QStringLiteral("$661.75")), qPrintable(shownBefore));
        QCOMPARE(shownAfter, shownBefore);
        QProcess tool;
        tool.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(tool.waitForFinished(60000));
        const QString text = QString::fromUtf8(tool.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("$761.75")) && !text.contains(QStringLiteral("$661.75")), qPrintable(text));
        w.close();
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend_db.moc"
