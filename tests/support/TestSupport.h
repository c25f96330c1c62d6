#pragma once

#include "platform/app/Seams.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace quorvel::test {

// Seams with fixed values: today's date, the message boxes (recorded, never shown) and
// the application's pointer.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDate day) : day_(day) {}
    QDate today() const override { return day_; }

private:
    QDate day_;
};

class RecordingMessages final : public MessageBoxes {
public:
    void error(const QString& text) override { errors << text; }
    void information(QWidget*, const QString& title, const QString& text) override
    {
        informationTitles << title;
        informations << text;
    }
    QStringList errors;
    QStringList informations;
    QStringList informationTitles;
};

class RecordingCursor final : public Cursor {
public:
    void setHourglass() override
    {
        hourglass = true;
        changes << QStringLiteral("hourglass");
    }
    void setDefault() override
    {
        hourglass = false;
        changes << QStringLiteral("default");
    }
    bool isHourglass() const override { return hourglass; }
    bool hourglass = false;
    QStringList changes;
};

// All fakes installed for the life of the object.
struct FakeSeams {
    explicit FakeSeams(QDate today = QDate(2024, 3, 1))
        : clock(today), installed(Seams{&clock, &messages, &cursor})
    {
    }
    FixedClock clock;
    RecordingMessages messages;
    RecordingCursor cursor;
    ScopedSeams installed;
};

// Names of the top-level windows still visible; a test's cleanup() fails on any, so a
// dialog a failed check left open is caught where it happened.
QStringList openTopLevelWindows();
void closeAllTopLevelWindows();
// Closes every top-level window and fails the current test if one was still open.
void verifyNoWindowLeft();

// The local Firebird server that scripts/firebird starts.
QString firebirdUser();     // ISC_USER, default SYSDBA
QString firebirdPassword(); // ISC_PASSWORD, default masterkey
QString databaseFolder();   // QUORVEL_DB_DIR, default /var/lib/quorvel

// Builds a practice database with tools/make-practice-db (size tiny, demo, medium or large)
// under databaseFolder() and returns its path on the server. The file is made anew on each
// call, so a test may change it. Fails the test (throws) when the server cannot be reached.
QString makePracticeDatabase(const QString& fileName, const QString& size = QStringLiteral("tiny"), int seed = 1);

// Runs SQL through isql-fb on a database of the local server (as SYSDBA's stand-in for
// another user of the practice). Throws Error with isql's output when it fails.
QString runIsql(const QString& databasePath, const QString& sql);

// The connection string of a database file on the local server.
QString localDatabase(const QString& path);

} // namespace quorvel::test
