#pragma once

#include "FirebirdClient.h"

#include <optional>

namespace quorvel::practicedb {

struct Day {
    int year;
    int month;
    int day;
};

// Writes the practice tables: creates them, takes rows through three prepared INSERTs,
// commits every few thousand rows so a million treatments never sit in one transaction,
// and builds the secondary indexes once the rows are in (cheaper than keeping them up to
// date row by row).
class PracticeWriter {
public:
    explicit PracticeWriter(Attachment& attachment);

    void company(int comNumber, const char* name, const char* address1, const char* phone);
    void patient(int accNumber, const char* surname, const char* firstName, std::optional<int> comNumber,
                 const char* referral);
    void treatment(int treatNumber, int accNumber, Day date, long long chargeCents, char isHealthTreat,
                   const char* description);

    // Commits the last batch and builds the indexes.
    void finish();

private:
    void rowWritten();

    Attachment& attachment_;
    Transaction transaction_;
    Statement insertCompany_;
    Statement insertPatient_;
    Statement insertTreatment_;
    int rowsInBatch_ = 0;
};

} // namespace quorvel::practicedb
