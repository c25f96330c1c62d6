#include "details/TfrmDetails.h"

#include "platform/app/ErrorHandler.h"
#include "platform/app/Look.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace quorvel {
namespace {

// The application's style, but "*" for each password character. A style sheet cannot do
// this reliably: the edit reads the character only when its style changes, and a sheet
// applied from above (the application's) never tells it.
class PasswordStars final : public QProxyStyle {
public:
    PasswordStars() : QProxyStyle(QApplication::style()->name()) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TfrmDetails::TfrmDetails(QWidget* parent) : QDialog(parent)
{
    buildLayout();
}

void TfrmDetails::buildLayout()
{
    setObjectName(QStringLiteral("frmDetails"));
    setWindowTitle(QStringLiteral("Quorvel Database Log In Details"));
    // A fixed dialog border: a close box, no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(280, 173);
    setFont(look::uiFont());
    look::paintAsPanel(this);
    // The Office 2003 edit frame.
    setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid #7f9db9; background: #ffffff; padding: 0 2px; }"
                       "QLineEdit:focus { border-color: #002d96; }"));

    Label1 = new QLabel(QStringLiteral("User Name:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(33, 25);
    Label1->adjustSize();

    username = new QLineEdit(QStringLiteral("SYSDBA"), this);
    username->setObjectName(QStringLiteral("username"));
    username->setGeometry(111, 21, 121, 21);

    Label2 = new QLabel(QStringLiteral("Password:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(33, 62);
    Label2->adjustSize();

    password = new QLineEdit(this);
    password->setObjectName(QStringLiteral("password"));
    password->setGeometry(111, 61, 121, 21);
    password->setEchoMode(QLineEdit::Password);
    auto* stars = new PasswordStars;
    stars->setParent(password);
    password->setStyle(stars);

    cxButton1 = new QPushButton(QStringLiteral("Ok"), this);
    cxButton1->setObjectName(QStringLiteral("cxButton1"));
    cxButton1->setGeometry(157, 110, 75, 25);
    cxButton1->setDefault(true);
    cxButton1->setEnabled(false);

    Label1->setBuddy(username);
    Label2->setBuddy(password);
    setTabOrder(username, password);
    setTabOrder(password, cxButton1);

    connect(password, &QLineEdit::textChanged, this,
            [this] { guarded([this] { passwordPropertiesChange(); }); });
    connect(cxButton1, &QPushButton::clicked, this, [this] {
        guarded([this] { cxButton1Click(); });
        accept();
    });
}

void TfrmDetails::passwordPropertiesChange()
{
    cxButton1->setEnabled(password->text().length() > 0);
}

void TfrmDetails::cxButton1Click()
{
    EnteredUser = username->text();
    EnteredPassword = password->text();
}

void TfrmDetails::showEvent(QShowEvent* event)
{
    // Centred on the screen rather than over the window that happens to be active.
    if (!event->spontaneous())
        if (const QScreen* on = screen())
            move(on->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace quorvel
