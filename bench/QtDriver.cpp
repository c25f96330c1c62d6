#include "QtDriver.h"

#include "Samples.h"

#include "platform/app/Error.h"
#include "platform/firebird/Database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace quorvel::bench {

QtDriver::QtDriver(const Target& target) : name_(QStringLiteral("bench-qibase"))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name_);
    db.setHostName(target.server);
    db.setDatabaseName(target.path);
    db.setUserName(target.user);
    db.setPassword(target.password);
    // The same connection character set as ours. The driver still treats every text as
    // UTF-8 both ways, so a Windows-1252 byte in a referral value does not match.
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=NONE"));
    if (!db.open())
        throw Error(QStringLiteral("Qt's driver: ") + db.lastError().text());
}

QtDriver::~QtDriver()
{
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(name_);
}

double QtDriver::run(const std::vector<Statement>& statements, Digest& digest)
{
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    digest = {};
    qint64 characters = 0;
    Stopwatch watch;
    for (const Statement& statement : statements) {
        // A Qt program holds its statements as QString: the text's own characters.
        const QString text = fb::Database::decodeText(statement.text, 0);
        watch.start();
        if (!db.transaction())
            throw Error(QStringLiteral("Qt's driver: ") + db.lastError().text());
        {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!query.prepare(text))
                throw Error(QStringLiteral("Qt's driver: ") + query.lastError().text());
            for (const QDateTime& value : statement.params)
                query.addBindValue(value);
            if (!query.exec())
                throw Error(QStringLiteral("Qt's driver: ") + query.lastError().text());
            const int columns = query.record().count();
            while (query.next()) {
                ++digest.rows;
                for (int i = 0; i < columns; ++i) {
                    const QVariant value = query.value(i);
                    if (i == 0 && (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int))
                        digest.firstColumn += value.toLongLong();
                    else if (value.typeId() == QMetaType::QString)
                        characters += value.toString().size();
                }
            }
        }
        watch.stop();
        if (!db.commit())
            throw Error(QStringLiteral("Qt's driver: ") + db.lastError().text());
    }
    volatile qint64 keep = characters; // the values are read, not thrown away unseen
    (void)keep;
    return watch.seconds();
}

} // namespace quorvel::bench
