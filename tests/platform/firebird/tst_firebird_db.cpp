// The data-access layer against the real server: messages, the order of hooks, markers,
// value conversions and text that keeps its bytes.

#include "FirebirdFixture.h"

#include "platform/app/Error.h"
#include "platform/firebird/Database.h"
#include "platform/firebird/Query.h"
#include "platform/firebird/Transaction.h"

#include <QTest>

#include <memory>

using namespace quorvel;

namespace {

const QStringList listParams{QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                             QStringLiteral("nowait")};

// People's names hold Windows-1252 bytes in a column of charset NONE, as the practice product
// writes them; 0x81 is one of the bytes Windows-1252 leaves undefined. isql drops bytes above
// 0x7F from its input, so they go in as binary literals.
const QByteArray mainScript = R"(
create table people (id integer not null, name varchar(40), code char(6), w1252 varchar(40) character set WIN1252);
insert into people values (1, x'4DFC6C6C6572', 'AB', x'4DFC6C6C6572');
insert into people values (2, 'O''Neill', 'CD', 'O''Neill');
insert into people values (3, x'41815A80', '', 'x');
insert into people values (4, '', null, null);
create table nums (id integer, s smallint, i integer, b bigint, n152 numeric(15,2), n41 numeric(4,1),
  d183 decimal(18,3), f float, dp double precision, dt date, ts timestamp, tx varchar(10));
insert into nums values (1, -7, 123456, 9000000000, 1234.56, -12.3, -0.005, 1.5, 2.25, '2024-02-29',
  '2024-03-01 13:45:30', '42');
insert into nums values (2, null, null, null, null, null, null, null, null, null, null, null);
insert into nums values (3, 0, 0, 0, 0.07, 0, 0, 0, 0, '2024-01-01', '2024-01-01 00:00:00', 'abc');
)";

const QByteArray utf8Script = "create table people (id integer not null, name varchar(40));\n"
                              "insert into people values (1, 'M\xc3\xbcller');\n";

const QByteArray dialect1Script = "create table nums (id integer, n152 numeric(15,2), dt date);\n"
                                  "insert into nums values (1, 1234.56, '2024-02-29');\n";

enum class Db { Main, Utf8, Dialect1 };

} // namespace

Q_DECLARE_METATYPE(Db)

class TestFirebirdDb : public QObject {
    Q_OBJECT

    QString main_, utf8_, dialect1_;

    QString nameOf(Db db) const { return db == Db::Main ? main_ : db == Db::Utf8 ? utf8_ : dialect1_; }

    std::unique_ptr<fb::Database> connect(Db which = Db::Main)
    {
        auto db = std::make_unique<fb::Database>();
        db->setDatabaseName(nameOf(which));
        db->setParam(QStringLiteral("user_name"), test::firebirdUser());
        db->setParam(QStringLiteral("password"), test::firebirdPassword());
        db->open();
        return db;
    }

    static qint64 scalar(fb::Database& db, const QString& sql)
    {
        fb::Transaction t(&db);
        fb::Query q;
        q.setDatabase(&db);
        q.setTransaction(&t);
        q.setSql(sql);
        q.open();
        return q.field(0).asInteger();
    }

private slots:
    void initTestCase()
    {
        main_ = test::makeScriptDatabase(QStringLiteral("firebird-main.fdb"), "NONE", mainScript);
        utf8_ = test::makeScriptDatabase(QStringLiteral("firebird-utf8.fdb"), "UTF8", utf8Script);
        dialect1_ =
            test::makeScriptDatabase(QStringLiteral("firebird-dialect1.fdb"), "NONE", dialect1Script, 1);
    }

    void messages_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message");
        QTest::newRow("connect without a name") << "noName"
                                                << "Database name is missing";
        QTest::newRow("start on a closed database") << "startClosed"
                                                    << "Cannot perform operation -- DB is not open";
        QTest::newRow("start without a database") << "startNoDb"
                                                  << "Cannot perform operation -- DB is not open";
        QTest::newRow("open a query on a closed database") << "queryClosed"
                                                           << "Cannot perform operation -- DB is not open";
        QTest::newRow("rename an open database") << "renameOpen"
                                                 << "Cannot perform operation -- DB is currently open";
        QTest::newRow("set a parameter of an open database")
            << "paramOpen"
            << "Cannot perform operation -- DB is currently open";
        QTest::newRow("start an active transaction") << "startTwice"
                                                     << "Transaction is active";
        QTest::newRow("an error of afterConnect passes out, the connection stays open")
            << "afterConnectFails"
            << "list failed; connected";
        QTest::newRow("wrong password, in the server's words")
            << "wrongPassword"
            << "Your user name and password are not defined. Ask your database administrator to set up a "
               "Firebird "
               "login.";
    }

    void messages()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        QString caught;
        try {
            if (situation == QLatin1String("noName")) {
                fb::Database db;
                db.open();
            } else if (situation == QLatin1String("startClosed")) {
                fb::Database db;
                db.setDatabaseName(main_);
                fb::Transaction t(&db);
                t.startTransaction();
            } else if (situation == QLatin1String("startNoDb")) {
                fb::Transaction t;
                t.startTransaction();
            } else if (situation == QLatin1String("queryClosed")) {
                fb::Database db;
                db.setDatabaseName(main_);
                fb::Transaction t(&db);
                fb::Query q;
                q.setDatabase(&db);
                q.setTransaction(&t);
                q.setSql(QStringLiteral("select 1 from rdb$database"));
                q.open();
            } else if (situation == QLatin1String("renameOpen")) {
                auto db = connect();
                db->setDatabaseName(QStringLiteral("elsewhere:x"));
            } else if (situation == QLatin1String("paramOpen")) {
                auto db = connect();
                db->setParam(QStringLiteral("password"), QStringLiteral("x"));
            } else if (situation == QLatin1String("startTwice")) {
                auto db = connect();
                fb::Transaction t(db.get());
                t.startTransaction();
                t.startTransaction();
            } else if (situation == QLatin1String("afterConnectFails")) {
                fb::Database db;
                db.setDatabaseName(main_);
                db.setParam(QStringLiteral("user_name"), test::firebirdUser());
                db.setParam(QStringLiteral("password"), test::firebirdPassword());
                db.afterConnect = [] { throw Error(QStringLiteral("list failed")); };
                try {
                    db.open();
                } catch (const Error& e) {
                    throw Error(e.message() + (db.connected() ? "; connected" : "; closed"));
                }
            } else if (situation == QLatin1String("wrongPassword")) {
                fb::Database db;
                db.setDatabaseName(main_);
                db.setParam(QStringLiteral("user_name"), test::firebirdUser());
                db.setParam(QStringLiteral("password"), QStringLiteral("not-the-password"));
                db.open();
                QVERIFY(!db.connected());
            }
        } catch (const Error& e) {
            caught = e.message();
        }
        QCOMPARE(caught, message);
    }

    void params()
    {
        fb::Database db;
        db.setParam(QStringLiteral("user_name"), QStringLiteral("a"));
        db.setParam(QStringLiteral("password"), QStringLiteral("b"));
        db.setParam(QStringLiteral("USER_NAME"), QStringLiteral("c"));
        QCOMPARE(db.params(), (QStringList{"USER_NAME=c", "password=b"}));
        QCOMPARE(db.param(QStringLiteral("User_Name")), QStringLiteral("c"));
        db.setParam(QStringLiteral("user_name"), QString());
        QCOMPARE(db.params(), QStringList{"password=b"});
    }

    void hookOrder_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("connect and disconnect; a second close does nothing")
            << "connect"
            << QStringList{"beforeDisconnect", "afterDisconnect", "afterConnect", "beforeDisconnect",
                           "afterDisconnect"};
        QTest::newRow("closing the connection closes datasets, then commits, then detaches")
            << "disconnect" << QStringList{"beforeDisconnect",
                                           "afterClose A (A active)",
                                           "afterClose B (B active)",
                                           "afterDisconnect",
                                           "A ended",
                                           "B ended"};
        QTest::newRow("commit closes only its own datasets")
            << "commitOwn" << QStringList{"afterClose A (A active)", "B still open"};
        QTest::newRow("commit entered again from afterClose ends once")
            << "commitReentered" << QStringList{"afterClose A (A active)", "A ended"};
        QTest::newRow("a destroyed query closes without its hook")
            << "destroyQuery" << QStringList{"A still active"};
        QTest::newRow("a failed open stays closed, no hook, transaction active")
            << "failedOpen" << QStringList{"beforeOpen", "error", "closed", "A active"};
        QTest::newRow("a destroyed database closes everything without hooks")
            << "destroyDatabase" << QStringList{};
    }

    void hookOrder()
    {
        QFETCH(QString, scenario);
        QFETCH(QStringList, log);
        QStringList seen;
        auto db = connect();
        fb::Transaction a(db.get()), b(db.get());
        a.setParams(listParams);
        fb::Query qa, qb;
        qa.setDatabase(db.get());
        qa.setTransaction(&a);
        qb.setDatabase(db.get());
        qb.setTransaction(&b);
        qa.setSql(QStringLiteral("select id from people order by id"));
        qb.setSql(QStringLiteral("select id from nums order by id"));
        qa.afterClose = [&](fb::Query&) {
            seen << QStringLiteral("afterClose A (A %1)").arg(a.inTransaction() ? "active" : "ended");
        };
        qb.afterClose = [&](fb::Query&) {
            seen << QStringLiteral("afterClose B (B %1)").arg(b.inTransaction() ? "active" : "ended");
        };
        db->afterConnect = [&] { seen << QStringLiteral("afterConnect"); };
        db->beforeDisconnect = [&] { seen << QStringLiteral("beforeDisconnect"); };
        db->afterDisconnect = [&] { seen << QStringLiteral("afterDisconnect"); };

        if (scenario == QLatin1String("connect")) {
            db->close();
            db->open();
            db->close();
            db->close();
        } else if (scenario == QLatin1String("disconnect")) {
            qa.open();
            qb.open();
            db->close();
            seen << QStringLiteral("A %1").arg(a.inTransaction() ? "active" : "ended")
                 << QStringLiteral("B %1").arg(b.inTransaction() ? "active" : "ended");
        } else if (scenario == QLatin1String("commitOwn")) {
            qa.open();
            qb.open();
            a.commit();
            if (qb.isOpen() && b.inTransaction() && !qa.isOpen())
                seen << QStringLiteral("B still open");
        } else if (scenario == QLatin1String("commitReentered")) {
            qa.afterClose = [&](fb::Query&) {
                seen << QStringLiteral("afterClose A (A %1)").arg(a.inTransaction() ? "active" : "ended");
                if (a.inTransaction())
                    a.commit();
            };
            qa.open();
            a.commit();
            seen << QStringLiteral("A %1").arg(a.inTransaction() ? "active" : "ended");
        } else if (scenario == QLatin1String("destroyQuery")) {
            auto q = std::make_unique<fb::Query>();
            q->setDatabase(db.get());
            q->setTransaction(&a);
            q->setSql(QStringLiteral("select id from people"));
            q->afterClose = [&](fb::Query&) { seen << QStringLiteral("afterClose of destroyed"); };
            q->open();
            q.reset();
            if (a.inTransaction())
                seen << QStringLiteral("A still active");
        } else if (scenario == QLatin1String("failedOpen")) {
            qa.setSql(QStringLiteral("select id from no_such_table"));
            qa.beforeOpen = [&](fb::Query&) { seen << QStringLiteral("beforeOpen"); };
            try {
                qa.open();
            } catch (const Error& e) {
                seen << QStringLiteral("error");
                QVERIFY2(e.message().contains(QLatin1String("NO_SUCH_TABLE")), qPrintable(e.message()));
            }
            seen << QString::fromLatin1(qa.isOpen() ? "open" : "closed")
                 << QStringLiteral("A %1").arg(a.inTransaction() ? "active" : "ended");
            qa.close(); // closed already: no hook
        } else if (scenario == QLatin1String("destroyDatabase")) {
            qa.open();
            qb.open();
            db.reset();
            QVERIFY(!qa.isOpen() && !qb.isOpen() && !a.inTransaction() && !b.inTransaction());
        }
        QCOMPARE(seen, log);
        qa.afterClose = nullptr;
        qb.afterClose = nullptr;
        if (db)
            db->beforeDisconnect = db->afterDisconnect = nullptr;
    }

    void markers_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("plain markers in text order")
            << "select * from t where a = :a and b = :B" << QStringList{"a", "B"};
        QTest::newRow("a colon inside a string literal") << "where a = ':x' and b = :y" << QStringList{"y"};
        QTest::newRow("a doubled quote inside a literal")
            << "where a = 'it'':s' and b = :y" << QStringList{"y"};
        QTest::newRow("a quoted identifier") << "where \"col:x\" = :y" << QStringList{"y"};
        QTest::newRow("a line comment") << "select 1 -- :x\nfrom t where a = :y" << QStringList{"y"};
        QTest::newRow("a block comment") << "select /* :x */ 1 from t where a = :y" << QStringList{"y"};
        QTest::newRow("one name, several markers, any case")
            << "between :date1 and :date2 or x between :DATE1 and :Date2"
            << QStringList{"date1", "date2", "DATE1", "Date2"};
        QTest::newRow("no markers") << "select 1 from rdb$database" << QStringList{};
    }

    void markers()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, names);
        fb::Query q;
        q.setSql(QStringLiteral("select :first, :second, :third from rdb$database"));
        q.setSql(sql); // rebuilds the list
        QStringList got;
        for (int i = 0; i < q.paramCount(); ++i)
            got << q.param(i).name();
        QCOMPARE(got, names);
    }

    void valueByNameReachesEveryMarker()
    {
        auto db = connect();
        fb::Transaction t(db.get());
        fb::Query q;
        q.setDatabase(db.get());
        q.setTransaction(&t);
        q.setSql(QStringLiteral("select count(*) as num from nums where dt between :date1 and :date2 and ts "
                                ">= :DATE1 and ts < :Date2 + 2"));
        q.paramByName(QStringLiteral("Date1")).setDateTime(QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
        q.paramByName(QStringLiteral("Date2")).setDateTime(QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
        QCOMPARE(q.param(2).value(), q.param(0).value());
        q.open(); // auto-starts the transaction
        QVERIFY(t.inTransaction());
        QCOMPARE(q.fieldByName(QStringLiteral("NUM")).asInteger(), 1);

        q.close();
        q.setSql(QStringLiteral("select name from people where id = :id or name = :name"));
        QCOMPARE(q.paramCount(), 2);
        q.param(0).setInteger(2);
        q.param(1).setString(QStringLiteral("nobody"));
        q.open();
        QCOMPARE(q.field(0).asString(), QStringLiteral("O'Neill"));
        QCOMPARE(q.fieldByName(QStringLiteral("name")).name(), QStringLiteral("NAME"));
        QCOMPARE(q.findField(QStringLiteral("missing")), nullptr);
        QVERIFY_THROWS_EXCEPTION(Error, q.fieldByName(QStringLiteral("missing")));
    }

    void numbers_data()
    {
        QTest::addColumn<Db>("db");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("integer");
        QTest::addColumn<double>("floating");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<qint64>("mantissa");
        QTest::addColumn<int>("scale");
        auto row = [](const char* name, Db db, const char* sql, const char* text, qint64 i, double f,
                      QVariant v, bool exact = false, qint64 m = 0, int scale = 0) {
            QTest::newRow(name) << db << QString::fromLatin1(sql) << QString::fromUtf8(text) << i << f << v
                                << exact << m << scale;
        };
        const QVariant null;
        row("smallint, negative", Db::Main, "select s from nums where id = 1", "-7", -7, -7, qlonglong(-7),
            true, -7, 0);
        row("integer", Db::Main, "select i from nums where id = 1", "123456", 123456, 123456,
            qlonglong(123456), true, 123456, 0);
        row("bigint beyond 32 bits", Db::Main, "select b from nums where id = 1", "9000000000", 9000000000LL,
            9000000000.0, qlonglong(9000000000LL), true, 9000000000LL, 0);
        row("numeric(15,2)", Db::Main, "select n152 from nums where id = 1", "1234.56", 1235, 1234.56,
            1234.56, true, 123456, -2);
        row("numeric(15,2) below one keeps its zeros", Db::Main, "select n152 from nums where id = 3", "0.07",
            0, 0.07, 0.07, true, 7, -2);
        row("numeric(4,1), negative", Db::Main, "select n41 from nums where id = 1", "-12.3", -12, -12.3,
            -12.3, true, -123, -1);
        row("decimal(18,3) below minus one", Db::Main, "select d183 from nums where id = 1", "-0.005", 0,
            -0.005, -0.005, true, -5, -3);
        row("sum of numeric(15,2) is scaled", Db::Main, "select sum(n152) as total from nums", "1234.63",
            1235, 1234.63, 1234.63, true, 123463, -2);
        row("count(*) is bigint", Db::Main, "select count(*) as num from nums", "3", 3, 3, qlonglong(3), true,
            3, 0);
        row("float", Db::Main, "select f from nums where id = 1", "1.5", 2, 1.5, 1.5);
        row("double precision", Db::Main, "select dp from nums where id = 1", "2.25", 2, 2.25, 2.25);
        row("date", Db::Main, "select dt from nums where id = 1", "2024-02-29", 0, 0, QDate(2024, 2, 29));
        row("timestamp", Db::Main, "select ts from nums where id = 1", "2024-03-01 13:45:30", 0, 0,
            QDateTime(QDate(2024, 3, 1), QTime(13, 45, 30)));
        row("text holding digits", Db::Main, "select tx from nums where id = 1", "42", 42, 42, QString("42"));
        row("null smallint", Db::Main, "select s from nums where id = 2", "", 0, 0, null);
        row("null numeric", Db::Main, "select n152 from nums where id = 2", "", 0, 0, null);
        row("null double", Db::Main, "select dp from nums where id = 2", "", 0, 0, null);
        row("null timestamp", Db::Main, "select ts from nums where id = 2", "", 0, 0, null);
        row("sum over no rows is null", Db::Main, "select sum(n152) as total from nums where id < 0", "", 0,
            0, null);
        row("dialect 1: numeric(15,2) is a double", Db::Dialect1, "select n152 from nums where id = 1",
            "1234.56", 1235, 1234.56, 1234.56);
        row("dialect 1: date carries a time", Db::Dialect1, "select dt from nums where id = 1",
            "2024-02-29 00:00:00", 0, 0, QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
    }

    void numbers()
    {
        QFETCH(Db, db);
        QFETCH(QString, sql);
        QFETCH(QString, text);
        QFETCH(qint64, integer);
        QFETCH(double, floating);
        QFETCH(QVariant, value);
        QFETCH(bool, exact);
        QFETCH(qint64, mantissa);
        QFETCH(int, scale);
        auto database = connect(db);
        fb::Transaction t(database.get());
        fb::Query q;
        q.setTransaction(&t); // the database comes from the transaction
        q.setSql(sql);
        q.open();
        QVERIFY(!q.eof());
        fb::Field& f = q.field(0);
        QCOMPARE(f.isNull(), !value.isValid());
        QCOMPARE(f.asString(), text);
        QCOMPARE(f.asInteger(), integer);
        QCOMPARE(double(f.asFloat()), floating);
        QCOMPARE(f.value().typeId(), value.typeId());
        QCOMPARE(f.value(), value);
        qint64 m = 0;
        int s = 0;
        QCOMPARE(f.exactDecimal(m, s), exact);
        if (exact) {
            QCOMPARE(m, mantissa);
            QCOMPARE(s, scale);
        }
    }

    void moneyFields()
    {
        auto db = connect();
        fb::Transaction t(db.get());
        fb::Query q;
        q.setDatabase(db.get());
        q.setTransaction(&t);
        q.setSql(QStringLiteral("select sum(n152) as subtotal, count(*) as num from nums"));
        q.setCurrencyField(QStringLiteral("SubTotal"), true);
        q.setMoneyFormat([](long double v) { return QStringLiteral("EUR %1").arg(double(v), 0, 'f', 2); });
        for (int run = 0; run < 2; ++run) { // remembered across opens
            q.open();
            QVERIFY(q.fieldByName(QStringLiteral("SUBTOTAL")).currency());
            QCOMPARE(q.fieldByName(QStringLiteral("SUBTOTAL")).displayText(), QStringLiteral("EUR 1234.63"));
            QCOMPARE(q.fieldByName(QStringLiteral("NUM")).displayText(), QStringLiteral("3"));
            q.close();
        }
    }

    void textRoundTrip_data()
    {
        QTest::addColumn<Db>("db");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("NONE column, Windows-1252 u-umlaut")
            << Db::Main << 1 << "name" << QStringLiteral("M\u00fcller");
        QTest::newRow("NONE column, apostrophe") << Db::Main << 2 << "name" << QStringLiteral("O'Neill");
        QTest::newRow("NONE column, undefined byte and euro")
            << Db::Main << 3 << "name" << QStringLiteral("A\u0081Z\u20ac");
        QTest::newRow("WIN1252 column") << Db::Main << 1 << "w1252" << QStringLiteral("M\u00fcller");
        QTest::newRow("CHAR column loses its padding") << Db::Main << 1 << "code" << QStringLiteral("AB");
        QTest::newRow("empty text is a value, not null")
            << Db::Main << 4 << "name" << QString::fromLatin1("");
        QTest::newRow("UTF8 database") << Db::Utf8 << 1 << "name" << QStringLiteral("M\u00fcller");
    }

    void textRoundTrip()
    {
        QFETCH(Db, db);
        QFETCH(int, id);
        QFETCH(QString, column);
        QFETCH(QString, text);
        auto database = connect(db);
        fb::Transaction t(database.get());
        fb::Query q;
        q.setDatabase(database.get());
        q.setTransaction(&t);
        q.setSql(QStringLiteral("select %1 from people where id = %2").arg(column).arg(id));
        q.open();
        const QString read = q.field(0).asString();
        QCOMPARE(read, text);
        QVERIFY(!q.field(0).isNull());
        QVERIFY(!q.field(0).value().toString().isNull());
        q.close();

        // Sent back as a literal, the value finds its own row again ...
        QString literal = read;
        literal.replace(QLatin1String("'"), QLatin1String("''"));
        QCOMPARE(
            scalar(*database, QStringLiteral("select id from people where %1 = '%2'").arg(column, literal)),
            id);
        // ... and as a parameter.
        q.setSql(QStringLiteral("select id from people where %1 = :v").arg(column));
        q.paramByName(QStringLiteral("V")).setString(read);
        q.open();
        QCOMPARE(q.field(0).asInteger(), qint64(id));
        QCOMPARE(q.recordCount(), 1);
    }

    void transactionParams_data()
    {
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<int>("isolation"); // MON$ISOLATION_MODE
        QTest::addColumn<int>("lockTimeout");
        QTest::newRow("list transactions: read committed, record version, no wait") << listParams << 2 << 0;
        QTest::newRow("empty list: the server's default, concurrency and wait") << QStringList{} << 1 << -1;
        QTest::newRow("consistency, wait") << QStringList{"consistency", "wait"} << 0 << -1;
        QTest::newRow("read committed without record version")
            << QStringList{"read_committed", "no_rec_version", "nowait"} << 3 << 0;
    }

    void transactionParams()
    {
        QFETCH(QStringList, params);
        QFETCH(int, isolation);
        QFETCH(int, lockTimeout);
        auto db = connect();
        fb::Transaction t(db.get());
        t.setParams(params);
        fb::Query q;
        q.setDatabase(db.get());
        q.setTransaction(&t);
        q.setSql(QStringLiteral("select mon$isolation_mode, mon$lock_timeout from mon$transactions "
                                "where mon$transaction_id = current_transaction"));
        q.open();
        QCOMPARE(q.field(0).asInteger(), qint64(isolation));
        QCOMPARE(q.field(1).asInteger(), qint64(lockTimeout));
    }

    // A list is opened again and again (each time the connection opens): its statement stays
    // prepared at the server between opens, runs in whichever transaction is current, and is
    // prepared afresh for a new text or a new connection.
    void statementStaysPreparedBetweenOpens()
    {
        auto db = connect();
        const QString text = QStringLiteral("select count(*) from people /* kept prepared */");
        const QString prepared = QStringLiteral(
            "select count(*) from mon$statements where mon$attachment_id = current_connection "
            "and mon$sql_text = '%1'").arg(text);
        const QString path = main_.mid(main_.indexOf(QLatin1Char(':')) + 1);
        fb::Transaction t(db.get());
        t.setParams(listParams);
        fb::Query q;
        q.setDatabase(db.get());
        q.setTransaction(&t);
        q.setSql(text);
        q.open();
        QCOMPARE(q.field(0).asInteger(), 4);
        q.close();
        t.commit();
        test::runIsql(path, QStringLiteral("insert into people (id, name) values (99, 'New');"));
        q.open(); // a new transaction sees the row another connection added
        QCOMPARE(q.field(0).asInteger(), 5);
        q.close();
        QCOMPARE(scalar(*db, prepared), 1);
        test::runIsql(path, QStringLiteral("delete from people where id = 99;"));

        q.setSql(QStringLiteral("select count(*) from nums"));
        QCOMPARE(scalar(*db, prepared), 0); // a new text lets the old statement go
        q.open();
        QCOMPARE(q.field(0).asInteger(), 3);

        db->close();
        db->open(); // a new connection: the statement is prepared there anew
        q.open();
        QCOMPARE(q.field(0).asInteger(), 3);
        db->close();
        db.reset(); // the query outlives its connection's handles without harm
        QVERIFY(!q.isOpen());
    }

    void severalTransactionsAtOnce()
    {
        auto db = connect();
        fb::Transaction t1(db.get()), t2(db.get()), t3;
        t1.setParams(listParams);
        t2.setParams(listParams);
        db->setDefaultTransaction(&t3); // t3 learns its database from here
        QCOMPARE(t3.defaultDatabase(), db.get());
        fb::Query list1, list2, stepwise;
        list1.setDatabase(db.get());
        list1.setTransaction(&t1);
        list1.setFetchAll(true);
        list1.setSql(QStringLiteral("select name, id from people order by id"));
        list2.setDatabase(db.get());
        list2.setTransaction(&t2);
        list2.setFetchAll(true);
        list2.setSql(QStringLiteral("select id from nums order by id"));
        stepwise.setDatabase(db.get()); // runs on the default transaction
        stepwise.setSql(QStringLiteral("select id from people order by id desc"));
        t1.startTransaction();
        list1.open();
        list2.open();
        stepwise.open();
        QVERIFY(t1.inTransaction() && t2.inTransaction() && t3.inTransaction());
        QCOMPARE(list1.recordCount(), 4);
        QCOMPARE(list1.value(1, QStringLiteral("NAME")).toString(), QStringLiteral("O'Neill"));
        QCOMPARE(list1.value(3, QStringLiteral("id")).toLongLong(), 4);
        QCOMPARE(list2.recordCount(), 3);

        t2.commit();
        QVERIFY(!list2.isOpen() && list1.isOpen() && stepwise.isOpen());
        QList<qint64> ids;
        for (; !stepwise.eof(); stepwise.next())
            ids << stepwise.field(0).asInteger();
        QCOMPARE(ids, (QList<qint64>{4, 3, 2, 1}));
        QCOMPARE(list1.field(0).asString(), QStringLiteral("M\u00fcller"));
        list1.next();
        QCOMPARE(list1.field(1).asInteger(), 2);

        db->close();
        QVERIFY(!t1.inTransaction() && !t3.inTransaction() && !list1.isOpen() && !stepwise.isOpen());
        db->open(); // prepared statements went with the old attachment
        stepwise.open();
        QCOMPARE(stepwise.field(0).asInteger(), 4);
    }
};

QTEST_GUILESS_MAIN(TestFirebirdDb)
#include "tst_firebird_db.moc"
