// The settings file's format: encodings, line ends, escapes, value types, continuation lines,
// what is ignored, and the message that names the file and line of a malformed entry.
#include "platform/app/Error.h"
#include "platform/registry/RegFile.h"

#include <QStringEncoder>
#include <QtTest>

using namespace quorvel;

namespace {

const QString v5 = QStringLiteral("Windows Registry Editor Version 5.00\n\n");
const QString current = QStringLiteral("[HKEY_CURRENT_USER\\software\\quorvel\\current]\n");

// What regedit writes: UTF-16LE with a byte-order mark and CRLF line ends.
QByteArray regeditExport(const QString& text)
{
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return utf16(crlf);
}

QByteArray utf8WithBom(const QString& text)
{
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

// Every key with its values, one line each; the hive's own key only when it has values.
QString dump(const RegFile& file)
{
    QStringList lines;
    for (const RegKey& key : file.keys()) {
        if (key.path.isEmpty() && key.values.isEmpty())
            continue;
        QStringList values;
        for (const RegValue& value : key.values) {
            const QString name = value.name.isEmpty() ? QStringLiteral("@") : value.name;
            values << (value.isString ? name + QStringLiteral("=\"") + value.text + QLatin1Char('"')
                                      : name + QStringLiteral("=<%1 bytes>").arg(value.dataSize));
        }
        lines << QLatin1Char('[') + key.path + QLatin1Char(']') +
                     (values.isEmpty() ? QString() : QLatin1Char(' ') + values.join(QStringLiteral(" | ")));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class RegFileTest : public QObject {
    Q_OBJECT
private slots:
    void parses_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("keys");

        const QString parents = QStringLiteral("[software]\n[software\\quorvel]\n");
        QTest::newRow("regedit export: UTF-16LE with byte-order mark and CRLF")
            << regeditExport(v5 + current +
                             QStringLiteral("\"Current Database\"=\"C:\\\\Zoë\\\\data.gdb\"\n"
                                            "\"Server\"=\"alpha\"\n"))
            << parents +
                   QStringLiteral("[software\\quorvel\\current] Current Database=\"C:\\Zoë\\data.gdb\" | "
                                  "Server=\"alpha\"");
        QTest::newRow("UTF-8 with byte-order mark and LF")
            << utf8WithBom(v5 + current + QStringLiteral("\"Server\"=\"Zoë\"\n"))
            << parents + QStringLiteral("[software\\quorvel\\current] Server=\"Zoë\"");
        QTest::newRow("REGEDIT4 in the ANSI code page")
            << QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\software\\quorvel\\current]\r\n"
                          "\"Server\"=\"Zo\xEB \x80\"\r\n")
            << parents + QStringLiteral("[software\\quorvel\\current] Server=\"Zoë €\"");
        QTest::newRow("escaped quotes and backslashes in names and texts")
            << (v5 + current + QStringLiteral("\"say \\\"hi\\\"\"=\"a\\\\b\\\"c\\\\\"\n")).toUtf8()
            << parents + QStringLiteral("[software\\quorvel\\current] say \"hi\"=\"a\\b\"c\\\"");
        QTest::newRow("dword, hex and hex(2) data are not strings; hex(1) is")
            << (v5 + current +
                QStringLiteral("\"D\"=dword:0000000a\n\"B\"=hex:01,02,03\n\"E\"=hex(2):41,00,00,00\n"
                               "\"S\"=hex(1):41,00,42,00,00,00\n\"Q\"=hex(b):01,00,00,00,00,00,00,00\n"))
                   .toUtf8()
            << parents +
                   QStringLiteral(
                       "[software\\quorvel\\current] D=<4 bytes> | B=<3 bytes> | E=<4 bytes> | S=\"AB\" | "
                       "Q=<8 bytes>");
        QTest::newRow("hex data continued over lines, and empty hex data")
            << regeditExport(v5 + current +
                             QStringLiteral("\"Blob\"=hex:01,02,\\\n  03,04,\\\n  05\n\"Empty\"=hex:\n"
                                            "\"After\"=\"x\"\n"))
            << parents + QStringLiteral(
                             "[software\\quorvel\\current] Blob=<5 bytes> | Empty=<0 bytes> | After=\"x\"");
        QTest::newRow("comments, deletion lines and deleted keys are ignored")
            << (v5 + QStringLiteral("; made by hand\n") + current +
                QStringLiteral("  ; indented comment\n\"Old\"=-\n\"Kept\"=\"1\"\n"
                               "[-HKEY_CURRENT_USER\\software\\gone]\n\"Lost\"=\"2\"\n"))
                   .toUtf8()
            << parents + QStringLiteral("[software\\quorvel\\current] Kept=\"1\"");
        QTest::newRow("default value; a value set again keeps its place")
            << (v5 + current + QStringLiteral("@=\"def\"\n\"A\"=\"1\"\n\"B\"=\"2\"\n\"a\"=\"3\"\n")).toUtf8()
            << parents + QStringLiteral("[software\\quorvel\\current] @=\"def\" | A=\"3\" | B=\"2\"");
        QTest::newRow("keys of other hives are left out")
            << (v5 +
                QStringLiteral("[HKEY_LOCAL_MACHINE\\software\\quorvel\\current]\n\"Server\"=\"machine\"\n") +
                current + QStringLiteral("\"Server\"=\"user\"\n"))
                   .toUtf8()
            << parents + QStringLiteral("[software\\quorvel\\current] Server=\"user\"");
        QTest::newRow("subkeys are keys of their own; a key named twice gathers its values")
            << (v5 + current +
                QStringLiteral("\"A\"=\"1\"\n[HKEY_CURRENT_USER\\software\\quorvel\\current\\sub]\n"
                               "\"Inner\"=\"2\"\n") +
                current + QStringLiteral("\"B\"=\"3\"\n"))
                   .toUtf8()
            << parents + QStringLiteral("[software\\quorvel\\current] A=\"1\" | B=\"3\"\n"
                                        "[software\\quorvel\\current\\sub] Inner=\"2\"");
        QTest::newRow("the hive's own values and blanks around =")
            << (v5 + QStringLiteral("[HKEY_CURRENT_USER]\n  \"Top\" = \"t\"  \n")).toUtf8()
            << QStringLiteral("[] Top=\"t\"");
        QTest::newRow("header only") << v5.toUtf8() << QString();
    }

    void parses()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, keys);
        QCOMPARE(dump(RegFile::parse(bytes, QStringLiteral("settings.reg"))), keys);
    }

    void rejects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");

        const QString notRegistry =
            QStringLiteral("not a registry file: the first line must be "
                           "\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("settings.reg, line 1: ") + notRegistry;
        QTest::newRow("no header") << (current + QStringLiteral("\"A\"=\"1\"\n")).toUtf8()
                                   << QStringLiteral("settings.reg, line 1: ") + notRegistry;
        QTest::newRow("UTF-16 without byte-order mark")
            << regeditExport(v5).mid(2) << QStringLiteral("settings.reg, line 1: ") + notRegistry;
        QTest::newRow("value before the first key")
            << (v5 + QStringLiteral("\"A\"=\"1\"\n")).toUtf8()
            << QStringLiteral("settings.reg, line 3: a value before the first key");
        QTest::newRow("key without closing bracket")
            << (v5 + QStringLiteral("[HKEY_CURRENT_USER\\software\n")).toUtf8()
            << QStringLiteral("settings.reg, line 3: the key name lacks its closing \"]\"");
        QTest::newRow("text without closing quote")
            << (v5 + current + QStringLiteral("\"Server\"=\"alpha\n")).toUtf8()
            << QStringLiteral("settings.reg, line 4: the closing quote is missing");
        QTest::newRow("single backslash in a path, in a regedit export (CRLF)")
            << regeditExport(v5 + current +
                             QStringLiteral("\"A\"=\"1\"\n\"Current Database\"=\"C:\\Data\\x.gdb\"\n"))
            << QStringLiteral(
                   "settings.reg, line 5: unknown escape \"\\D\" (write \"\\\\\" for a backslash)");
        QTest::newRow("text after the closing quote")
            << (v5 + current + QStringLiteral("\"Server\"=\"alpha\" beta\n")).toUtf8()
            << QStringLiteral("settings.reg, line 4: unexpected text after the closing quote");
        QTest::newRow("name without =")
            << (v5 + current + QStringLiteral("\"Server\" \"alpha\"\n")).toUtf8()
            << QStringLiteral("settings.reg, line 4: the value name must be followed by \"=\"");
        QTest::newRow("dword with a letter that is no digit")
            << (v5 + current + QStringLiteral("\"D\"=dword:0000000g\n")).toUtf8()
            << QStringLiteral(
                   "settings.reg, line 4: \"0000000g\" is not a dword of 1 to 8 hexadecimal digits");
        QTest::newRow("dword of nine digits")
            << (v5 + current + QStringLiteral("\"D\"=dword:000000001\n")).toUtf8()
            << QStringLiteral(
                   "settings.reg, line 4: \"000000001\" is not a dword of 1 to 8 hexadecimal digits");
        QTest::newRow("bad byte on a continuation line names the value's first line")
            << (v5 + current + QStringLiteral("\"B\"=hex:01,02,\\\n  zz,04\n\"C\"=\"x\"\n")).toUtf8()
            << QStringLiteral("settings.reg, line 4: \"zz\" is not a hexadecimal byte");
        QTest::newRow("unquoted text") << (v5 + current + QStringLiteral("\"A\"=alpha\n")).toUtf8()
                                       << QStringLiteral("settings.reg, line 4: unknown data \"alpha\"");
        QTest::newRow("hex of no type")
            << (v5 + current + QStringLiteral("\"A\"=hex(zz):01\n")).toUtf8()
            << QStringLiteral("settings.reg, line 4: unknown data \"hex(zz):01\"");
        QTest::newRow("a line that is neither key, value nor comment")
            << (v5 + current + QStringLiteral("\n\n# not a comment\n")).toUtf8()
            << QStringLiteral(
                   "settings.reg, line 6: \"# not a comment\" is neither a key, a value nor a comment");
    }

    void rejects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        try {
            RegFile::parse(bytes, QStringLiteral("settings.reg"));
            QFAIL("the file was accepted");
        } catch (const Error& error) {
            QCOMPARE(error.message(), message);
        }
    }

    void keysCompareWithoutRegardToCase()
    {
        const RegFile file = RegFile::parse(
            (v5 + QStringLiteral("[hkey_current_user\\SOFTWARE\\Quorvel\\Current]\n\"Server\"=\"a\"\n"))
                .toUtf8(),
            QStringLiteral("settings.reg"));
        const RegKey* key = file.key(QStringLiteral("software\\quorvel\\CURRENT"));
        QVERIFY(key);
        QCOMPARE(key->path, QStringLiteral("SOFTWARE\\Quorvel\\Current"));
        QVERIFY(key->value(QStringLiteral("SERVER")));
        QVERIFY(!file.key(QStringLiteral("software\\quorvel\\current\\sub")));
    }

    void missingFileHasNoKeys()
    {
        QTemporaryDir dir;
        const RegFile file = RegFile::load(dir.filePath(QStringLiteral("absent.reg")));
        QVERIFY(!file.key(QStringLiteral("software")));
    }
};

QTEST_GUILESS_MAIN(RegFileTest)
#include "tst_regfile.moc"
