#pragma once

#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QWidget;

namespace quorvel {

class DatePicker;
class PageControl;
class TickGrid;
namespace fb {
class Database;
class Query;
class Transaction;
} // namespace fb

// The wizard window: heading strip, four pages with Next and Back, the guidance memo on
// the right and the status bar. Components are public, as on a form, so that the steps
// and the tests reach them by name.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Components
    QWidget* Panel1 = nullptr;
    QLabel* Panel1Caption = nullptr;
    QWidget* Panel2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QWidget* Panel3 = nullptr;
    QWidget* Panel4 = nullptr;
    PageControl* cxPageControl1 = nullptr;
    QWidget* cxTabSheet1 = nullptr;
    QWidget* cxTabSheet2 = nullptr;
    QWidget* cxTabSheet3 = nullptr;
    QWidget* cxTabSheet4 = nullptr;
    QLabel* Label1 = nullptr;
    DatePicker* StartDate = nullptr;
    QLabel* Label2 = nullptr;
    DatePicker* Enddate = nullptr;
    QPushButton* back = nullptr;
    QPushButton* next = nullptr;
    QPushButton* cxButton1 = nullptr;
    QStatusBar* sb = nullptr;
    QLabel* sbPanel0 = nullptr;
    TickGrid* Ins = nullptr;      // page 1: insurance companies
    TickGrid* GPGrid = nullptr;   // page 2: GP referral values
    TickGrid* ConsGrid = nullptr; // page 3: consultant referral values

    // The connection and the three lists, each read inside a transaction of its own
    std::unique_ptr<fb::Database> DB;
    std::unique_ptr<fb::Transaction> IBTransaction1, IBTransaction2, IBTransaction3;
    std::unique_ptr<fb::Query> Insurance, GP, Cons;

    // State
    bool ShowLogin = false;
    bool FirstActivate = false;
    QString ConnServer, ConnDatabase, ConnUser, ConnPassword;
    QList<qint32>* CompanyNumbers = nullptr;
    QStringList* GPReferrals = nullptr;
    QStringList* ConsultantReferrals = nullptr;

    // Steps
    void FormCreate();
    void FormActivate();
    void FormClose();
    void nextClick();
    void backClick();
    void cxPageControl1PageChanging(int newIndex, bool& allowChange);
    void LoginAndConnect();
    // The part of the login after the chooser: keeps the choice, sets the connection's name
    // and parameters and connects; a refusal is shown in an information box.
    void Connect(const QString& server, const QString& database, const QString& user, const QString& password);
    void cxButton1Click();

    // Connection and list handlers
    void DBAfterConnect();
    void DBBeforeDisconnect();
    void DBAfterDisconnect();
    void InsuranceBeforeOpen();
    void InsuranceAfterClose();
    void GPBeforeOpen();
    void GPAfterClose();
    void ConsBeforeOpen();
    void ConsAfterClose();

    // Text of the status bar's one panel.
    QString statusText() const;
    void setStatusText(const QString& text);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildDatePage();
    void buildGrids();
    void buildConnection();
    bool closed_ = false;
    bool placed_ = false;
};

} // namespace quorvel
