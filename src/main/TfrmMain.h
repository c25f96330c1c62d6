#pragma once

#include <QList>
#include <QMainWindow>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QWidget;

namespace quorvel {

class DatePicker;
class PageControl;

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

    // Text of the status bar's one panel.
    QString statusText() const;
    void setStatusText(const QString& text);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildDatePage();
    bool closed_ = false;
    bool placed_ = false;
};

} // namespace quorvel
