#include "main/TfrmMain.h"

#include "main/GuidanceTexts.h"
#include "platform/app/DatePicker.h"
#include "platform/app/ErrorHandler.h"
#include "platform/app/Look.h"
#include "platform/app/PageControl.h"
#include "platform/app/Seams.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvel {

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    buildLayout();
    buildGrids();
    buildConnection();
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // The close step releases the lists; a window destroyed without being closed
    // (a test, an ending application) must not leak them.
    delete CompanyNumbers;
    delete GPReferrals;
    delete ConsultantReferrals;
}

void TfrmMain::buildLayout()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvel Insurance Statistics"));
    setFont(look::uiFont());

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = new QWidget(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    look::paintAsPanel(Panel1);
    auto* heading = new QHBoxLayout(Panel1);
    Panel1Caption = new QLabel(QStringLiteral("Please follow the wizard by using the Next and Back buttons below."),
                               Panel1);
    Panel1Caption->setAlignment(Qt::AlignCenter);
    heading->addWidget(Panel1Caption);
    column->addWidget(Panel1);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    column->addLayout(body, 1);

    Panel3 = new QWidget(client);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto* pageColumn = new QVBoxLayout(Panel3);
    pageColumn->setContentsMargins(1, 1, 1, 0);
    pageColumn->setSpacing(0);

    cxPageControl1 = new PageControl(Panel3);
    cxPageControl1->setObjectName(QStringLiteral("cxPageControl1"));
    cxTabSheet1 = new QWidget;
    cxTabSheet2 = new QWidget;
    cxTabSheet3 = new QWidget;
    cxTabSheet4 = new QWidget;
    const std::pair<QWidget*, const char*> sheets[] = {{cxTabSheet1, "cxTabSheet1"},
                                                       {cxTabSheet2, "cxTabSheet2"},
                                                       {cxTabSheet3, "cxTabSheet3"},
                                                       {cxTabSheet4, "cxTabSheet4"}};
    for (auto [sheet, name] : sheets) {
        sheet->setObjectName(QString::fromLatin1(name));
        cxPageControl1->addWidget(sheet);
    }
    cxPageControl1->setCurrentIndex(0);
    cxPageControl1->setPageChanging([this](int index, bool& allow) { cxPageControl1PageChanging(index, allow); });
    pageColumn->addWidget(cxPageControl1, 1);
    buildDatePage();

    Panel4 = new QWidget(Panel3);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedHeight(41);
    look::paintAsPanel(Panel4);
    auto makeButton = [this](const char* name, const QString& caption, int left, bool enabled) {
        auto* button = new QPushButton(caption, Panel4);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 8, 75, 25);
        button->setEnabled(enabled);
        button->setAutoDefault(false);
        return button;
    };
    back = makeButton("back", QStringLiteral("< Back"), 22, false);
    next = makeButton("next", QStringLiteral("Next >"), 132, true);
    cxButton1 = makeButton("cxButton1", QStringLiteral("Report"), 251, false);
    setTabOrder(next, back);
    setTabOrder(back, cxButton1);
    connect(next, &QPushButton::clicked, this, [this] { guarded([this] { nextClick(); }); });
    connect(back, &QPushButton::clicked, this, [this] { guarded([this] { backClick(); }); });
    connect(cxButton1, &QPushButton::clicked, this, [this] { guarded([this] { cxButton1Click(); }); });
    pageColumn->addWidget(Panel4);
    body->addWidget(Panel3, 1);

    Panel2 = new QWidget(client);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(185);
    auto* memoColumn = new QVBoxLayout(Panel2);
    memoColumn->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(QStringLiteral("Memo1"), Panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setFocusPolicy(Qt::NoFocus);
    memoColumn->addWidget(Memo1);
    body->addWidget(Panel2);

    setCentralWidget(client);

    sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setFixedHeight(20);
    sb->setSizeGripEnabled(true);
    sbPanel0 = new QLabel(QStringLiteral("Not Connected"), sb);
    sbPanel0->setContentsMargins(4, 0, 4, 0);
    sb->addWidget(sbPanel0, 1);
    setStatusBar(sb);

    resize(609, 400);
}

void TfrmMain::buildDatePage()
{
    Label1 = new QLabel(QStringLiteral("Start Date:"), cxTabSheet4);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(29, 44, 54, 15);
    StartDate = new DatePicker(cxTabSheet4);
    StartDate->setObjectName(QStringLiteral("StartDate"));
    StartDate->setGeometry(112, 40, 186, 23);
    Label2 = new QLabel(QStringLiteral("End date:"), cxTabSheet4);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(29, 93, 49, 15);
    Enddate = new DatePicker(cxTabSheet4);
    Enddate->setObjectName(QStringLiteral("Enddate"));
    Enddate->setGeometry(112, 89, 186, 23);
    Label1->setBuddy(StartDate);
    Label2->setBuddy(Enddate);
    QWidget::setTabOrder(StartDate, Enddate);
}

QString TfrmMain::statusText() const { return sbPanel0->text(); }

void TfrmMain::setStatusText(const QString& text) { sbPanel0->setText(text); }

void TfrmMain::FormCreate()
{
    Memo1->clear();
    Memo1->setPlainText(guidance::page1);
    ShowLogin = true;
    CompanyNumbers = new QList<qint32>;
    ConsultantReferrals = new QStringList;
    GPReferrals = new QStringList;
    const QDate today = seams().clock->today();
    Enddate->setDate(today);
    StartDate->setDate(today.addDays(-364));
    FirstActivate = true;
}

void TfrmMain::FormActivate()
{
    if (!FirstActivate)
        return;
    FirstActivate = false;
    if (ShowLogin)
        LoginAndConnect();
}

void TfrmMain::FormClose()
{
    if (IBTransaction1->inTransaction())
        IBTransaction1->commit();
    DB->close();
    delete CompanyNumbers;
    CompanyNumbers = nullptr;
    delete GPReferrals;
    GPReferrals = nullptr;
    delete ConsultantReferrals;
    ConsultantReferrals = nullptr;
}

void TfrmMain::nextClick()
{
    const int active = cxPageControl1->activePageIndex();
    if (active < 0)
        return;
    cxPageControl1->setActivePageIndex(std::min(active + 1, 3));
}

void TfrmMain::backClick()
{
    const int active = cxPageControl1->activePageIndex();
    if (active < 0)
        return;
    cxPageControl1->setActivePageIndex(std::max(active - 1, 0));
}

void TfrmMain::cxPageControl1PageChanging(int newIndex, bool& /*allowChange*/)
{
    static const QString* const texts[] = {&guidance::page1, &guidance::page2, &guidance::page3, &guidance::page4};
    if (newIndex < 0 || newIndex > 3)
        return;
    back->setEnabled(newIndex != 0);
    next->setEnabled(newIndex != 3);
    Memo1->clear();
    Memo1->setPlainText(*texts[newIndex]);
    cxButton1->setEnabled(newIndex == 3);
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == QEvent::Show && !placed_) {
        // Centred on the screen when first shown; later showings keep where the user put it.
        placed_ = true;
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    const bool result = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        guarded([this] { FormActivate(); });
    return result;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // The close is never refused; the step runs once however often Qt asks.
    if (!closed_) {
        closed_ = true;
        guarded([this] { FormClose(); });
        // The program ends with this window, also while a report preview is open: its
        // wait returns and the Report step cleans up before the loop ends.
        QCoreApplication::quit();
    }
    event->accept();
}

} // namespace quorvel
