// The settings accessor over the settings file: opening keys by absolute and relative paths,
// reading values as text, the order of value names, where the file lives, and a missing or
// malformed file.
#include "platform/app/Error.h"
#include "platform/registry/Registry.h"

#include <QtTest>
#include <optional>

using namespace quorvel;

namespace {

const char settings[] = "Windows Registry Editor Version 5.00\r\n"
                        "\r\n"
                        "[HKEY_CURRENT_USER\\software\\quorvel\\current]\r\n"
                        "\"Current Database\"=\"/data/practice.gdb\"\r\n"
                        "\"Server\"=\"alpha\"\r\n"
                        "\"Empty\"=\"\"\r\n"
                        "\"Count\"=dword:0000000a\r\n"
                        "\"Blob\"=hex:01,02\r\n"
                        "\"Expand\"=hex(2):41,00,00,00\r\n"
                        "\"Nothing\"=hex:\r\n"
                        "@=\"default\"\r\n"
                        "\r\n"
                        "[HKEY_CURRENT_USER\\software\\quorvel\\current\\sub]\r\n"
                        "\"Inner\"=\"i\"\r\n"
                        "\r\n"
                        "[HKEY_CURRENT_USER\\software\\quorvel\\Remote Servers]\r\n"
                        "\"z:/b.gdb\"=\"\"\r\n"
                        "\"a:/a.gdb\"=\"\"\r\n"
                        "\"M:/m.gdb\"=dword:00000001\r\n";

const QStringList currentNames{QStringLiteral("Current Database"),
                               QStringLiteral("Server"),
                               QStringLiteral("Empty"),
                               QStringLiteral("Count"),
                               QStringLiteral("Blob"),
                               QStringLiteral("Expand"),
                               QStringLiteral("Nothing"),
                               QString()};
const QStringList remoteNames{QStringLiteral("z:/b.gdb"), QStringLiteral("a:/a.gdb"),
                              QStringLiteral("M:/m.gdb")};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class RegistryTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        config_.emplace();
        QVERIFY(config_->isValid());
        qputenv("XDG_CONFIG_HOME", config_->path().toLocal8Bit());
    }

    void cleanup()
    {
        qunsetenv("XDG_CONFIG_HOME");
        config_.reset();
    }

    void openKey_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("opened"); // one letter per path: y opened, n not
        QTest::addColumn<QString>("openKey");
        QTest::addColumn<QStringList>("names");

        const QString current = QStringLiteral("software\\quorvel\\current");
        const QString remote = QStringLiteral("software\\quorvel\\Remote Servers");
        QTest::newRow("path from the hive when no key is open")
            << QStringList{current} << "y" << current << currentNames;
        QTest::newRow("names compare without regard to case")
            << QStringList{QStringLiteral("SOFTWARE\\Quorvel\\CURRENT")} << "y"
            << QStringLiteral("SOFTWARE\\Quorvel\\CURRENT") << currentNames;
        QTest::newRow("relative to the open key")
            << QStringList{QStringLiteral("software\\quorvel"), QStringLiteral("Remote Servers")} << "yy"
            << remote << remoteNames;
        QTest::newRow("leading backslash starts at the hive while a key is open")
            << QStringList{current, QStringLiteral("\\") + remote} << "yy" << remote << remoteNames;
        QTest::newRow("full path without backslash is taken below the open key")
            << QStringList{current, remote} << "yn" << current << currentNames;
        QTest::newRow("a subkey is a key of its own")
            << QStringList{current, QStringLiteral("sub")} << "yy" << current + QStringLiteral("\\sub")
            << QStringList{QStringLiteral("Inner")};
        QTest::newRow("a key above a named key exists")
            << QStringList{QStringLiteral("software")} << "y" << QStringLiteral("software") << QStringList();
        QTest::newRow("missing key leaves no key open")
            << QStringList{QStringLiteral("software\\other")} << "n" << QString() << QStringList();
        QTest::newRow("missing key keeps the open key")
            << QStringList{current, QStringLiteral("\\software\\other")} << "yn" << current << currentNames;
        QTest::newRow("a value is not a key")
            << QStringList{current + QStringLiteral("\\Server")} << "n" << QString() << QStringList();
    }

    void openKey()
    {
        QFETCH(QStringList, paths);
        QFETCH(QString, opened);
        QFETCH(QString, openKey);
        QFETCH(QStringList, names);
        writeFile(settingsFilePath(), settings);

        Registry registry;
        QString results;
        for (const QString& path : paths)
            results += registry.openKey(path) ? QLatin1Char('y') : QLatin1Char('n');
        QCOMPARE(results, opened);
        QCOMPARE(registry.currentPath().value_or(QString()), openKey);
        QCOMPARE(registry.valueNames(), names);
    }

    void closeKeyMakesPathsStartAtTheHive()
    {
        writeFile(settingsFilePath(), settings);
        Registry registry;
        QVERIFY(registry.openKey(QStringLiteral("software\\quorvel\\current")));
        registry.closeKey();
        QVERIFY(!registry.currentPath());
        QVERIFY(!registry.valueExists(QStringLiteral("Server")));
        QVERIFY(registry.valueNames().isEmpty());
        QVERIFY(registry.openKey(QStringLiteral("software\\quorvel\\Remote Servers")));
        QCOMPARE(registry.valueNames(), remoteNames);
    }

    void readString_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");

        QTest::newRow("string") << "Server" << true << "alpha"
                                << "";
        QTest::newRow("name in other case") << "current database" << true << "/data/practice.gdb"
                                            << "";
        QTest::newRow("empty string") << "Empty" << true << ""
                                      << "";
        QTest::newRow("default value") << "" << true << "default"
                                       << "";
        QTest::newRow("dword") << "Count" << true << ""
                               << "Invalid data type for 'Count'";
        QTest::newRow("binary") << "Blob" << true << ""
                                << "Invalid data type for 'Blob'";
        QTest::newRow("expandable string written as hex(2)") << "Expand" << true << ""
                                                             << "Invalid data type for 'Expand'";
        QTest::newRow("the name as asked for, not as stored") << "BLOB" << true << ""
                                                              << "Invalid data type for 'BLOB'";
        QTest::newRow("empty binary data reads as empty text") << "Nothing" << true << ""
                                                               << "";
        QTest::newRow("missing value") << "Absent" << false << ""
                                       << "";
    }

    void readString()
    {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        QFETCH(QString, text);
        QFETCH(QString, error);
        writeFile(settingsFilePath(), settings);

        Registry registry;
        QVERIFY(registry.openKey(QStringLiteral("software\\quorvel\\current")));
        QCOMPARE(registry.valueExists(name), exists);
        QString raised;
        QString read;
        try {
            read = registry.readString(name);
        } catch (const Error& e) {
            raised = e.message();
        }
        QCOMPARE(raised, error);
        QCOMPARE(read, text);
    }

    void settingsFileLocation_data()
    {
        QTest::addColumn<bool>("setXdg");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("expected"); // below the temporary folder

        QTest::newRow("XDG_CONFIG_HOME") << true << "cfg"
                                         << "cfg/quorvel/registry.reg";
        QTest::newRow("XDG_CONFIG_HOME unset: ~/.config") << false << ""
                                                          << "home/.config/quorvel/registry.reg";
        QTest::newRow("XDG_CONFIG_HOME empty: ~/.config") << true << ""
                                                          << "home/.config/quorvel/registry.reg";
    }

    void settingsFileLocation()
    {
        QFETCH(bool, setXdg);
        QFETCH(QString, xdg);
        QFETCH(QString, expected);
        const QString base = config_->path() + QLatin1Char('/');
        const QByteArray savedHome = qgetenv("HOME");
        const auto restore = qScopeGuard([&] { qputenv("HOME", savedHome); });
        qputenv("HOME", (base + QStringLiteral("home")).toLocal8Bit());
        if (setXdg)
            qputenv("XDG_CONFIG_HOME", xdg.isEmpty() ? QByteArray() : (base + xdg).toLocal8Bit());
        else
            qunsetenv("XDG_CONFIG_HOME");

        QCOMPARE(settingsFilePath(), base + expected);
        writeFile(base + expected, settings);
        Registry registry;
        QVERIFY(registry.openKey(QStringLiteral("software\\quorvel\\current")));
    }

    void missingFileMeansMissingKeys()
    {
        Registry registry;
        QVERIFY(!registry.openKey(QStringLiteral("software\\quorvel\\current")));
        QVERIFY(!registry.openKey(QStringLiteral("software\\quorvel\\Remote Servers")));
        QVERIFY(!registry.valueExists(QStringLiteral("Server")));
        QCOMPARE(registry.readString(QStringLiteral("Server")), QString());
        QVERIFY(!QFile::exists(settingsFilePath()));
    }

    void malformedFileRaisesNamingFileAndLine()
    {
        writeFile(settingsFilePath(),
                  QByteArray(settings).replace("\"Blob\"=hex:01,02", "\"Blob\"=hex:01,xy"));
        const QByteArray before = [] {
            QFile f(settingsFilePath());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        Registry registry;
        try {
            registry.openKey(QStringLiteral("software\\quorvel\\current"));
            QFAIL("the malformed file was accepted");
        } catch (const Error& e) {
            QCOMPARE(e.message(),
                     settingsFilePath() + QStringLiteral(", line 8: \"xy\" is not a hexadecimal byte"));
        }
        QFile after(settingsFilePath());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before); // never written
    }

private:
    std::optional<QTemporaryDir> config_;
};

QTEST_GUILESS_MAIN(RegistryTest)
#include "tst_registry.moc"
