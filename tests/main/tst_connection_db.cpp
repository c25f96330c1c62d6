// The main window's connection: attach, the three lists, refusals, and closing.
#include "../fixtures/TinyPractice.h"
#include "TestSupport.h"
#include "main/TfrmMain.h"
#include "platform/app/TickGrid.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"

#include <QtTest>

using namespace quorvel;
namespace tiny = quorvel::fixtures::tiny;

class ConnectionTest : public QObject {
    Q_OBJECT
    QString path_;

private slots:
    void initTestCase() { path_ = test::makePracticeDatabase(QStringLiteral("connection-tiny.fdb")); }

    void cleanup()
    {
        test::verifyNoWindowLeft();
    }

    void connectsAndFillsTheLists()
    {
        test::FakeSeams fakes;
        TfrmMain w;
        QStringList opened;
        for (auto [list, name] : {std::pair{w.GP.get(), "GP"}, {w.Cons.get(), "Cons"}, {w.Insurance.get(), "Insurance"}}) {
            auto original = list->beforeOpen;
            list->beforeOpen = [&opened, original, name = QString::fromLatin1(name)](fb::Query& q) {
                opened << name;
                original(q);
            };
        }
        w.Connect(QStringLiteral("LOCALHOST"), path_, test::firebirdUser(), test::firebirdPassword());
        QVERIFY2(fakes.messages.informations.isEmpty(), qPrintable(fakes.messages.informations.join('\n')));
        QCOMPARE(w.statusText(), QStringLiteral("Connected to LOCALHOST:") + path_);
        QCOMPARE(w.DB->databaseName(), QStringLiteral("LOCALHOST:") + path_);
        QCOMPARE(opened, (QStringList{"GP", "Cons", "Insurance"}));
        QVERIFY(w.IBTransaction1->inTransaction() && w.IBTransaction2->inTransaction()
                && w.IBTransaction3->inTransaction());

        QCOMPARE(w.Ins->recordCount(), int(tiny::companyList.size()));
        for (int r = 0; r < w.Ins->recordCount(); ++r) {
            QCOMPARE(w.Ins->value(r, QStringLiteral("Comnumber")).toInt(), tiny::companyList[r].comNumber);
            const QVariant name = w.Ins->value(r, QStringLiteral("Name"));
            QCOMPARE(name.isNull(), tiny::companyList[r].name == nullptr);
            if (tiny::companyList[r].name)
                QCOMPARE(name.toString(), QString::fromLatin1(tiny::companyList[r].name));
        }
        for (TickGrid* grid : {w.GPGrid, w.ConsGrid}) {
            QCOMPARE(grid->recordCount(), int(tiny::referralList.size()));
            for (int r = 0; r < grid->recordCount(); ++r) {
                const QVariant referral = grid->value(r, QStringLiteral("Referral"));
                QCOMPARE(referral.isNull(), tiny::referralList[r] == nullptr);
                if (tiny::referralList[r])
                    QCOMPARE(referral.toString(), QString::fromLatin1(tiny::referralList[r])); // 0xFC is ü
            }
        }

        // Closing commits the companies' transaction once, closes the lists and disconnects.
        int insuranceCloses = 0;
        auto original = w.Insurance->afterClose;
        w.Insurance->afterClose = [&](fb::Query& q) {
            ++insuranceCloses;
            original(q);
        };
        int disconnects = 0;
        w.DB->afterDisconnect = [&] {
            ++disconnects;
            w.DBAfterDisconnect();
        };
        w.FirstActivate = false; // logged in above: no chooser
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.close();
        QCOMPARE(insuranceCloses, 1);
        QCOMPARE(disconnects, 1);
        QVERIFY(!w.DB->connected());
        QVERIFY(!w.IBTransaction1->inTransaction() && !w.IBTransaction2->inTransaction()
                && !w.IBTransaction3->inTransaction());
        QCOMPARE(w.statusText(), QStringLiteral("Not Connected"));
        QVERIFY(fakes.messages.errors.isEmpty());
    }

    void refusalsAreShownAndLeaveTheWindowUnconnected_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("words");
        QTest::newRow("wrong password") << "SYSDBA" << "not-the-password" << "" << "user name and password";
        QTest::newRow("no such database") << "SYSDBA" << "<real>" << "/nowhere/none.gdb" << "";
        QTest::newRow("empty user name and password") << "" << "" << "" << "";
    }

    void refusalsAreShownAndLeaveTheWindowUnconnected()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, file);
        QFETCH(QString, words);
        // Empty credentials fall back on nothing: the process must not lend its own.
        qunsetenv("ISC_USER");
        qunsetenv("ISC_PASSWORD");
        test::FakeSeams fakes;
        TfrmMain w;
        w.Connect(QStringLiteral("LOCALHOST"), file.isEmpty() ? path_ : file,
                  user == "SYSDBA" ? test::firebirdUser() : user,
                  password == "<real>" ? test::firebirdPassword() : password);
        QCOMPARE(fakes.messages.informations.size(), 1);
        QCOMPARE(fakes.messages.informationTitles.value(0), QStringLiteral("Information"));
        QVERIFY2(fakes.messages.informations[0].contains(words), qPrintable(fakes.messages.informations[0]));
        QVERIFY(!w.DB->connected());
        QCOMPARE(w.statusText(), QStringLiteral("Not Connected"));
        QCOMPARE(w.Ins->recordCount(), 0);
        QCOMPARE(w.ConnServer, QStringLiteral("LOCALHOST")); // the attempt's values stay
        if (user.isEmpty())
            QVERIFY(w.DB->params().filter(QStringLiteral("user_name"), Qt::CaseInsensitive).isEmpty());
    }

    void aFailingListStopsTheOnesAfterIt()
    {
        // A practice database without the companies table: GP and Cons open, Insurance fails.
        const QString broken = test::makePracticeDatabase(QStringLiteral("connection-nohealthco.fdb"));
        test::runIsql(broken, QStringLiteral("drop table healthco;"));
        test::FakeSeams fakes;
        TfrmMain w;
        w.Connect(QStringLiteral("LOCALHOST"), broken, test::firebirdUser(), test::firebirdPassword());
        QCOMPARE(fakes.messages.informations.size(), 1);
        QVERIFY(fakes.messages.informations[0].contains(QStringLiteral("HEALTHCO"), Qt::CaseInsensitive));
        QVERIFY(w.DB->connected());
        QVERIFY(w.statusText().startsWith(QStringLiteral("Connected to ")));
        QVERIFY(w.GP->isOpen());
        QVERIFY(w.Cons->isOpen());
        QVERIFY(!w.Insurance->isOpen());
        QVERIFY(w.IBTransaction1->inTransaction()); // stays active until the connection closes
        w.DB->close();
        QVERIFY(!w.IBTransaction1->inTransaction());
    }

    void aFailingFirstListLeavesAllClosed()
    {
        const QString broken = test::makePracticeDatabase(QStringLiteral("connection-nopatper.fdb"));
        test::runIsql(broken, QStringLiteral("drop table patper;"));
        test::FakeSeams fakes;
        TfrmMain w;
        w.Connect(QStringLiteral("LOCALHOST"), broken, test::firebirdUser(), test::firebirdPassword());
        QCOMPARE(fakes.messages.informations.size(), 1);
        QVERIFY(w.DB->connected());
        QVERIFY(!w.GP->isOpen() && !w.Cons->isOpen() && !w.Insurance->isOpen());
    }
};

QTEST_MAIN(ConnectionTest)
#include "tst_connection_db.moc"
