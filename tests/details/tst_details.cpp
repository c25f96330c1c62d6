// The credentials dialog: its defined window, Ok following the password text, Enter, Ok and
// the close box, and the two texts it hands on.
#include "TestSupport.h"
#include "details/TfrmDetails.h"
#include "platform/app/Application.h"
#include "platform/app/Look.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

using namespace quorvel;

namespace {

// What the window's close box does: the window system asks the window to close.
void pressCloseBox(QWidget* window)
{
    QCloseEvent close;
    QApplication::sendEvent(window->windowHandle(), &close);
}

} // namespace

class DetailsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        test::verifyNoWindowLeft();
    }

    void definedWindow()
    {
        TfrmDetails d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Quorvel Database Log In Details"));
        QCOMPARE(d.minimumSize(), QSize(280, 173));
        QCOMPARE(d.maximumSize(), QSize(280, 173));
        QVERIFY(d.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(d.palette().color(QPalette::Window), look::panelColour());
        QVERIFY(d.autoFillBackground());
        QCOMPARE(d.font().pixelSize(), 12);

        QCOMPARE(d.Label1->text(), QStringLiteral("User Name:"));
        QCOMPARE(d.Label1->pos(), QPoint(33, 25));
        QCOMPARE(d.Label2->text(), QStringLiteral("Password:"));
        QCOMPARE(d.Label2->pos(), QPoint(33, 62));
        QCOMPARE(d.username->geometry(), QRect(111, 21, 121, 21));
        QCOMPARE(d.username->text(), QStringLiteral("SYSDBA"));
        QCOMPARE(d.password->geometry(), QRect(111, 61, 121, 21));
        QCOMPARE(d.password->text(), QString());
        d.password->setText(QStringLiteral("a b"));
        QCOMPARE(d.password->displayText(), QStringLiteral("***"));
        d.password->clear();
        QCOMPARE(d.cxButton1->text(), QStringLiteral("Ok"));
        QCOMPARE(d.cxButton1->geometry(), QRect(157, 110, 75, 25));
        QVERIFY(d.cxButton1->isDefault());
        QVERIFY(!d.cxButton1->isEnabled());
        QVERIFY(d.EnteredUser.isEmpty());
        QVERIFY(d.EnteredPassword.isEmpty());
    }

    void tabOrder()
    {
        TfrmDetails d;
        d.show();
        d.activateWindow(); // no window manager does it under a bare X server
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(QApplication::focusWidget(), d.username);
        d.password->setText(QStringLiteral("x")); // Ok takes focus only while enabled
        QList<QWidget*> visited;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        QCOMPARE(visited, (QList<QWidget*>{d.password, d.cxButton1, d.username}));
        d.close();
    }

    void run_data()
    {
        QTest::addColumn<bool>("clearUser");
        QTest::addColumn<QString>("userKeys");
        QTest::addColumn<QString>("passwordKeys");
        QTest::addColumn<int>("backspaces");
        QTest::addColumn<bool>("okEnabled");
        QTest::addColumn<QString>("finish"); // "Ok", "Enter" or "close box"
        QTest::addColumn<bool>("closes");    // when it does not, the close box ends the run
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");

        const int ok = QDialog::Accepted;
        const int cancel = QDialog::Rejected;
        QTest::newRow("one character enables Ok; Ok hands both texts on")
            << false << ""
            << "x" << 0 << true << "Ok" << true << ok << "SYSDBA"
            << "x";
        QTest::newRow("deleting the character disables Ok again; Enter does nothing")
            << false << ""
            << "x" << 1 << false << "Enter" << false << cancel << ""
            << "";
        QTest::newRow("a single space enables Ok and is handed on unchanged")
            << false << ""
            << " " << 0 << true << "Enter" << true << ok << "SYSDBA"
            << " ";
        QTest::newRow("an emptied user name does not disable Ok")
            << true << ""
            << "pw" << 0 << true << "Ok" << true << ok << ""
            << "pw";
        QTest::newRow("Enter with an empty password does nothing")
            << false << ""
            << "" << 0 << false << "Enter" << false << cancel << ""
            << "";
        QTest::newRow("Enter with a password presses Ok")
            << true << "alice"
            << "s3 cret" << 0 << true << "Enter" << true << ok << "alice"
            << "s3 cret";
        QTest::newRow("close box after typing leaves both texts empty")
            << true << "bob"
            << "secret" << 0 << true << "close box" << true << cancel << ""
            << "";
    }

    void run()
    {
        QFETCH(bool, clearUser);
        QFETCH(QString, userKeys);
        QFETCH(QString, passwordKeys);
        QFETCH(int, backspaces);
        QFETCH(bool, okEnabled);
        QFETCH(QString, finish);
        QFETCH(bool, closes);
        QFETCH(int, result);
        QFETCH(QString, user);
        QFETCH(QString, password);

        test::FakeSeams fakes;
        TfrmDetails d;
        bool enabledBeforeFinish = false;
        bool closedByFinish = false;
        QTimer::singleShot(0, &d, [&] {
            // Whatever happens here, the dialog ends so that exec() returns.
            const auto end = qScopeGuard([&] {
                if (d.isVisible())
                    pressCloseBox(&d);
            });
            if (QApplication::activeModalWidget() != &d)
                return;
            if (clearUser) {
                QTest::keyClick(d.username, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(d.username, Qt::Key_Backspace);
            }
            QTest::keyClicks(d.username, userKeys);
            QTest::keyClicks(d.password, passwordKeys);
            for (int i = 0; i < backspaces; ++i)
                QTest::keyClick(d.password, Qt::Key_Backspace);
            enabledBeforeFinish = d.cxButton1->isEnabled();
            if (finish == QLatin1String("Ok"))
                QTest::mouseClick(d.cxButton1, Qt::LeftButton);
            else if (finish == QLatin1String("Enter"))
                QTest::keyClick(d.password, Qt::Key_Return);
            else
                pressCloseBox(&d);
            closedByFinish = !d.isVisible();
        });
        QCOMPARE(d.exec(), result);
        QCOMPARE(enabledBeforeFinish, okEnabled);
        QCOMPARE(closedByFinish, closes);
        QCOMPARE(d.EnteredUser, user);
        QCOMPARE(d.EnteredPassword, password);
        QVERIFY(fakes.messages.errors.isEmpty());
    }
};

// Under the program's own look, as the dialog is seen.
int main(int argc, char** argv)
{
    Application app(argc, argv);
    applyLook(app);
    DetailsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_details.moc"
