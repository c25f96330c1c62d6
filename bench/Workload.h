#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace quorvel::bench {

// Where the benchmark connects.
struct Target {
    QString server;   // "127.0.0.1"
    QString path;     // the database file on the server
    QString user;     // ISC_USER, else SYSDBA
    QString password; // ISC_PASSWORD, else masterkey
    QString connectString() const { return server + QLatin1Char(':') + path; }

    // A database file on the local server, with the credentials of the environment.
    static Target local(const QString& path)
    {
        const QString user = qEnvironmentVariable("ISC_USER");
        const QString password = qEnvironmentVariable("ISC_PASSWORD");
        return {QStringLiteral("127.0.0.1"), path, user.isEmpty() ? QStringLiteral("SYSDBA") : user,
                password.isEmpty() ? QStringLiteral("masterkey") : password};
    }
};

// The report asked for: five companies over one year, the last year of the made-up
// practices' treatments.
constexpr int reportCompanies = 5;
constexpr int reportReferrals = 20; // ticked on each referral page
inline QDate reportFrom()
{
    return QDate(2024, 1, 1);
}
inline QDate reportTo()
{
    return QDate(2024, 12, 31);
}

// What the user picks in the wizard: five companies, the referral values of each page and
// a one-year period.
struct Selection {
    QList<qint32> companies;
    QStringList companyNames;
    QStringList gpReferrals;
    QStringList consultantReferrals;
    QDate from, to;
};

// One statement as the program sends it: the text with its markers turned into "?", in the
// practice database's bytes, the values of the markers in order, and the parameter names
// of the transaction it runs in.
struct Statement {
    QString label;
    QByteArray text;
    std::vector<QDateTime> params;
    QStringList transactionParams;
};

// The figures a run reads, to check that every way did the same work.
struct Digest {
    qint64 rows = 0;
    qint64 firstColumn = 0; // the sum of the first column's integers (the counts)
    bool operator==(const Digest&) const = default;
};

} // namespace quorvel::bench
