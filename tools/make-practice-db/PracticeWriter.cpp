#include "PracticeWriter.h"

namespace quorvel::practicedb {

namespace {

constexpr int batchSize = 20000;

Transaction createTables(Attachment& attachment)
{
    Transaction ddl = attachment.startTransaction();
    attachment.execute(ddl, "create table HEALTHCO (COMNUMBER integer not null primary key, "
                            "NAME varchar(40), ADDRESS1 varchar(40), PHONE varchar(20))");
    attachment.execute(ddl, "create table PATPER (ACCNUMBER integer not null primary key, "
                            "SURNAME varchar(30), FIRSTNAME varchar(30), COMNUMBER integer, "
                            "REFERRAL varchar(40))");
    attachment.execute(ddl, "create table PATTREAT (TREATNUMBER integer not null primary key, "
                            "ACCNUMBER integer not null, DAT_ date, CHARGE numeric(15,2), "
                            "ISHEALTHTREAT char(1), DESCRIPTION varchar(40))");
    ddl.commit();
    return attachment.startTransaction();
}

} // namespace

PracticeWriter::PracticeWriter(Attachment& attachment)
    : attachment_(attachment), transaction_(createTables(attachment)),
      insertCompany_(attachment.prepare(transaction_,
                                        "insert into HEALTHCO (COMNUMBER, NAME, ADDRESS1, PHONE) "
                                        "values (?, ?, ?, ?)")),
      insertPatient_(attachment.prepare(
          transaction_, "insert into PATPER (ACCNUMBER, SURNAME, FIRSTNAME, COMNUMBER, REFERRAL) "
                        "values (?, ?, ?, ?, ?)")),
      insertTreatment_(attachment.prepare(transaction_,
                                          "insert into PATTREAT (TREATNUMBER, ACCNUMBER, DAT_, CHARGE, "
                                          "ISHEALTHTREAT, DESCRIPTION) values (?, ?, ?, ?, ?, ?)"))
{
}

void PracticeWriter::company(int comNumber, const char* name, const char* address1, const char* phone)
{
    insertCompany_.setInt(0, comNumber);
    insertCompany_.setText(1, name);
    insertCompany_.setText(2, address1);
    insertCompany_.setText(3, phone);
    insertCompany_.execute(transaction_);
    rowWritten();
}

void PracticeWriter::patient(int accNumber, const char* surname, const char* firstName,
                             std::optional<int> comNumber, const char* referral)
{
    insertPatient_.setInt(0, accNumber);
    insertPatient_.setText(1, surname);
    insertPatient_.setText(2, firstName);
    if (comNumber)
        insertPatient_.setInt(3, *comNumber);
    else
        insertPatient_.setNull(3);
    insertPatient_.setText(4, referral);
    insertPatient_.execute(transaction_);
    rowWritten();
}

void PracticeWriter::treatment(int treatNumber, int accNumber, Day date, long long chargeCents,
                               char isHealthTreat, const char* description)
{
    const char flag[2] = {isHealthTreat, '\0'};
    insertTreatment_.setInt(0, treatNumber);
    insertTreatment_.setInt(1, accNumber);
    insertTreatment_.setDate(2, date.year, date.month, date.day);
    insertTreatment_.setNumeric(3, chargeCents);
    insertTreatment_.setText(4, flag);
    insertTreatment_.setText(5, description);
    insertTreatment_.execute(transaction_);
    rowWritten();
}

void PracticeWriter::rowWritten()
{
    if (++rowsInBatch_ < batchSize)
        return;
    transaction_.commit();
    transaction_ = attachment_.startTransaction();
    rowsInBatch_ = 0;
}

void PracticeWriter::finish()
{
    transaction_.commit();
    Transaction ddl = attachment_.startTransaction();
    attachment_.execute(ddl, "create index PATTREAT_ACCNUMBER on PATTREAT (ACCNUMBER)");
    attachment_.execute(ddl, "create index PATTREAT_DAT_ on PATTREAT (DAT_)");
    attachment_.execute(ddl, "create index PATPER_COMNUMBER on PATPER (COMNUMBER)");
    attachment_.execute(ddl, "create index PATPER_REFERRAL on PATPER (REFERRAL)");
    attachment_.execute(ddl, "create index HEALTHCO_NAME on HEALTHCO (NAME)");
    ddl.commit();
}

} // namespace quorvel::practicedb
