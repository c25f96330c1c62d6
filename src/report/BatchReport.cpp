#include "report/BatchReport.h"

#include "main/SelectionCriteria.h"
#include "platform/app/Error.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"
#include "platform/reporting/DisplayList.h"
#include "platform/reporting/Painter.h"
#include "report/NarrativeTexts.h"
#include "report/TfrmReport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace quorvel {
namespace {

const char* const usage =
    "Usage: quorvel-insurance-stats --database SERVER:PATH --from YYYY-MM-DD --to YYYY-MM-DD\n"
    "           --company NUMBER ... --gp-referral TEXT ... --consultant-referral TEXT ...\n"
    "           [--pdf FILE] [--json FILE|-] [--user NAME]\n"
    "\n"
    "Writes the insurance statistics report of a practice database without opening a window.\n"
    "\n"
    "  --database SERVER:PATH      the practice database, e.g. localhost:/var/lib/practice/PRACTICE.GDB\n"
    "  --from, --to YYYY-MM-DD     the period, both days included\n"
    "  --company NUMBER            an insurance company by its number; repeat for more\n"
    "  --gp-referral TEXT          a referral value that counts as a GP referral; repeat for more\n"
    "  --consultant-referral TEXT  a referral value that counts as a consultant referral; repeat\n"
    "  --pdf FILE                  write the one-page report as it would print\n"
    "  --json FILE|-               write the figures and texts as JSON (- for standard output)\n"
    "  --user NAME                 the database user (default: ISC_USER, else SYSDBA)\n"
    "  --help                      show this text\n"
    "  --version                   show the program's version\n"
    "\n"
    "The password comes from the environment variable ISC_PASSWORD, never from the command line.\n"
    "Exit status: 0 success, 1 failure (the message on standard error), 2 bad arguments.\n";

struct UsageError {
    QString message;
};

struct Request {
    QString database;
    QDate from, to;
    QList<qint32> companies;
    QStringList gpReferrals, consultantReferrals;
    QString pdf, json, user;
};

void printErr(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputs("\n", stderr);
}

QDate parseDate(const QString& option, const QString& text)
{
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        throw UsageError{QStringLiteral("--%1: \"%2\" is not a date of the form YYYY-MM-DD").arg(option, text)};
    return date;
}

Request parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption database(QStringLiteral("database"), {}, QStringLiteral("SERVER:PATH"));
    const QCommandLineOption from(QStringLiteral("from"), {}, QStringLiteral("DATE"));
    const QCommandLineOption to(QStringLiteral("to"), {}, QStringLiteral("DATE"));
    const QCommandLineOption company(QStringLiteral("company"), {}, QStringLiteral("NUMBER"));
    const QCommandLineOption gp(QStringLiteral("gp-referral"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption consultant(QStringLiteral("consultant-referral"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), {}, QStringLiteral("FILE"));
    const QCommandLineOption json(QStringLiteral("json"), {}, QStringLiteral("FILE"));
    const QCommandLineOption user(QStringLiteral("user"), {}, QStringLiteral("NAME"));
    parser.addOptions({database, from, to, company, gp, consultant, pdf, json, user});
    if (!parser.parse(arguments))
        throw UsageError{parser.errorText()};
    if (!parser.positionalArguments().isEmpty())
        throw UsageError{QStringLiteral("Unexpected argument \"%1\"").arg(parser.positionalArguments().first())};
    for (const auto* single : {&database, &from, &to, &pdf, &json, &user})
        if (parser.values(*single).size() > 1)
            throw UsageError{QStringLiteral("--%1 is given more than once").arg(single->names().first())};

    Request r;
    r.database = parser.value(database);
    if (r.database.isEmpty())
        throw UsageError{QStringLiteral("--database is missing")};
    if (!parser.isSet(from) || !parser.isSet(to))
        throw UsageError{QStringLiteral("--from and --to are both needed")};
    r.from = parseDate(QStringLiteral("from"), parser.value(from));
    r.to = parseDate(QStringLiteral("to"), parser.value(to));
    for (const QString& text : parser.values(company)) {
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok)
            throw UsageError{QStringLiteral("--company: \"%1\" is not a whole number").arg(text)};
        r.companies << number;
    }
    r.gpReferrals = parser.values(gp);
    r.consultantReferrals = parser.values(consultant);
    r.pdf = parser.value(pdf);
    r.json = parser.value(json);
    if (r.pdf.isEmpty() && r.json.isEmpty())
        throw UsageError{QStringLiteral("No output asked for: give --pdf FILE, --json FILE or both")};
    r.user = parser.value(user);
    if (r.user.isEmpty())
        r.user = qEnvironmentVariable("ISC_USER");
    if (r.user.isEmpty())
        r.user = QStringLiteral("SYSDBA");
    return r;
}

// Company names in the order given, each followed by one space, as the wizard builds them.
QString companyNames(fb::Database& db, const QList<qint32>& companies)
{
    fb::Transaction transaction(&db);
    transaction.setParams({QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
    fb::Query query;
    query.setDatabase(&db);
    query.setTransaction(&transaction);
    query.setSql(QStringLiteral("select name from healthco where comnumber = :comnumber"));
    QString names;
    for (qint32 number : companies) {
        query.close();
        query.paramByName(QStringLiteral("comnumber")).setInteger(number);
        query.open();
        if (query.eof())
            throw Error(QStringLiteral("There is no insurance company numbered %1").arg(number));
        names = names + criteria::textOf(query.fieldByName(QStringLiteral("NAME")).value()) + QLatin1Char(' ');
    }
    query.close();
    if (transaction.inTransaction())
        transaction.commit();
    return names;
}

// A sum as its exact decimal value; null when the sum is over no rows.
QJsonValue exactSum(const fb::Field& field)
{
    if (field.isNull())
        return QJsonValue::Null;
    // An exact numeric's text keeps every digit; the document is assembled with it below.
    qint64 mantissa = 0;
    int scale = 0;
    return QJsonValue(field.exactDecimal(mantissa, scale) ? field.asString()
                                                          : QString::number(double(field.asFloat()), 'g', 17));
}

QJsonObject figures(fb::Query& q, const char* sumName)
{
    QJsonObject o;
    o.insert(QStringLiteral("num"), q.fieldByName(QStringLiteral("NUM")).asInteger());
    o.insert(QStringLiteral("numaccounts"), q.fieldByName(QStringLiteral("NUMACCOUNTS")).asInteger());
    o.insert(QString::fromLatin1(sumName), exactSum(q.fieldByName(QStringLiteral("SUBTOTAL"))));
    return o;
}

// QJsonDocument writes numbers through double; sums are kept as their decimal text in the
// document and unquoted here, so they stay exact JSON numbers.
QByteArray toJson(const QJsonObject& document)
{
    QByteArray text = QJsonDocument(document).toJson(QJsonDocument::Indented);
    static const QRegularExpression quotedSum(
        QStringLiteral("(\"(?:subtotal|valueall|valueins)\": )\"(-?[0-9]+(?:\\.[0-9]+)?(?:e[-+]?[0-9]+)?)\""));
    return QString::fromUtf8(text).replace(quotedSum, QStringLiteral("\\1\\2")).toUtf8();
}

void writeFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
}

int run(const Request& request)
{
    fb::Database db;
    db.setParam(QStringLiteral("user_name"), request.user);
    db.setParam(QStringLiteral("password"), qEnvironmentVariable("ISC_PASSWORD"));
    db.setDatabaseName(request.database);
    db.open();

    TfrmReport holder(db);
    holder.CompanyInList = criteria::inList(criteria::companyEntries(request.companies));
    holder.GPInList = criteria::inList(criteria::referralEntries(request.gpReferrals));
    holder.ConsultantInList = criteria::inList(criteria::referralEntries(request.consultantReferrals));
    holder.CompanyNames = companyNames(db, request.companies);
    holder.PeriodStart = QDateTime(request.from, QTime(0, 0));
    holder.PeriodEnd = QDateTime(request.to, QTime(0, 0));

    reporting::PageStore pages;
    holder.generate(pages);
    holder.IBQuery1->first(); // the report stepped through its rows; the figures are read again

    // Both outputs are made in full before either is written.
    QByteArray pdfBytes;
    if (!request.pdf.isEmpty()) {
        const QString scratch = QDir::temp().filePath(
            QStringLiteral("quorvel-report-%1.pdf").arg(QCoreApplication::applicationPid()));
        reporting::writePdf(pages, scratch);
        QFile file(scratch);
        if (!file.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("Cannot read back the report: %1").arg(file.errorString()));
        pdfBytes = file.readAll();
        file.close();
        QFile::remove(scratch);
    }
    QByteArray jsonBytes;
    if (!request.json.isEmpty()) {
        QString period, practice, selection, avg1, avg2, avg3;
        holder.QRLabel11Print(period);
        holder.QRLabel12Print(practice);
        holder.QRLabel13Print(selection);
        holder.QRLabel15Print(avg1);
        holder.QRLabel17Print(avg2);
        holder.QRLabel19Print(avg3);
        QJsonObject doc;
        doc.insert(QStringLiteral("period"),
                   QJsonObject{{QStringLiteral("start"), request.from.toString(Qt::ISODate)},
                               {QStringLiteral("end"), request.to.toString(Qt::ISODate)}});
        doc.insert(QStringLiteral("companies"), figures(*holder.IBQuery1, "subtotal"));
        doc.insert(QStringLiteral("gp"), figures(*holder.IBQuery2, "subtotal"));
        doc.insert(QStringLiteral("consultant"), figures(*holder.IBQuery3, "subtotal"));
        QJsonObject whole;
        whole.insert(QStringLiteral("num"), holder.IBQuery4NUM().asInteger());
        whole.insert(QStringLiteral("valueall"), exactSum(holder.IBQuery4VALUEALL()));
        whole.insert(QStringLiteral("numins"), holder.IBQuery4NUMINS().asInteger());
        whole.insert(QStringLiteral("valueins"), exactSum(holder.IBQuery4VALUEINS()));
        doc.insert(QStringLiteral("practice"), whole);
        doc.insert(QStringLiteral("texts"),
                   QJsonObject{{QStringLiteral("period"), period},
                               {QStringLiteral("practice"), practice},
                               {QStringLiteral("selection"), selection},
                               {QStringLiteral("averages"), QJsonArray{avg1, avg2, avg3}}});
        jsonBytes = toJson(doc);
    }
    if (!request.pdf.isEmpty())
        writeFile(request.pdf, pdfBytes);
    if (request.json == QLatin1String("-")) {
        std::fwrite(jsonBytes.constData(), 1, size_t(jsonBytes.size()), stdout);
        std::fflush(stdout);
    } else if (!request.json.isEmpty()) {
        writeFile(request.json, jsonBytes);
    }
    return 0;
}

} // namespace

bool wantsBatchReport(const QStringList& arguments) { return arguments.size() > 1; }

int runBatchReport(const QStringList& arguments)
{
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (arguments.contains(QStringLiteral("--version"))) {
        std::printf("quorvel-insurance-stats %s\n", QUORVEL_VERSION);
        return 0;
    }
    Request request;
    try {
        request = parse(arguments);
    } catch (const UsageError& e) {
        printErr(QStringLiteral("quorvel-insurance-stats: ") + e.message);
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        return run(request);
    } catch (const Error& e) {
        printErr(e.message());
    } catch (const std::exception& e) {
        printErr(QString::fromLocal8Bit(e.what()));
    }
    return 1;
}

} // namespace quorvel
