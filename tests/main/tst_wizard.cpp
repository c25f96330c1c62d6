// The wizard window: start state, navigation, guidance texts, default period, closing.
#include "TestSupport.h"
#include "main/GuidanceTexts.h"
#include "main/TfrmMain.h"
#include "platform/app/DatePicker.h"
#include "platform/app/PageControl.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace quorvel;

class WizardTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        test::verifyNoWindowLeft();
    }

    void startState()
    {
        test::FakeSeams fakes;
        TfrmMain w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Quorvel Insurance Statistics"));
        QCOMPARE(w.cxPageControl1->activePageIndex(), 0);
        QVERIFY(!w.back->isEnabled());
        QVERIFY(w.next->isEnabled());
        QVERIFY(!w.cxButton1->isEnabled());
        QCOMPARE(w.Memo1->toPlainText(), guidance::page1);
        QCOMPARE(w.statusText(), QStringLiteral("Not Connected"));
        QVERIFY(w.ShowLogin);
        QVERIFY(w.FirstActivate);
        QVERIFY(w.CompanyNumbers && w.CompanyNumbers->isEmpty());
        QVERIFY(w.GPReferrals && w.GPReferrals->isEmpty());
        QVERIFY(w.ConsultantReferrals && w.ConsultantReferrals->isEmpty());
        QCOMPARE(w.size(), QSize(609, 400));
        QCOMPARE(w.back->text(), QStringLiteral("< Back"));
        QCOMPARE(w.next->text(), QStringLiteral("Next >"));
        QCOMPARE(w.cxButton1->text(), QStringLiteral("Report"));
    }

    void guidanceTextsHaveTheirLengths()
    {
        QCOMPARE(guidance::page1.size(), 277);
        QCOMPARE(guidance::page2.size(), 185);
        QCOMPARE(guidance::page3.size(), 221);
        QCOMPARE(guidance::page4.size(), 99);
    }

    void nextThenBackWalksAllPages()
    {
        test::FakeSeams fakes;
        TfrmMain w;
        struct Expected {
            bool back, next, report;
            const QString* text;
        };
        const Expected pages[] = {{false, true, false, &guidance::page1},
                                  {true, true, false, &guidance::page2},
                                  {true, true, false, &guidance::page3},
                                  {true, false, true, &guidance::page4}};
        auto check = [&](int index) {
            QCOMPARE(w.cxPageControl1->activePageIndex(), index);
            QCOMPARE(w.back->isEnabled(), pages[index].back);
            QCOMPARE(w.next->isEnabled(), pages[index].next);
            QCOMPARE(w.cxButton1->isEnabled(), pages[index].report);
            QCOMPARE(w.Memo1->toPlainText(), *pages[index].text);
        };
        for (int i = 1; i <= 3; ++i) {
            QTest::mouseClick(w.next, Qt::LeftButton);
            check(i);
        }
        w.nextClick(); // already on the last page: nothing happens
        check(3);
        for (int i = 2; i >= 0; --i) {
            QTest::mouseClick(w.back, Qt::LeftButton);
            check(i);
        }
        w.backClick();
        check(0);
    }

    void backFromLastPageDisablesReport()
    {
        test::FakeSeams fakes;
        TfrmMain w;
        w.cxPageControl1->setActivePageIndex(3);
        QVERIFY(w.cxButton1->isEnabled());
        w.backClick();
        QCOMPARE(w.cxPageControl1->activePageIndex(), 2);
        QVERIFY(!w.cxButton1->isEnabled());
        QVERIFY(w.next->isEnabled());
    }

    void memoNeverHoldsTwoTexts()
    {
        test::FakeSeams fakes;
        TfrmMain w;
        for (int i = 0; i < 3; ++i)
            w.nextClick();
        w.backClick();
        QCOMPARE(w.Memo1->document()->blockCount(), 1);
        QCOMPARE(w.Memo1->toPlainText(), guidance::page3);
    }

    void defaultPeriod_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("start");
        QTest::newRow("1 March 2024 (leap year)") << QDate(2024, 3, 1) << QDate(2023, 3, 3);
        QTest::newRow("15 June 2023") << QDate(2023, 6, 15) << QDate(2022, 6, 16);
    }

    void defaultPeriod()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, start);
        test::FakeSeams fakes(today);
        TfrmMain w;
        QCOMPARE(w.Enddate->date(), today);
        QCOMPARE(w.StartDate->date(), start);
        QCOMPARE(w.StartDate->dateTime().time(), QTime(0, 0));
        QCOMPARE(w.Enddate->dateTime().time(), QTime(0, 0));
    }

    void datePickersHoldWholeDatesAndNoLimits()
    {
        test::FakeSeams fakes;
        TfrmMain w;
        w.StartDate->setDateTime(QDateTime(QDate(2020, 5, 6), QTime(13, 45)));
        QCOMPARE(w.StartDate->dateTime().time(), QTime(0, 0));
        w.StartDate->setDate(QDate(1899, 12, 30));
        QCOMPARE(w.StartDate->date(), QDate(1899, 12, 30));
        w.Enddate->setDate(QDate(2200, 1, 1));
        QCOMPARE(w.Enddate->date(), QDate(2200, 1, 1));
        QVERIFY(w.StartDate->calendarPopup());
        QCOMPARE(w.StartDate->geometry(), QRect(112, 40, 186, 23));
        QCOMPARE(w.Enddate->geometry(), QRect(112, 89, 186, 23));
        // Shown in the short date format the report's period line uses (the C locale's default here).
        QCOMPARE(w.Enddate->text(), QStringLiteral("01/01/2200"));
    }

    void activationRunsOnce()
    {
        test::FakeSeams fakes;
        TfrmMain w;
        w.ShowLogin = false; // the chooser is the login tests' business
        w.FormActivate();
        QVERIFY(!w.FirstActivate);
        w.ShowLogin = true; // a later activation must not open the chooser (it would block here)
        w.FormActivate();
        w.FormActivate();
        QVERIFY(!w.FirstActivate);
    }

    void closingWithoutConnection()
    {
        test::FakeSeams fakes;
        TfrmMain w;
        w.ShowLogin = false; // no chooser: this window never logs in
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.FirstActivate);
        QVERIFY(w.close());
        QVERIFY(fakes.messages.errors.isEmpty());
        QCOMPARE(w.statusText(), QStringLiteral("Not Connected"));
        QVERIFY(w.CompanyNumbers == nullptr);
    }
};

QTEST_MAIN(WizardTest)
#include "tst_wizard.moc"
