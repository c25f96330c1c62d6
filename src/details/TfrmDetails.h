#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvel {

// The credentials dialog: the user name and password with which the chosen database is
// opened. Ok (the default button, enabled while a password is typed) hands both texts on;
// the close box leaves them empty. Components are public, as on a form, so that the steps
// and the tests reach them by name.
class TfrmDetails : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDetails(QWidget* parent = nullptr);

    // Components
    QLabel* Label1 = nullptr;
    QLineEdit* username = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* password = nullptr;
    QPushButton* cxButton1 = nullptr;

    // Results, written only by Ok
    QString EnteredUser;
    QString EnteredPassword;

    // Steps
    void passwordPropertiesChange();
    void cxButton1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
};

} // namespace quorvel
