#include "TestSupport.h"

#include "platform/app/Error.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTest>
#include <QWidget>

namespace quorvel::test {

QStringList openTopLevelWindows()
{
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            names << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName())
                         + QStringLiteral(" \"") + w->windowTitle() + QLatin1Char('"');
    }
    return names;
}

void closeAllTopLevelWindows()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->close();
}

void verifyNoWindowLeft()
{
    const QStringList open = openTopLevelWindows();
    closeAllTopLevelWindows();
    QVERIFY2(open.isEmpty(), qPrintable(open.join(QStringLiteral(", "))));
}

static QString env(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

QString firebirdUser() { return env("ISC_USER", QStringLiteral("SYSDBA")); }
QString firebirdPassword() { return env("ISC_PASSWORD", QStringLiteral("masterkey")); }
QString databaseFolder() { return env("QUORVEL_DB_DIR", QStringLiteral("/var/lib/quorvel")); }

QString makePracticeDatabase(const QString& fileName, const QString& size, int seed)
{
    const QString path = QDir(databaseFolder()).filePath(fileName);
    QFile::remove(path);
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral(QUORVEL_MAKE_PRACTICE_DB),
               {QStringLiteral("--size"), size, QStringLiteral("--seed"), QString::number(seed), path});
    if (!tool.waitForFinished(600000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        throw Error(QStringLiteral("make-practice-db failed: ") + QString::fromLocal8Bit(tool.readAll()));
    return path;
}

QString localDatabase(const QString& path) { return QStringLiteral("localhost:") + path; }

QString runIsql(const QString& databasePath, const QString& sql)
{
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-bail"), QStringLiteral("-user"),
                                           firebirdUser(), QStringLiteral("-password"), firebirdPassword(),
                                           localDatabase(databasePath)});
    isql.write(sql.toLatin1());
    isql.write("\ncommit;\n");
    isql.closeWriteChannel();
    if (!isql.waitForFinished(60000) || isql.exitCode() != 0)
        throw Error(QStringLiteral("isql failed: ") + QString::fromLocal8Bit(isql.readAll()));
    return QString::fromLocal8Bit(isql.readAll());
}

} // namespace quorvel::test
