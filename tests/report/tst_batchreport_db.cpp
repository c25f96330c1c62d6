// The batch report: the same report as the wizard's, written to PDF and JSON from the
// command line, with its exit statuses.
#include "../fixtures/TinyPractice.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvel;
namespace tiny = quorvel::fixtures::tiny;

namespace {

struct Run {
    int status;
    QByteArray out;
    QByteArray err;
};

Run runBatch(const QStringList& arguments, const QString& password = test::firebirdPassword())
{
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ISC_PASSWORD"), password);
    env.insert(QStringLiteral("ISC_USER"), test::firebirdUser());
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the batch report needs no screen of its own
    env.remove(QStringLiteral("XDG_RUNTIME_DIR")); // nor a session: cron has none
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(QUORVEL_APP), arguments);
    if (!app.waitForFinished(120000))
        return {-1, {}, "timed out"};
    return {app.exitStatus() == QProcess::NormalExit ? app.exitCode() : -1, app.readAllStandardOutput(),
            app.readAllStandardError()};
}

QString pdfText(const QString& file)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    pdftotext.waitForFinished(60000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

QString simplified(const QString& text) { return text.simplified(); }

} // namespace

class BatchReportTest : public QObject {
    Q_OBJECT
    QString path_;
    QTemporaryDir out_;

    QStringList selection() const
    {
        return {QStringLiteral("--database"), test::localDatabase(path_), QStringLiteral("--from"),
                QStringLiteral("2024-01-01"), QStringLiteral("--to"), QStringLiteral("2024-03-31"),
                QStringLiteral("--company"), QStringLiteral("23"), QStringLiteral("--company"), QStringLiteral("24"),
                QStringLiteral("--gp-referral"), QString::fromUtf8("Dr Müller"), QStringLiteral("--gp-referral"),
                QStringLiteral("Dr O'Neill"), QStringLiteral("--gp-referral"), QStringLiteral("Dr Patel"),
                QStringLiteral("--consultant-referral"), QStringLiteral("Mr Hughes (Ortho)"),
                QStringLiteral("--consultant-referral"), QStringLiteral("Ms Khan (Derm)")};
    }

private slots:
    void initTestCase() { path_ = test::makePracticeDatabase(QStringLiteral("batch-tiny.fdb")); }

    void writesPdfAndJsonWithTheFixtureFigures()
    {
        const QString pdf = out_.filePath(QStringLiteral("report.pdf"));
        const Run run = runBatch(selection() << QStringLiteral("--pdf") << pdf << QStringLiteral("--json")
                                             << QStringLiteral("-"));
        QVERIFY2(run.status == 0, run.err.constData());
        QCOMPARE(run.err, QByteArray()); // cron mails whatever a run writes there
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(run.out, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));

        QCOMPARE(json["period"].toObject()["start"].toString(), QStringLiteral("2024-01-01"));
        QCOMPARE(json["period"].toObject()["end"].toString(), QStringLiteral("2024-03-31"));
        auto check = [](const QJsonObject& o, const tiny::SelectionFigures& f) {
            QCOMPARE(o["num"].toInteger(), f.num);
            QCOMPARE(o["numaccounts"].toInteger(), f.numAccounts);
            QCOMPARE(qint64(std::llround(o["subtotal"].toDouble() * 100)), f.subtotalCents.value_or(0));
        };
        check(json["companies"].toObject(), tiny::quarter.company);
        check(json["gp"].toObject(), tiny::quarter.gp);
        check(json["consultant"].toObject(), tiny::quarter.consultant);
        const QJsonObject practice = json["practice"].toObject();
        QCOMPARE(practice["num"].toInteger(), tiny::quarter.practice.num);
        QCOMPARE(practice["numins"].toInteger(), tiny::quarter.practice.numIns);
        QCOMPARE(qint64(std::llround(practice["valueall"].toDouble() * 100)), *tiny::quarter.practice.valueAllCents);
        QVERIFY(run.out.contains("\"subtotal\": 661.75")); // the exact decimal, as a number

        const QJsonObject texts = json["texts"].toObject();
        QVERIFY(texts["practice"].toString().endsWith(QStringLiteral("   75.00 %")));
        QVERIFY(texts["selection"].toString().startsWith(
            QStringLiteral("Report specific details for South Mutual North Care . This selection represents    56.25%")));
        QCOMPARE(texts["averages"].toArray(), (QJsonArray{"    1.50", "    1.33", "    1.50"}));

        // The PDF holds the same texts, in print order.
        const QString printed = simplified(pdfText(pdf));
        QVERIFY2(printed.startsWith(QStringLiteral("Quorvel Report for Insurance Activity")), qPrintable(printed));
        const QString order[] = {texts["period"].toString(), texts["practice"].toString(),
                                 texts["selection"].toString()};
        qsizetype at = 0;
        for (const QString& t : order) {
            const qsizetype found = printed.indexOf(simplified(t), at);
            QVERIFY2(found >= 0, qPrintable(t + QStringLiteral("\n-- not after position ") + QString::number(at)
                                            + QStringLiteral(" in --\n") + printed));
            at = found;
        }
        QVERIFY(printed.contains(QStringLiteral("Number Of Patients:")));
    }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QStringList base{"--from", "2024-01-01", "--to", "2024-03-31", "--company", "23", "--json", "-"};
        QTest::newRow("unknown option") << (QStringList{"--colour"} + base) << "" << 2 << "colour";
        QTest::newRow("bad date") << QStringList{"--database", "x:y", "--from", "2024-02-30", "--to", "2024-03-31",
                                                 "--json", "-"}
                                  << "" << 2 << "2024-02-30";
        QTest::newRow("company not a whole number")
            << (QStringList{"--database", "x:y", "--company", "North"} + base) << "" << 2 << "North";
        QTest::newRow("no output asked for")
            << QStringList{"--database", "x:y", "--from", "2024-01-01", "--to", "2024-03-31"} << "" << 2 << "output";
        QTest::newRow("wrong password") << QStringList{} << "wrong" << 1 << "password";
        QTest::newRow("nothing ticked: the server refuses") << QStringList{} << "" << 1 << "Token unknown";
    }

    void exitStatuses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString json = out_.filePath(QStringLiteral("never.json"));
        if (arguments.isEmpty()) // against the real database
            arguments = QStringList{"--database", test::localDatabase(path_), "--from", "2024-01-01", "--to",
                                    "2024-03-31", "--json", json};
        const Run run = runBatch(arguments, password.isEmpty() ? test::firebirdPassword() : password);
        QCOMPARE(run.status, status);
        QVERIFY2(QString::fromLocal8Bit(run.err).contains(message, Qt::CaseInsensitive), run.err.constData());
        QVERIFY(!QFile::exists(json)); // no partial file
        if (status == 2)
            QVERIFY(run.err.contains("Usage:"));
    }

    void helpPrintsTheUsage()
    {
        const Run run = runBatch({QStringLiteral("--help")});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains("--consultant-referral"));
    }
};

QTEST_MAIN(BatchReportTest)
#include "tst_batchreport_db.moc"
