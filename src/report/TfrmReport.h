#pragma once

#include "platform/regional/RegionalSettings.h"

#include <QDateTime>
#include <QString>

#include <memory>

namespace quorvel {

namespace fb {
class Database;
class Field;
class Query;
class Transaction;
} // namespace fb
namespace reporting {
class PageStore;
class Report;
class ReportDataset;
} // namespace reporting
struct PracticeRow;

// The report holder: one per report. It carries the selection, the four statistics
// queries with their transactions, the report definition and its print steps. It is
// never shown itself; only the report's preview window is.
class TfrmReport {
public:
    explicit TfrmReport(fb::Database& db, RegionalSettings regional = RegionalSettings::fromSystem());
    ~TfrmReport();
    TfrmReport(const TfrmReport&) = delete;
    TfrmReport& operator=(const TfrmReport&) = delete;

    // The selection, set by the Report step before the preview starts
    QDateTime PeriodStart;
    QDateTime PeriodEnd;
    QString CompanyInList;
    QString GPInList;
    QString ConsultantInList;
    QString CompanyNames;

    // Transactions are declared before the queries so that the queries close first
    // when the holder goes.
    std::unique_ptr<fb::Transaction> querytrans, IBTransaction1, IBTransaction2, IBTransaction3;
    std::unique_ptr<fb::Query> IBQuery1, IBQuery2, IBQuery3, IBQuery4;
    std::unique_ptr<reporting::Report> QuickRep1;

    // Field components of the four result rows
    fb::Field& IBQuery1NUM() const;
    fb::Field& IBQuery1SUBTOTAL() const;
    fb::Field& IBQuery1NUMACCOUNTS() const;
    fb::Field& IBQuery2NUM() const;
    fb::Field& IBQuery2SUBTOTAL() const;
    fb::Field& IBQuery2NUMACCOUNTS() const;
    fb::Field& IBQuery3NUM() const;
    fb::Field& IBQuery3SUBTOTAL() const;
    fb::Field& IBQuery3NUMACCOUNTS() const;
    fb::Field& IBQuery4NUM() const;
    fb::Field& IBQuery4VALUEALL() const;
    fb::Field& IBQuery4NUMINS() const;
    fb::Field& IBQuery4VALUEINS() const;

    // Handlers
    void QuickRep1BeforePrint(bool& printReport);
    void IBQuery1BeforeOpen(fb::Query& dataSet);
    void IBQuery1AfterClose(fb::Query& dataSet);
    void IBQuery2BeforeOpen(fb::Query& dataSet);
    void IBQuery2AfterClose(fb::Query& dataSet);
    void QRLabel11Print(QString& value);
    void QRLabel12Print(QString& value);
    void QRLabel13Print(QString& value);
    void QRLabel15Print(QString& value);
    void QRLabel17Print(QString& value);
    void QRLabel19Print(QString& value);
    void QRDBText3Print(QString& value);
    void QRDBText6Print(QString& value);
    void QRDBText9Print(QString& value);

    // Opens the preview window, generates the report into it and returns when the window
    // has been closed (or the application is ending). A failure while generating passes out.
    void preview();

    // Lays the report out once, as printing would, into `store` (the batch report).
    void generate(reporting::PageStore& store);

    // The current rows as the print steps read them.
    PracticeRow practiceRow() const;
    QString subtotalText(fb::Query& query) const;

    const RegionalSettings& regional() const { return regional_; }

private:
    void defineReport();
    RegionalSettings regional_;
    std::unique_ptr<reporting::ReportDataset> dataset_;
};

} // namespace quorvel
