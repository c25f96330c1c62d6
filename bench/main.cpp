// bench-quorvel [--runs N] [--process-runs N] --program EXE --window EXE NAME=PATH...
// bench-quorvel --isql-script PATH
//
// For each practice database PATH on the local server, measured side by side in one run:
// the three lists of the main window, the report's before-print step, the whole report to
// its first page and the batch report, each through our program, the bare Firebird client
// and Qt's Firebird driver where that applies; then start-up to the main window and peak
// memory as processes of their own. Prints a Markdown table per database. Credentials
// come from ISC_USER / ISC_PASSWORD (SYSDBA / masterkey when unset).
//
// With --isql-script, writes the same statements for the database at PATH as an isql
// script that shows their plans and the server's times, for looking at indexes.
#include "BeforePrintDriver.h"
#include "ChildProcess.h"
#include "IsqlScript.h"
#include "MainWindowDriver.h"
#include "QtDriver.h"
#include "RawClient.h"
#include "Table.h"

#include "main/TfrmMain.h"
#include "platform/app/Application.h"
#include "platform/app/Error.h"
#include "platform/firebird/Database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace quorvel;
using namespace quorvel::bench;

namespace {

struct Options {
    int runs = 31;
    int processRuns = 21;
    QString program, window;
    QString isqlScriptFor;                        // a database path
    QList<std::pair<QString, QString>> databases; // name, path
};

Options parse(const QStringList& arguments)
{
    Options o;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--runs") && hasValue)
            o.runs = std::max(1, arguments[++i].toInt());
        else if (a == QLatin1String("--process-runs") && hasValue)
            o.processRuns = std::max(1, arguments[++i].toInt());
        else if (a == QLatin1String("--program") && hasValue)
            o.program = arguments[++i];
        else if (a == QLatin1String("--window") && hasValue)
            o.window = arguments[++i];
        else if (a == QLatin1String("--isql-script") && hasValue)
            o.isqlScriptFor = arguments[++i];
        else if (a.contains(QLatin1Char('=')))
            o.databases << std::pair{a.section(QLatin1Char('='), 0, 0), a.section(QLatin1Char('='), 1)};
        else
            throw Error(QStringLiteral("Unknown argument \"%1\"").arg(a));
    }
    if (o.isqlScriptFor.isEmpty() && (o.program.isEmpty() || o.window.isEmpty() || o.databases.isEmpty()))
        throw Error(QStringLiteral(
            "usage: bench-quorvel [--runs N] [--process-runs N] --program EXE --window EXE NAME=PATH...\n"
            "       bench-quorvel --isql-script PATH"));
    return o;
}

// Ways of doing the same work, run in turn within each round so that whatever else the
// machine does falls on all of them alike; the order rotates from round to round. The
// first way is ours, the second the raw client, which every other must agree with.
struct Way {
    QString name;
    Samples* samples;
    std::function<double(Digest&)> run;
    bool mustAgree = true;
};

void sideBySide(const QString& what, std::vector<Way> ways, int runs, QStringList& notes)
{
    const int warmups = 2; // the server's page cache and the client's first prepare
    for (int round = 0; round < warmups + runs; ++round) {
        std::vector<Digest> digests(ways.size());
        for (size_t k = 0; k < ways.size(); ++k) {
            const size_t w = (k + size_t(round)) % ways.size();
            const double seconds = ways[w].run(digests[w]);
            if (round >= warmups)
                ways[w].samples->add(seconds);
        }
        if (round > 0)
            continue;
        for (size_t w = 0; w < ways.size(); ++w) {
            if (w == 1 || digests[w] == digests[1])
                continue;
            const QString text =
                QStringLiteral("%1: %2 read %3 rows (first column %4), the raw client %5 (%6)")
                    .arg(what, ways[w].name)
                    .arg(digests[w].rows)
                    .arg(digests[w].firstColumn)
                    .arg(digests[1].rows)
                    .arg(digests[1].firstColumn);
            if (ways[w].mustAgree)
                throw Error(QStringLiteral("Not the same work: ") + text);
            notes << text;
        }
    }
}

Samples repeat(int runs, const std::function<double()>& run)
{
    run(); // warm-up
    Samples samples;
    for (int i = 0; i < runs; ++i)
        samples.add(run());
    return samples;
}

QString sizeText(qint64 bytes)
{
    return QString::number(double(bytes) / (1 << 20), 'f', 0) + QStringLiteral(" MiB");
}

// Settings that point the database chooser at the benchmark's folder, as a practice's do.
void writeSettings(const QString& configHome, const Target& target)
{
    QDir(configHome).mkpath(QStringLiteral("quorvel"));
    QFile settings(configHome + QStringLiteral("/quorvel/registry.reg"));
    if (!settings.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot write the chooser's settings"));
    settings.write(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\software\\quorvel\\current]\r\n"
                                  "\"Current Database\"=\"%1\"\r\n\"Server\"=\"%2\"\r\n")
                       .arg(target.path, target.server)
                       .toUtf8());
}

QStringList batchArguments(const Target& target, const Selection& s, const QString& pdf)
{
    QStringList a{QStringLiteral("--database"), target.connectString(),
                  QStringLiteral("--from"),     s.from.toString(Qt::ISODate),
                  QStringLiteral("--to"),       s.to.toString(Qt::ISODate),
                  QStringLiteral("--pdf"),      pdf};
    for (qint32 c : s.companies)
        a << QStringLiteral("--company") << QString::number(c);
    for (const QString& r : s.gpReferrals)
        a << QStringLiteral("--gp-referral") << r;
    for (const QString& r : s.consultantReferrals)
        a << QStringLiteral("--consultant-referral") << r;
    return a;
}

void writeIsqlScript(const QString& path)
{
    MainWindowDriver main;
    main.connect(Target::local(path));
    const Selection selection = main.tick(reportCompanies, reportFrom(), reportTo());
    std::vector<Statement> statements = main.listStatements();
    for (Statement& s : BeforePrintDriver(*main.window().DB, selection).statements())
        statements.push_back(std::move(s));
    const QByteArray script = isqlScript(statements);
    std::fwrite(script.constData(), 1, size_t(script.size()), stdout);
}

void benchDatabase(const Options& options, const QString& name, const QString& path)
{
    const Target target = Target::local(path);
    std::printf("### %s: %s (%s)\n\n", qPrintable(name), qPrintable(path),
                qPrintable(sizeText(QFileInfo(path).size())));
    std::fflush(stdout);

    MainWindowDriver main;
    main.connect(target);
    const Selection selection = main.tick(reportCompanies, reportFrom(), reportTo());
    const std::vector<Statement> lists = main.listStatements();
    BeforePrintDriver beforePrint(*main.window().DB, selection);
    const std::vector<Statement> statistics = beforePrint.statements();
    RawClient raw(target);
    QtDriver qt(target);
    QStringList notes;

    std::vector<Row> rows(7);
    Row& listRow = rows[0];
    listRow.measure = QStringLiteral("three lists into the grids (GP, Cons, Insurance)");
    sideBySide(listRow.measure,
               {{QStringLiteral("our program"), &listRow.ours, [&](Digest& d) { return main.loadLists(d); }},
                {QStringLiteral("raw client"), &listRow.raw, [&](Digest& d) { return raw.run(lists, d); }},
                {QStringLiteral("Qt driver"), &listRow.qt, [&](Digest& d) { return qt.run(lists, d); }}},
               options.runs, notes);

    Row& stepRow = rows[1];
    stepRow.measure = QStringLiteral("before-print step: the four statistics statements");
    sideBySide(
        stepRow.measure,
        {{QStringLiteral("our program"), &stepRow.ours, [&](Digest& d) { return beforePrint.run(d); }},
         {QStringLiteral("raw client"), &stepRow.raw, [&](Digest& d) { return raw.run(statistics, d); }},
         {QStringLiteral("Qt driver"), &stepRow.qt, [&](Digest& d) { return qt.run(statistics, d); }, false}},
        options.runs, notes);
    for (Row* r : {&listRow, &stepRow}) {
        r->budget = QStringLiteral("≤ 1.10 × raw and ≤ Qt");
        r->met = r->ours.pairedRatio(r->raw) <= 1.10 && r->ours.pairedRatio(r->qt) <= 1.0;
    }

    // Loading the lists again cleared the ticks, as it does in the program.
    main.tick(reportCompanies, reportFrom(), reportTo());
    Row& reportRow = rows[2];
    reportRow.measure =
        QStringLiteral("whole report: Report pressed to the first page shown (vs the raw statements)");
    sideBySide(reportRow.measure,
               {{QStringLiteral("our program"), &reportRow.ours,
                 [&](Digest& d) {
                     d = {};
                     return main.reportToFirstPage();
                 }},
                {QStringLiteral("raw client"), &reportRow.raw,
                 [&](Digest& d) {
                     const double s = raw.run(statistics, d);
                     d = {};
                     return s;
                 }}},
               options.runs, notes);

    Row& batchRow = rows[3];
    batchRow.measure = QStringLiteral("batch report to PDF, whole process (vs the raw statements)");
    QTemporaryDir scratch;
    const QStringList batch =
        batchArguments(target, selection, scratch.filePath(QStringLiteral("report.pdf")));
    const QStringList credentials{QStringLiteral("ISC_USER=") + target.user,
                                  QStringLiteral("ISC_PASSWORD=") + target.password};
    sideBySide(batchRow.measure,
               {{QStringLiteral("our program"), &batchRow.ours,
                 [&](Digest& d) {
                     d = {};
                     return runChild(options.program, batch, credentials).seconds;
                 }},
                {QStringLiteral("raw client"), &batchRow.raw,
                 [&](Digest& d) {
                     const double s = raw.run(statistics, d);
                     d = {};
                     return s;
                 }}},
               options.processRuns, notes);

    for (Row* r : {&reportRow, &batchRow}) {
        r->budget = QStringLiteral("≤ 1.15 × raw + 0.25 s");
        r->met = r->ours.median() <= 1.15 * r->raw.median() + 0.25;
    }

    Row& startRow = rows[4];
    startRow.measure = QStringLiteral("start-up to the main window shown, whole process");
    writeSettings(scratch.path(), target);
    const QStringList startEnv{QStringLiteral("QUORVEL_BENCH_EXIT_WHEN_SHOWN=1"),
                               QStringLiteral("QT_QPA_PLATFORM=offscreen"),
                               QStringLiteral("XDG_CONFIG_HOME=") + scratch.path()};
    startRow.ours =
        repeat(options.processRuns, [&] { return runChild(options.program, {}, startEnv).seconds; });
    startRow.budget = QStringLiteral("< 0.3 s");
    startRow.met = startRow.ours.median() < 0.3;

    Row& memoryRow = rows[5];
    memoryRow.measure = QStringLiteral("peak memory, main window with the lists loaded");
    memoryRow.memory = true;
    memoryRow.ours = repeat(3, [&] { return runChild(options.window, {path}, credentials).peakMiB; });
    memoryRow.budget = QStringLiteral("< 120 MB (large)");
    memoryRow.met = memoryRow.ours.median() * 1.048576 < 120;

    Row& previewRow = rows[6];
    previewRow.measure = QStringLiteral("peak memory, lists loaded and one report previewed");
    previewRow.memory = true;
    previewRow.ours = repeat(3, [&] {
        return runChild(options.window, {path, QStringLiteral("--report")}, credentials).peakMiB;
    });

    std::printf("%s\n", qPrintable(markdownTable(rows)));
    for (const QString& note : notes)
        std::printf("Note: %s\n", qPrintable(note));
    std::printf("Selection: companies %s; %lld GP and %lld consultant referral values; %s to %s.\n\n",
                qPrintable(selection.companyNames.join(QStringLiteral(", "))),
                qlonglong(selection.gpReferrals.size()), qlonglong(selection.consultantReferrals.size()),
                qPrintable(selection.from.toString(Qt::ISODate)),
                qPrintable(selection.to.toString(Qt::ISODate)));
    std::fflush(stdout);
}

// The offscreen platform says once per window that it cannot pass size hints on; that
// is no news, and the table stays readable without it.
QtMessageHandler otherMessages = nullptr;

void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (otherMessages)
        otherMessages(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    // The windows are real, the screen is not: nothing needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    otherMessages = qInstallMessageHandler(quietOffscreen);
    Application app(argc, argv);
    applyLook(app);
    try {
        const Options options = parse(app.arguments());
        if (!options.isqlScriptFor.isEmpty()) {
            writeIsqlScript(options.isqlScriptFor);
            return 0;
        }
        for (const auto& [name, path] : options.databases)
            benchDatabase(options, name, path);
    } catch (const Error& e) {
        std::fprintf(stderr, "bench-quorvel: %s\n", e.what());
        return 1;
    }
    return 0;
}
