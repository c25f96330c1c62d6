// The database chooser: the tree it builds from the settings and the disk, double clicks on
// databases and elsewhere, Cancel and the close box, the credentials handed back, and the
// tree's own behaviour (AutoExpand, HotTrack, images, read-only).
#include "TestSupport.h"
#include "details/TfrmDetails.h"
#include "login/TfrmLogIn.h"
#include "platform/app/Application.h"
#include "platform/app/Look.h"
#include "platform/app/TreeView.h"
#include "platform/registry/Registry.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>
#include <dirent.h>
#include <optional>

using namespace quorvel;

namespace {

const QString header = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
const QString currentKey = QStringLiteral("[HKEY_CURRENT_USER\\software\\quorvel\\current]\r\n");
const QString remoteKey = QStringLiteral("[HKEY_CURRENT_USER\\software\\quorvel\\Remote Servers]\r\n");

QString value(const QString& name, const QString& text)
{
    return QLatin1Char('"') + name + QStringLiteral("\"=\"") + text + QStringLiteral("\"\r\n");
}

QString database(const QString& text)
{
    return value(QStringLiteral("Current Database"), text);
}
QString server(const QString& text)
{
    return value(QStringLiteral("Server"), text);
}
QString remote(const QString& path)
{
    return value(path, QString());
}

// What the window's close box does: the window system asks the window to close.
void pressCloseBox(QWidget* window)
{
    QCloseEvent close;
    QApplication::sendEvent(window->windowHandle(), &close);
}

// The entries of a folder that "*.gdb" matches, in the order the file system lists them:
// the order the chooser must show, read here with readdir rather than through Qt.
QStringList databasesOnDisk(const QString& folder)
{
    QStringList names;
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    const auto closeDir = qScopeGuard([dir] { closedir(dir); });
    while (const dirent* entry = readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name.endsWith(QStringLiteral(".gdb"), Qt::CaseInsensitive))
            names << name;
    }
    return names;
}

// Roots as "text(child,child)", joined by " | ".
QString dumpTree(const TreeView* tree)
{
    QStringList roots;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* root = tree->topLevelItem(i);
        QStringList children;
        for (int j = 0; j < root->childCount(); ++j)
            children << root->child(j)->text(0);
        roots << root->text(0) + QLatin1Char('(') + children.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return roots.join(QStringLiteral(" | "));
}

// A node by "root" or "root/child" (the child's text may hold "/" itself).
QTreeWidgetItem* nodeAt(const TreeView* tree, const QString& path)
{
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    const QString rootText = slash < 0 ? path : path.left(slash);
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* root = tree->topLevelItem(i);
        if (root->text(0) != rootText)
            continue;
        if (slash < 0)
            return root;
        for (int j = 0; j < root->childCount(); ++j)
            if (root->child(j)->text(0) == path.mid(slash + 1))
                return root->child(j);
    }
    return nullptr;
}

QPoint centreOf(const TreeView* tree, const QTreeWidgetItem* node)
{
    return tree->visualItemRect(node).center();
}

QPoint belowTheNodes(const TreeView* tree)
{
    return {tree->viewport()->width() / 2, tree->viewport()->height() - 4};
}

// Clicks the node's way down from its root, as a user opens the branch and picks the node.
void clickNode(TreeView* tree, const QTreeWidgetItem* node)
{
    QList<const QTreeWidgetItem*> way;
    for (const QTreeWidgetItem* n = node; n; n = n->parent())
        way.prepend(n);
    for (const QTreeWidgetItem* n : way)
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, n));
}

} // namespace

class LogInTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        scratch_.emplace();
        QVERIFY(scratch_->isValid());
        folder_ = scratch_->path() + QStringLiteral("/db/");
        QVERIFY(QDir().mkpath(folder_));
        qputenv("XDG_CONFIG_HOME", (scratch_->path() + QStringLiteral("/config")).toLocal8Bit());
        // "Current Database" absent means the current folder: make that one ours.
        savedCurrent_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder_));
    }

    void cleanup()
    {
        QDir::setCurrent(savedCurrent_);
        qunsetenv("XDG_CONFIG_HOME");
        scratch_.reset();
        test::verifyNoWindowLeft();
    }

    void definedWindow()
    {
        test::FakeSeams fakes;
        TfrmLogIn d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Quorvel Practice Log In"));
        QCOMPARE(d.minimumSize(), QSize(441, 333));
        QCOMPARE(d.maximumSize(), QSize(441, 333));
        QVERIFY(d.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(d.font().pixelSize(), 12);
        QCOMPARE(d.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));

        QCOMPARE(d.Panel2->geometry(), QRect(0, 0, 441, 41));
        QCOMPARE(d.Panel2->palette().color(QPalette::Window), look::panelColour());
        QCOMPARE(d.Panel2Caption->text(),
                 QStringLiteral("Please double click the database you wish to Log in to."));
        QVERIFY(d.Panel2Caption->alignment() & Qt::AlignHCenter);
        QCOMPARE(d.fileview->geometry(), QRect(0, 41, 441, 251));
        QCOMPARE(d.Panel1->geometry(), QRect(0, 292, 441, 41));
        QCOMPARE(d.Panel1->palette().color(QPalette::Window), look::panelColour());
        QCOMPARE(d.cxButton1->parentWidget(), d.Panel1);
        QCOMPARE(d.cxButton1->text(), QStringLiteral("Cancel"));
        QCOMPARE(d.cxButton1->geometry(), QRect(16, 7, 75, 25));

        QCOMPARE(d.FileImages.count(), 2);
        QCOMPARE(d.FileImages.size(), QSize(16, 16));
        const QImage closed = d.FileImages.pixmap(0).toImage();
        const QImage open = d.FileImages.pixmap(1).toImage();
        QCOMPARE(closed.size(), QSize(16, 16));
        QVERIFY(closed != open);
        for (const QImage& image : {closed, open}) {
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // transparent around the folder
            QCOMPARE(image.pixelColor(8, 10).alpha(), 255);
        }
        QVERIFY(!d.SettingsRegistry);
        QVERIFY(d.ChosenServer.isEmpty() && d.ChosenDatabase.isEmpty());
        QVERIFY(d.ChosenUser.isEmpty() && d.ChosenPassword.isEmpty());
    }

    void buildsTree_data()
    {
        QTest::addColumn<QString>("settings"); // "%DIR%" is the database folder; null: no file
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("matches");
        QTest::addColumn<QString>("tree"); // "%FOUND%": the matches in file-system order
        QTest::addColumn<QString>("currentDatabase");
        QTest::addColumn<QString>("serverName");
        QTest::addColumn<QStringList>("errors");

        const QStringList two{QStringLiteral("B.gdb"), QStringLiteral("A.gdb")};
        QTest::newRow("both keys: two databases in file-system order, remote paths in stored order")
            << header + currentKey + database(QStringLiteral("%DIR%A.gdb")) +
                   server(QStringLiteral("alpha")) + remoteKey + remote(QStringLiteral("z:/data/x.gdb")) +
                   remote(QStringLiteral("/srv/a.gdb"))
            << two << 2 << "Local(%FOUND%) | alpha(z:/data/x.gdb,/srv/a.gdb)"
            << "%DIR%A.gdb"
            << "alpha" << QStringList();
        QTest::newRow("every matching entry: upper case, hidden, folders; nothing else")
            << header + currentKey + database(QStringLiteral("%DIR%A.gdb"))
            << QStringList{QStringLiteral("b.gdb"),       QStringLiteral("PRACTICE.GDB"),
                           QStringLiteral(".hidden.gdb"), QStringLiteral("archive.gdb/"),
                           QStringLiteral("notes.txt"),   QStringLiteral("old.gdb.bak"),
                           QStringLiteral("gdb")}
            << 4 << "Local(%FOUND%)"
            << "%DIR%A.gdb"
            << "Unknown" << QStringList();
        QTest::newRow("only the remote key: one root with empty text")
            << header + remoteKey + remote(QStringLiteral("D")) << two << 2 << "(D)"
            << ""
            << "" << QStringList();
        QTest::newRow("Server absent: the remote root reads Unknown")
            << header + currentKey + database(QStringLiteral("%DIR%A.gdb")) + remoteKey +
                   remote(QStringLiteral("D"))
            << two << 2 << "Local(%FOUND%) | Unknown(D)"
            << "%DIR%A.gdb"
            << "Unknown" << QStringList();
        QTest::newRow("Current Database absent: the current folder is searched")
            << header + currentKey + server(QStringLiteral("alpha")) << two << 2 << "Local(%FOUND%)"
            << "Unknown"
            << "alpha" << QStringList();
        QTest::newRow("folder that does not exist: Local without children")
            << header + currentKey + database(QStringLiteral("%DIR%gone/A.gdb")) << two << 2 << "Local()"
            << "%DIR%gone/A.gdb"
            << "Unknown" << QStringList();
        QTest::newRow("no settings file: empty tree") << QString() << two << 2 << ""
                                                      << ""
                                                      << "" << QStringList();
        // No full stop is added to these: the closing quote sorts before ".".
        QTest::newRow("Server not a string: error box, no nodes yet")
            << header + currentKey + database(QStringLiteral("%DIR%A.gdb")) +
                   QStringLiteral("\"Server\"=dword:00000001\r\n") + remoteKey + remote(QStringLiteral("D"))
            << two << 2 << ""
            << "%DIR%A.gdb"
            << "" << QStringList{QStringLiteral("Invalid data type for 'Server'")};
        QTest::newRow("Current Database not a string: error box, no nodes yet")
            << header + currentKey + QStringLiteral("\"Current Database\"=hex:41,00\r\n") << two << 2 << ""
            << ""
            << "" << QStringList{QStringLiteral("Invalid data type for 'Current Database'")};
        QTest::newRow("malformed settings file: error box naming file and line")
            << header + currentKey + QStringLiteral("\"Server\"=\"alpha\r\n") << two << 2 << ""
            << ""
            << "" << QStringList{QStringLiteral("%FILE%, line 4: the closing quote is missing.")};
    }

    void buildsTree()
    {
        QFETCH(QString, settings);
        QFETCH(QStringList, entries);
        QFETCH(int, matches);
        QFETCH(QString, tree);
        QFETCH(QString, currentDatabase);
        QFETCH(QString, serverName);
        QFETCH(QStringList, errors);
        makeEntries(entries);
        writeSettings(settings);
        const QStringList found = databasesOnDisk(folder_);
        QCOMPARE(found.size(), matches);
        tree.replace(QStringLiteral("%FOUND%"), found.join(QLatin1Char(',')));
        errors.replaceInStrings(QStringLiteral("%FILE%"), settingsFilePath());

        test::FakeSeams fakes;
        TfrmLogIn d;
        QCOMPARE(dumpTree(d.fileview), expand(tree));
        QCOMPARE(d.CurrentDatabase, expand(currentDatabase));
        QCOMPARE(d.ServerName, serverName);
        QCOMPARE(fakes.messages.errors, errors);
        QVERIFY(!d.SettingsRegistry);
        for (int i = 0; i < d.fileview->topLevelItemCount(); ++i)
            QVERIFY(!d.fileview->topLevelItem(i)->isExpanded());
    }

    void doubleClickChoosesDatabase_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("belowTheNodes"); // the double click lands below the last node
        QTest::addColumn<bool>("credentialsByCloseBox");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");

        const QString both = header + currentKey + database(QStringLiteral("%DIR%A.gdb")) +
                             server(QStringLiteral("alpha")) + remoteKey +
                             remote(QStringLiteral("z:/data/x.gdb"));
        QTest::newRow("local database: LOCALHOST and the folder of Current Database")
            << both << "Local/B.gdb" << false << false << "LOCALHOST"
            << "%DIR%B.gdb"
            << "alice"
            << "secret";
        QTest::newRow("remote database: the server and the path as listed")
            << both << "alpha/z:/data/x.gdb" << false << false << "alpha"
            << "z:/data/x.gdb"
            << "alice"
            << "secret";
        QTest::newRow("double click below the nodes acts on the selected node")
            << both << "Local/A.gdb" << true << false << "LOCALHOST"
            << "%DIR%A.gdb"
            << "alice"
            << "secret";
        QTest::newRow("Server that upper-cases to LOCAL: the remote group acts as the local one")
            << header + currentKey + database(QStringLiteral("%DIR%A.gdb")) +
                   server(QStringLiteral("local")) + remoteKey + remote(QStringLiteral("B.gdb"))
            << "local/B.gdb" << false << false << "LOCALHOST"
            << "%DIR%B.gdb"
            << "alice"
            << "secret";
        QTest::newRow("only the remote key: empty server")
            << header + remoteKey + remote(QStringLiteral("D")) << "/D" << false << false << ""
            << "D"
            << "alice"
            << "secret";
        QTest::newRow("Server absent: Unknown is the server")
            << header + currentKey + remoteKey + remote(QStringLiteral("D")) << "Unknown/D" << false << false
            << "Unknown"
            << "D"
            << "alice"
            << "secret";
        QTest::newRow("Current Database absent: the bare file name")
            << header + currentKey << "Local/B.gdb" << false << false << "LOCALHOST"
            << "B.gdb"
            << "alice"
            << "secret";
        QTest::newRow("credentials closed by their close box: server and path, no user or password")
            << both << "Local/B.gdb" << false << true << "LOCALHOST"
            << "%DIR%B.gdb"
            << ""
            << "";
    }

    void doubleClickChoosesDatabase()
    {
        QFETCH(QString, settings);
        QFETCH(QString, node);
        QFETCH(bool, belowTheNodes);
        QFETCH(bool, credentialsByCloseBox);
        QFETCH(QString, server);
        QFETCH(QString, path);
        QFETCH(QString, user);
        QFETCH(QString, password);
        makeEntries({QStringLiteral("A.gdb"), QStringLiteral("B.gdb")});
        writeSettings(settings);

        test::FakeSeams fakes;
        TfrmLogIn d;
        QTreeWidgetItem* target = nodeAt(d.fileview, node);
        QVERIFY2(target, qPrintable(dumpTree(d.fileview)));
        int credentialsShown = 0;
        QTimer::singleShot(0, &d, [&] {
            const auto end = qScopeGuard([&] {
                if (d.isVisible())
                    pressCloseBox(&d);
            });
            if (QApplication::activeModalWidget() != &d)
                return;
            clickNode(d.fileview, target);
            QTimer::singleShot(0, &d, [&] {
                auto* details = qobject_cast<TfrmDetails*>(QApplication::activeModalWidget());
                const auto endDetails = qScopeGuard([details] {
                    if (details && details->isVisible())
                        pressCloseBox(details);
                });
                if (!details || details->parent())
                    return; // created without an owner
                ++credentialsShown;
                if (credentialsByCloseBox)
                    return;
                details->username->setText(QStringLiteral("alice"));
                QTest::keyClicks(details->password, QStringLiteral("secret"));
                QTest::keyClick(details->password, Qt::Key_Return);
            });
            QTest::mouseDClick(d.fileview->viewport(), Qt::LeftButton, {},
                               belowTheNodes ? ::belowTheNodes(d.fileview) : centreOf(d.fileview, target));
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QCOMPARE(credentialsShown, 1);
        QCOMPARE(d.ChosenServer, server);
        QCOMPARE(d.ChosenDatabase, expand(path));
        QCOMPARE(d.ChosenUser, user);
        QCOMPARE(d.ChosenPassword, password);
        QVERIFY(fakes.messages.errors.isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void nothingHappens_data()
    {
        QTest::addColumn<QString>("node"); // empty: nothing selected
        QTest::addColumn<QString>("action");

        QTest::newRow("local root double-clicked") << "Local"
                                                   << "double click";
        QTest::newRow("remote root double-clicked") << "alpha"
                                                    << "double click";
        QTest::newRow("nothing selected, double click below the nodes") << ""
                                                                        << "double click below";
        QTest::newRow("Enter on a database") << "Local/A.gdb"
                                             << "Enter";
    }

    void nothingHappens()
    {
        QFETCH(QString, node);
        QFETCH(QString, action);
        makeEntries({QStringLiteral("A.gdb")});
        writeSettings(header + currentKey + database(QStringLiteral("%DIR%A.gdb")) +
                      server(QStringLiteral("alpha")) + remoteKey + remote(QStringLiteral("D")));

        test::FakeSeams fakes;
        TfrmLogIn d;
        QTreeWidgetItem* target = node.isEmpty() ? nullptr : nodeAt(d.fileview, node);
        QVERIFY(node.isEmpty() || target);
        bool stayedOpen = false;
        QStringList otherDialogs;
        QTimer::singleShot(0, &d, [&] {
            const auto end = qScopeGuard([&] {
                if (d.isVisible())
                    pressCloseBox(&d);
            });
            if (QApplication::activeModalWidget() != &d)
                return;
            // Any other dialog that opens is noted and closed, so that a fault cannot hang the test.
            QTimer watch;
            connect(&watch, &QTimer::timeout, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                if (modal && modal != &d) {
                    otherDialogs << modal->windowTitle();
                    pressCloseBox(modal);
                }
            });
            watch.start(0);
            if (target)
                clickNode(d.fileview, target);
            if (action == QLatin1String("double click"))
                QTest::mouseDClick(d.fileview->viewport(), Qt::LeftButton, {}, centreOf(d.fileview, target));
            else if (action == QLatin1String("double click below"))
                QTest::mouseDClick(d.fileview->viewport(), Qt::LeftButton, {}, belowTheNodes(d.fileview));
            else
                QTest::keyClick(d.fileview, Qt::Key_Return);
            QCoreApplication::processEvents();
            stayedOpen = d.isVisible();
        });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QVERIFY(stayedOpen);
        QCOMPARE(otherDialogs, QStringList());
        QCOMPARE(d.fileview->selected(), target);
        QVERIFY(d.ChosenServer.isEmpty() && d.ChosenDatabase.isEmpty());
    }

    void cancel_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<bool>("byCloseBox");
        QTest::addColumn<int>("errors");

        const QString both = header + currentKey + database(QStringLiteral("%DIR%A.gdb")) + remoteKey +
                             remote(QStringLiteral("D"));
        QTest::newRow("Cancel button") << both << false << 0;
        QTest::newRow("close box") << both << true << 0;
        QTest::newRow("empty tree after an error: the dialog opens and cancels")
            << header + currentKey + QStringLiteral("\"Server\"=dword:00000001\r\n") << false << 1;
    }

    void cancel()
    {
        QFETCH(QString, settings);
        QFETCH(bool, byCloseBox);
        QFETCH(int, errors);
        makeEntries({QStringLiteral("A.gdb")});
        writeSettings(settings);

        test::FakeSeams fakes;
        TfrmLogIn d;
        bool shown = false;
        QTimer::singleShot(0, &d, [&] {
            const auto end = qScopeGuard([&] {
                if (d.isVisible())
                    pressCloseBox(&d);
            });
            shown = QApplication::activeModalWidget() == &d;
            if (QTreeWidgetItem* database = nodeAt(d.fileview, QStringLiteral("Local/A.gdb")))
                clickNode(d.fileview, database); // a selection does not make Cancel choose
            if (byCloseBox)
                pressCloseBox(&d);
            else
                QTest::mouseClick(d.cxButton1, Qt::LeftButton);
        });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QVERIFY(shown);
        QCOMPARE(fakes.messages.errors.size(), errors);
        QVERIFY(d.ChosenServer.isEmpty());
        QVERIFY(d.ChosenDatabase.isEmpty());
        QVERIFY(d.ChosenUser.isEmpty());
        QVERIFY(d.ChosenPassword.isEmpty());
    }

    void treeBehaviour()
    {
        makeEntries({QStringLiteral("A.gdb"), QStringLiteral("B.gdb")});
        writeSettings(header + currentKey + database(QStringLiteral("%DIR%A.gdb")) +
                      server(QStringLiteral("alpha")) + remoteKey + remote(QStringLiteral("D")) +
                      remote(QStringLiteral("E")));
        test::FakeSeams fakes;
        TfrmLogIn d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        TreeView* tree = d.fileview;
        QTreeWidgetItem* local = nodeAt(tree, QStringLiteral("Local"));
        QTreeWidgetItem* remote = nodeAt(tree, QStringLiteral("alpha"));
        QVERIFY(local && remote);

        // AutoExpand: each selection opens its branch and closes the one held open before.
        auto expanded = [&] {
            return QString::fromLatin1(local->isExpanded() ? "L" : "-") + (remote->isExpanded() ? "R" : "-");
        };
        QCOMPARE(expanded(), QStringLiteral("--"));
        clickNode(tree, local);
        QCOMPARE(expanded(), QStringLiteral("L-"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, local->child(1)));
        QCOMPARE(expanded(), QStringLiteral("L-"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, remote));
        QCOMPARE(expanded(), QStringLiteral("-R"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, remote->child(0)));
        QCOMPARE(expanded(), QStringLiteral("-R"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, local));
        QCOMPARE(expanded(), QStringLiteral("L-"));

        // HotTrack: the node under the mouse, none below the nodes.
        QTest::mouseMove(tree->viewport(), centreOf(tree, local->child(0)));
        QCOMPARE(tree->hotNode(), local->child(0));
        QTest::mouseMove(tree->viewport(), centreOf(tree, remote));
        QCOMPARE(tree->hotNode(), remote);
        QTest::mouseMove(tree->viewport(), belowTheNodes(tree));
        QCOMPARE(tree->hotNode(), nullptr);

        // Images: image 0 everywhere; the remote root shows image 1 while selected.
        auto shows = [&](QTreeWidgetItem* node, QIcon::Mode mode, int image) {
            return node->icon(0).pixmap(QSize(16, 16), 1.0, mode).toImage() ==
                   d.FileImages.pixmap(image).toImage();
        };
        QVERIFY(shows(local, QIcon::Normal, 0) && shows(local, QIcon::Selected, 0));
        QVERIFY(shows(local->child(0), QIcon::Normal, 0) && shows(local->child(0), QIcon::Selected, 0));
        QVERIFY(shows(remote, QIcon::Normal, 0) && shows(remote, QIcon::Selected, 1));
        QCOMPARE(TreeView::selectedIndex(remote), 1);
        QCOMPARE(TreeView::imageIndex(remote), 0);

        // The selection stays visible without focus; texts cannot be edited.
        const QPalette colours = tree->palette();
        QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
                 colours.color(QPalette::Active, QPalette::Highlight));
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_F2);
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        tree->editItem(local);
        QVERIFY(tree->findChildren<QLineEdit*>().isEmpty()); // no editor opened
        QVERIFY(!(local->flags() & Qt::ItemIsEditable));
        d.close();
    }

    void folderPartOfPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("full path") << "/data/practice/x.gdb"
                                   << "/data/practice/";
        QTest::newRow("folder only") << "/data/"
                                     << "/data/";
        QTest::newRow("bare name") << "x.gdb"
                                   << "";
        QTest::newRow("Unknown") << "Unknown"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void folderPartOfPaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(folderPart(path), folder);
    }

private:
    QString expand(QString text) const { return text.replace(QStringLiteral("%DIR%"), folder_); }

    void makeEntries(const QStringList& entries)
    {
        for (const QString& entry : entries) {
            if (entry.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir(folder_).mkdir(entry.chopped(1)));
            } else {
                QFile file(folder_ + entry);
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
    }

    void writeSettings(const QString& settings)
    {
        if (settings.isNull())
            return;
        const QString path = settingsFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(expand(settings).toUtf8());
    }

    std::optional<QTemporaryDir> scratch_;
    QString folder_;
    QString savedCurrent_;
};

// Under the program's own look, as the dialog is seen.
int main(int argc, char** argv)
{
    Application app(argc, argv);
    applyLook(app);
    LogInTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_login.moc"
