// The connection to the practice database and the three lists that hang on it.
#include "main/TfrmMain.h"

#include "login/TfrmLogIn.h"
#include "platform/app/Error.h"
#include "platform/app/Seams.h"
#include "platform/app/TickGrid.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"

#include <QLabel>
#include <QVBoxLayout>

namespace quorvel {
namespace {

const QString listStatement = QStringLiteral("select distinct referral from patper order by referral");

// Copies the rows of an open list into its grid, in the order the list delivered them.
void showList(fb::Query& list, TickGrid& grid)
{
    QStringList fieldNames;
    for (int f = 0; f < list.fieldCount(); ++f)
        fieldNames << list.field(f).name();
    QList<QVariantList> records;
    records.reserve(list.recordCount());
    for (int r = 0; r < list.recordCount(); ++r) {
        QVariantList values;
        values.reserve(fieldNames.size());
        for (const QString& name : fieldNames)
            values << list.value(r, name);
        records << std::move(values);
    }
    grid.model()->load(fieldNames, std::move(records));
}

// Each list reads inside a transaction of its own, started when the list opens ...
void startIfIdle(fb::Transaction& transaction)
{
    if (!transaction.inTransaction())
        transaction.startTransaction();
}

// ... and ended, with its grid emptied, when the list closes.
void emptyAndCommit(TickGrid& grid, fb::Transaction& transaction)
{
    grid.model()->clear();
    if (transaction.inTransaction())
        transaction.commit();
}

QWidget* fillPage(QWidget* page, TickGrid* grid)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    return page;
}

} // namespace

void TfrmMain::buildGrids()
{
    Ins = new TickGrid({{QStringLiteral("Comnumber"), QStringLiteral("Internal #"), QStringLiteral("COMNUMBER"), 87},
                        {QStringLiteral("InsDBTableView1NAME"), QStringLiteral("Insurance Company"),
                         QStringLiteral("NAME"), 166},
                        {QStringLiteral("Selected"), QStringLiteral("Selected"), QString(), 83}},
                       cxTabSheet1);
    Ins->setObjectName(QStringLiteral("Ins"));
    GPGrid = new TickGrid({{QStringLiteral("GPGridDBTableView1REFERRAL"), QStringLiteral("Referral"),
                            QStringLiteral("REFERRAL"), 260},
                           {QStringLiteral("SelectedGP"), QString(), QString(), 76}},
                          cxTabSheet2);
    GPGrid->setObjectName(QStringLiteral("GPGrid"));
    ConsGrid = new TickGrid({{QStringLiteral("ConsGridDBTableView1REFERRAL"), QStringLiteral("Referral"),
                              QStringLiteral("REFERRAL"), 263},
                             {QStringLiteral("SelectedCons"), QString(), QString(), 73}},
                            cxTabSheet3);
    ConsGrid->setObjectName(QStringLiteral("ConsGrid"));
    fillPage(cxTabSheet1, Ins);
    fillPage(cxTabSheet2, GPGrid);
    fillPage(cxTabSheet3, ConsGrid);
}

void TfrmMain::buildConnection()
{
    DB = std::make_unique<fb::Database>();
    const QStringList listParams{QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                                 QStringLiteral("nowait")};
    IBTransaction1 = std::make_unique<fb::Transaction>(DB.get());
    IBTransaction2 = std::make_unique<fb::Transaction>(DB.get());
    IBTransaction3 = std::make_unique<fb::Transaction>(DB.get());
    for (auto* t : {IBTransaction1.get(), IBTransaction2.get(), IBTransaction3.get()})
        t->setParams(listParams);
    DB->setDefaultTransaction(IBTransaction1.get());
    DB->afterConnect = [this] { DBAfterConnect(); };
    DB->beforeDisconnect = [this] { DBBeforeDisconnect(); };
    DB->afterDisconnect = [this] { DBAfterDisconnect(); };

    auto makeList = [this](const QString& sql, fb::Transaction* transaction, std::function<void()> beforeOpen,
                           std::function<void()> afterClose) {
        auto list = std::make_unique<fb::Query>();
        list->setDatabase(DB.get());
        list->setTransaction(transaction);
        list->setSql(sql);
        list->setFetchAll(true);
        list->beforeOpen = [beforeOpen](fb::Query&) { beforeOpen(); };
        list->afterClose = [afterClose](fb::Query&) { afterClose(); };
        return list;
    };
    Insurance = makeList(QStringLiteral("select name, comnumber from healthco order by name"), IBTransaction1.get(),
                         [this] { InsuranceBeforeOpen(); }, [this] { InsuranceAfterClose(); });
    GP = makeList(listStatement, IBTransaction2.get(), [this] { GPBeforeOpen(); }, [this] { GPAfterClose(); });
    Cons = makeList(listStatement, IBTransaction3.get(), [this] { ConsBeforeOpen(); }, [this] { ConsAfterClose(); });
}

void TfrmMain::LoginAndConnect()
{
    TfrmLogIn chooser; // no owner: freed when this step ends, however it ends
    if (chooser.exec() != QDialog::Accepted)
        return;
    Connect(chooser.ChosenServer, chooser.ChosenDatabase, chooser.ChosenUser, chooser.ChosenPassword);
}

void TfrmMain::Connect(const QString& server, const QString& database, const QString& user, const QString& password)
{
    ConnServer = server;
    ConnDatabase = database;
    ConnUser = user;
    ConnPassword = password;
    if (DB->connected())
        DB->close();
    DB->setParam(QStringLiteral("user_name"), ConnUser);
    DB->setParam(QStringLiteral("password"), ConnPassword);
    DB->setDatabaseName(ConnServer + QLatin1Char(':') + ConnDatabase);
    try {
        DB->open();
    } catch (const Error& e) {
        seams().messages->information(this, QStringLiteral("Information"), e.message());
    }
}

void TfrmMain::DBAfterConnect()
{
    setStatusText(QStringLiteral("Connected to ") + ConnServer + QLatin1Char(':') + ConnDatabase);
    GP->open();
    showList(*GP, *GPGrid);
    Cons->open();
    showList(*Cons, *ConsGrid);
    Insurance->open();
    showList(*Insurance, *Ins);
}

void TfrmMain::DBBeforeDisconnect()
{
    GP->close();
    Insurance->close();
    Cons->close();
}

void TfrmMain::DBAfterDisconnect() { setStatusText(QStringLiteral("Not Connected")); }

void TfrmMain::InsuranceBeforeOpen() { startIfIdle(*IBTransaction1); }
void TfrmMain::InsuranceAfterClose() { emptyAndCommit(*Ins, *IBTransaction1); }
void TfrmMain::GPBeforeOpen() { startIfIdle(*IBTransaction2); }
void TfrmMain::GPAfterClose() { emptyAndCommit(*GPGrid, *IBTransaction2); }
void TfrmMain::ConsBeforeOpen() { startIfIdle(*IBTransaction3); }
void TfrmMain::ConsAfterClose() { emptyAndCommit(*ConsGrid, *IBTransaction3); }

} // namespace quorvel
