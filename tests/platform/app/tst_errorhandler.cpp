// The top-level error handler: the error box's text, and exceptions thrown in handlers.
#include "TestSupport.h"
#include "platform/app/Application.h"
#include "platform/app/Error.h"
#include "platform/app/ErrorHandler.h"

#include <QPushButton>
#include <QtTest>

using namespace quorvel;

class ErrorHandlerTest : public QObject {
    Q_OBJECT
private slots:
    void fullStopRule_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ends in a letter") << "Table unknown" << "Table unknown.";
        QTest::newRow("ends in a full stop") << "Done." << "Done.";
        QTest::newRow("ends in an exclamation mark") << "Stop!" << "Stop!";
        QTest::newRow("ends in a question mark") << "Why?" << "Why?.";
        QTest::newRow("ends in a closing bracket") << "Failed (x)" << "Failed (x)";
        QTest::newRow("ends in a digit") << "code 42" << "code 42.";
        QTest::newRow("empty") << "" << "";
    }

    void fullStopRule()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(message), shown);
        test::FakeSeams fakes;
        guarded([&] { throw Error(message); });
        QCOMPARE(fakes.messages.errors, QStringList{shown});
    }

    void exceptionInClickHandlerReachesErrorBoxAndProgramGoesOn()
    {
        test::FakeSeams fakes;
        QPushButton button(QStringLiteral("Go"));
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            guarded([&] {
                ++clicks;
                throw Error(QStringLiteral("Something went wrong"));
            });
        });
        button.click();
        button.click();
        QCOMPARE(clicks, 2);
        QCOMPARE(fakes.messages.errors,
                 (QStringList{QStringLiteral("Something went wrong."), QStringLiteral("Something went wrong.")}));
    }

    void unguardedExceptionIsCaughtByTheApplication()
    {
        test::FakeSeams fakes;
        QPushButton button(QStringLiteral("Go"));
        QObject::connect(&button, &QPushButton::clicked, [] { throw Error(QStringLiteral("Escaped")); });
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(fakes.messages.errors, QStringList{QStringLiteral("Escaped.")});
    }
};

int main(int argc, char** argv)
{
    Application app(argc, argv);
    ErrorHandlerTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errorhandler.moc"
