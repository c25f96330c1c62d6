#pragma once

#include "platform/app/ImageList.h"

#include <QDialog>
#include <QString>
#include <memory>

class QLabel;
class QPushButton;
class QWidget;

namespace quorvel {

class Registry;
class TreeView;

// The database chooser: the database files in the folder of the practice's current
// database and the databases of its remote server, both found through the practice-management
// product's per-user settings. A double click on a database asks for the credentials and
// closes the dialog with Accepted; Cancel and the close box close it with Rejected. The tree is
// built once, at creation. Components are public, as on a form, so that the steps and the
// tests reach them by name.
class TfrmLogIn : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogIn(QWidget* parent = nullptr);
    ~TfrmLogIn() override;

    // Components
    QWidget* Panel2 = nullptr;
    QLabel* Panel2Caption = nullptr;
    TreeView* fileview = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* cxButton1 = nullptr;
    ImageList FileImages;

    // State
    std::unique_ptr<Registry> SettingsRegistry; // lives for the creation step only
    QString CurrentDatabase;
    QString ServerName;

    // Results, read after Accepted
    QString ChosenServer;
    QString ChosenDatabase;
    QString ChosenUser;
    QString ChosenPassword;

    // Steps
    void FormCreate();
    void fileviewDblClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
};

// The folder part of a path: the text up to and including its last "/" ("\" or ":" on
// Windows); empty when it has none.
QString folderPart(const QString& path);

} // namespace quorvel
