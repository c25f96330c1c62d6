#include "login/TfrmLogIn.h"

#include "details/TfrmDetails.h"
#include "platform/app/ErrorHandler.h"
#include "platform/app/FolderImages.h"
#include "platform/app/Look.h"
#include "platform/app/TreeView.h"
#include "platform/registry/Registry.h"

#include <QDirIterator>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>

namespace quorvel {

namespace {

const QString currentKey = QStringLiteral("software\\quorvel\\current");
const QString remoteServersKey = QStringLiteral("software\\quorvel\\Remote Servers");
const QString unknown = QStringLiteral("Unknown");

} // namespace

QString folderPart(const QString& path)
{
#ifdef Q_OS_WIN
    const qsizetype last = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':')));
#else
    const qsizetype last = path.lastIndexOf(QLatin1Char('/'));
#endif
    return path.left(last + 1);
}

TfrmLogIn::TfrmLogIn(QWidget* parent) : QDialog(parent)
{
    buildLayout();
    // A failure while the tree is built is shown, and the dialog opens with what was built.
    guarded([this] { FormCreate(); });
}

TfrmLogIn::~TfrmLogIn() = default;

void TfrmLogIn::buildLayout()
{
    setObjectName(QStringLiteral("frmLogIn"));
    setWindowTitle(QStringLiteral("Quorvel Practice Log In"));
    // A fixed dialog border: a close box, no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(441, 333);
    setFont(look::uiFont());

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(0, 0, 441, 41);
    look::paintAsPanel(Panel2);
    auto* heading = new QHBoxLayout(Panel2);
    Panel2Caption =
        new QLabel(QStringLiteral("Please double click the database you wish to Log in to."), Panel2);
    Panel2Caption->setAlignment(Qt::AlignCenter);
    heading->addWidget(Panel2Caption);

    FileImages.add(folderIcon(FolderState::Closed));
    FileImages.add(folderIcon(FolderState::Open));

    fileview = new TreeView(this);
    fileview->setObjectName(QStringLiteral("fileview"));
    fileview->setGeometry(0, 41, 441, 251);
    fileview->setImages(&FileImages);
    connect(fileview, &TreeView::dblClick, this, [this] { guarded([this] { fileviewDblClick(); }); });

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 292, 441, 41);
    look::paintAsPanel(Panel1);
    cxButton1 = new QPushButton(QStringLiteral("Cancel"), Panel1);
    cxButton1->setObjectName(QStringLiteral("cxButton1"));
    cxButton1->setGeometry(16, 7, 75, 25);
    // Not a default button: Enter in the tree must not cancel.
    cxButton1->setAutoDefault(false);
    connect(cxButton1, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmLogIn::FormCreate()
{
    SettingsRegistry = std::make_unique<Registry>();
    const auto release = qScopeGuard([this] { SettingsRegistry.reset(); });

    if (SettingsRegistry->openKey(currentKey)) {
        const QString currentDatabase = QStringLiteral("Current Database");
        const QString server = QStringLiteral("Server");
        CurrentDatabase = SettingsRegistry->valueExists(currentDatabase)
                              ? SettingsRegistry->readString(currentDatabase)
                              : unknown;
        ServerName = SettingsRegistry->valueExists(server) ? SettingsRegistry->readString(server) : unknown;
        SettingsRegistry->closeKey();

        QTreeWidgetItem* local = fileview->addRoot(QStringLiteral("Local"));
        // Every entry that matches, folders and hidden ones included, in the order the file
        // system gives them; an empty folder part means the current folder.
        const QString folder = folderPart(CurrentDatabase);
        QDirIterator found(folder.isEmpty() ? QStringLiteral(".") : folder, {QStringLiteral("*.gdb")},
                           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (found.hasNext()) {
            found.next();
            fileview->addChild(local, found.fileName());
        }
    }

    if (SettingsRegistry->openKey(remoteServersKey)) {
        QTreeWidgetItem* remote = fileview->addRoot(ServerName);
        fileview->setNodeImages(remote, 0, 1);
        for (const QString& database : SettingsRegistry->valueNames())
            fileview->addChild(remote, database);
    }
}

void TfrmLogIn::fileviewDblClick()
{
    const QTreeWidgetItem* node = fileview->selected();
    if (!node || !node->parent())
        return;
    const QString group = node->parent()->text(0);
    if (group.toUpper() == QLatin1String("LOCAL")) {
        ChosenServer = QStringLiteral("LOCALHOST");
        ChosenDatabase = folderPart(CurrentDatabase) + node->text(0);
    } else {
        ChosenServer = group;
        ChosenDatabase = node->text(0);
    }

    // However the credentials dialog ends, it is freed and the chooser closes with OK.
    const auto closeWithOk = qScopeGuard([this] { done(QDialog::Accepted); });
    const auto details = std::make_unique<TfrmDetails>();
    details->exec();
    ChosenUser = details->EnteredUser;
    ChosenPassword = details->EnteredPassword;
}

void TfrmLogIn::showEvent(QShowEvent* event)
{
    // Centred on the screen rather than over the window that happens to be active.
    if (!event->spontaneous())
        if (const QScreen* on = screen())
            move(on->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace quorvel
