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
    const Selection selection = main.tick(reportCompanies, reportReferrals, reportFrom(), reportTo());
    std::vector<Statement> statements = main.listStatements();
    for (Statement& s : BeforePrintDriver(*main.window().DB, selection).statements())
        statements.push_back(std::move(s));
    const QByteArray script = isqlScript(statements);
    std::fwrite(script.constData(), 1, size_t(script.size()), stdout);
}

// One database's benchmark: the program, the raw client and Qt's driver connected to it,
// with the statements and the selection that every line shares.
class DatabaseBench {
public:
    DatabaseBench(const Options& options, const QString& path)
        : options_(options), path_(path), target_(Target::local(path))
    {
        main_.connect(target_);
        selection_ = main_.tick(reportCompanies, reportReferrals, reportFrom(), reportTo());
        lists_ = main_.listStatements();
        beforePrint_ = std::make_unique<BeforePrintDriver>(*main_.window().DB, selection_);
        statistics_ = beforePrint_->statements();
        raw_ = std::make_unique<RawClient>(target_);
        qt_ = std::make_unique<QtDriver>(target_);
        writeSettings(scratch_.path(), target_);
    }

    std::vector<Row> run()
    {
        std::vector<Row> rows{lists(), beforePrintStep()};
        // Loading the lists again cleared the ticks, as it does in the program.
        main_.tick(reportCompanies, reportReferrals, reportFrom(), reportTo());
        rows.push_back(wholeReport());
        rows.push_back(batchReport());
        rows.push_back(startUp());
        rows.push_back(peakMemory(QStringLiteral("peak memory, main window with the lists loaded"), {path_}));
        rows.back().budget = QStringLiteral("< 120 MB (large)");
        rows.back().met = rows.back().ours.median() * 1.048576 < 120;
        rows.push_back(peakMemory(QStringLiteral("peak memory, lists loaded and one report previewed"),
                                  {path_, QStringLiteral("--report")}));
        return rows;
    }

    const QStringList& notes() const { return notes_; }
    const Selection& selection() const { return selection_; }

private:
    Row lists()
    {
        Row r{QStringLiteral("three lists into the grids (GP, Cons, Insurance)")};
        sideBySide(r.measure,
                   {{QStringLiteral("our program"), &r.ours, [&](Digest& d) { return main_.loadLists(d); }},
                    {QStringLiteral("raw client"), &r.raw, [&](Digest& d) { return raw_->run(lists_, d); }},
                    {QStringLiteral("Qt driver"), &r.qt, [&](Digest& d) { return qt_->run(lists_, d); }}},
                   options_.runs, notes_);
        return withClientBudget(r);
    }

    Row beforePrintStep()
    {
        Row r{QStringLiteral("before-print step: the four statistics statements")};
        sideBySide(
            r.measure,
            {{QStringLiteral("our program"), &r.ours, [&](Digest& d) { return beforePrint_->run(d); }},
             {QStringLiteral("raw client"), &r.raw, [&](Digest& d) { return raw_->run(statistics_, d); }},
             {QStringLiteral("Qt driver"), &r.qt, [&](Digest& d) { return qt_->run(statistics_, d); },
              false}},
            options_.runs, notes_);
        return withClientBudget(r);
    }

    Row wholeReport()
    {
        Row r{QStringLiteral("whole report: Report pressed to the first page shown (vs the raw statements)")};
        sideBySide(r.measure,
                   {whole(&r.ours, [&] { return main_.reportToFirstPage(); }), rawStatements(&r.raw)},
                   options_.runs, notes_);
        return withReportBudget(r);
    }

    Row batchReport()
    {
        Row r{QStringLiteral("batch report to PDF, whole process (vs the raw statements)")};
        const QStringList arguments =
            batchArguments(target_, selection_, scratch_.filePath(QStringLiteral("report.pdf")));
        sideBySide(
            r.measure,
            {whole(&r.ours, [&] { return runChild(options_.program, arguments, credentials()).seconds; }),
             rawStatements(&r.raw)},
            options_.processRuns, notes_);
        return withReportBudget(r);
    }

    Row startUp()
    {
        Row r{QStringLiteral("start-up to the main window shown, whole process")};
        const QStringList environment{QStringLiteral("QUORVEL_BENCH_EXIT_WHEN_SHOWN=1"),
                                      QStringLiteral("QT_QPA_PLATFORM=offscreen"),
                                      QStringLiteral("XDG_CONFIG_HOME=") + scratch_.path()};
        r.ours =
            repeat(options_.processRuns, [&] { return runChild(options_.program, {}, environment).seconds; });
        r.budget = QStringLiteral("< 0.3 s");
        r.met = r.ours.median() < 0.3;
        return r;
    }

    Row peakMemory(const QString& measure, const QStringList& arguments)
    {
        Row r{measure};
        r.memory = true;
        r.ours = repeat(3, [&] { return runChild(options_.window, arguments, credentials()).peakMiB; });
        return r;
    }

    // A way whose work has no rows to compare: a whole report or a whole process.
    static Way whole(Samples* samples, std::function<double()> run)
    {
        return {QStringLiteral("our program"), samples, [run = std::move(run)](Digest& d) {
                    d = {};
                    return run();
                }};
    }

    // The raw client running the four statistics statements, as the yardstick of a report.
    Way rawStatements(Samples* samples)
    {
        return {QStringLiteral("raw client"), samples, [this](Digest& d) {
                    const double seconds = raw_->run(statistics_, d);
                    d = {};
                    return seconds;
                }};
    }

    static Row withClientBudget(Row r)
    {
        r.budget = QStringLiteral("≤ 1.10 × raw and ≤ Qt");
        r.met = r.ours.pairedRatio(r.raw) <= 1.10 && r.ours.pairedRatio(r.qt) <= 1.0;
        return r;
    }

    static Row withReportBudget(Row r)
    {
        r.budget = QStringLiteral("≤ 1.15 × raw + 0.25 s");
        r.met = r.ours.median() <= 1.15 * r.raw.median() + 0.25;
        return r;
    }

    QStringList credentials() const
    {
        return {QStringLiteral("ISC_USER=") + target_.user,
                QStringLiteral("ISC_PASSWORD=") + target_.password};
    }

    const Options& options_;
    QString path_;
    Target target_;
    QTemporaryDir scratch_; // the batch report's PDF and the chooser's settings
    MainWindowDriver main_;
    Selection selection_;
    std::vector<Statement> lists_, statistics_;
    std::unique_ptr<BeforePrintDriver> beforePrint_;
    std::unique_ptr<RawClient> raw_;
    std::unique_ptr<QtDriver> qt_;
    QStringList notes_;
};

void benchDatabase(const Options& options, const QString& name, const QString& path)
{
    std::printf("### %s: %s (%s)\n\n", qPrintable(name), qPrintable(path),
                qPrintable(sizeText(QFileInfo(path).size())));
    std::fflush(stdout);
    DatabaseBench bench(options, path);
    std::printf("%s\n", qPrintable(markdownTable(bench.run())));
    for (const QString& note : bench.notes())
        std::printf("Note: %s\n", qPrintable(note));
    const Selection& s = bench.selection();
    std::printf("Selection: companies %s; %lld GP and %lld consultant referral values; %s to %s.\n\n",
                qPrintable(s.companyNames.join(QStringLiteral(", "))), qlonglong(s.gpReferrals.size()),
                qlonglong(s.consultantReferrals.size()), qPrintable(s.from.toString(Qt::ISODate)),
                qPrintable(s.to.toString(Qt::ISODate)));
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
