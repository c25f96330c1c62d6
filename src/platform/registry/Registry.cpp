#include "platform/registry/Registry.h"

#include "platform/app/Error.h"
#include "platform/registry/RegistryStore.h"

#include <QDir>

namespace quorvel {

Registry::Registry() : store_(makeCurrentUserStore()) {}

Registry::~Registry() = default;

bool Registry::openKey(const QString& path)
{
    const bool fromHive = path.startsWith(QLatin1Char('\\')) || !currentPath_;
    QStringList parts = fromHive ? QStringList() : currentPath_->split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    parts += path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    const QString full = parts.join(QLatin1Char('\\'));
    if (!store_->open(full))
        return false;
    currentPath_ = full;
    return true;
}

void Registry::closeKey()
{
    store_->close();
    currentPath_.reset();
}

bool Registry::valueExists(const QString& name) const
{
    return store_->valueExists(name);
}

QString Registry::readString(const QString& name) const
{
    return store_->readString(name);
}

QStringList Registry::valueNames() const
{
    return store_->valueNames();
}

Error invalidDataType(const QString& name)
{
    return Error(QStringLiteral("Invalid data type for '%1'").arg(name));
}

QString settingsFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/quorvel/registry.reg");
}

} // namespace quorvel
