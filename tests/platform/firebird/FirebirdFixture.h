#pragma once

// Small databases made for the data-access tests with the server's own isql, so what the layer
// reads was written by a client other than itself.

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace quorvel::test {

// Creates (anew) the database fileName under databaseFolder() by feeding script to isql-fb; the
// script follows the create statement. Returns "127.0.0.1:" + path.
inline QString makeScriptDatabase(const QString& fileName, const QByteArray& charset,
                                  const QByteArray& script, int dialect = 3)
{
    const QString path = QDir(databaseFolder()).filePath(fileName);
    QFile::remove(path);
    const QString name = QStringLiteral("127.0.0.1:") + path;
    QByteArray all = "set sql dialect " + QByteArray::number(dialect) + ";\ncreate database '" +
                     name.toUtf8() + "' default character set " + charset + ";\n" + script + "\ncommit;\n";
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), firebirdUser(),
                                           QStringLiteral("-password"), firebirdPassword()});
    if (!isql.waitForStarted())
        throw std::runtime_error("isql-fb cannot be started");
    isql.write(all);
    isql.closeWriteChannel();
    isql.waitForFinished(120000);
    const QByteArray out = isql.readAll();
    if (isql.exitCode() != 0 || out.contains("Statement failed"))
        throw std::runtime_error(("isql-fb failed: " + out).constData());
    return name;
}

} // namespace quorvel::test
