// The program as a process: it starts, shows its main window and, with the benchmarks'
// variable set, ends by itself right after that window's first paint. The benchmarks time
// start-up this way; a program that no longer ended there would hang them.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void endsAfterTheFirstPaint_data()
    {
        QTest::addColumn<bool>("withSettings");
        QTest::newRow("no settings: the chooser opens empty") << false;
        QTest::newRow("settings naming a database folder") << true;
    }

    void endsAfterTheFirstPaint()
    {
        QFETCH(bool, withSettings);
        QTemporaryDir config;
        QVERIFY(config.isValid());
        if (withSettings) {
            QDir(config.path()).mkpath(QStringLiteral("quorvel"));
            QFile settings(config.filePath(QStringLiteral("quorvel/registry.reg")));
            QVERIFY(settings.open(QIODevice::WriteOnly));
            settings.write(
                QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_CURRENT_USER\\software\\quorvel\\current]\r\n"
                               "\"Current Database\"=\"%1/PRACTICE.GDB\"\r\n\"Server\"=\"localhost\"\r\n")
                    .arg(config.path())
                    .toUtf8());
        }
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUORVEL_BENCH_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(QUORVEL_APP), QStringList{});
        QVERIFY(app.waitForStarted());
        // Only a guard against a hang: the program is expected to end on its own.
        const bool ended = app.waitForFinished(120000);
        if (!ended)
            app.kill();
        QVERIFY2(ended, "the program did not end after showing its window");
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
