#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace quorvel {

// What Registry reads through: the keys of the current user's hive by their full path below
// the hive. The Windows registry and the settings file each provide one.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Makes the key at that path (components joined by "\", empty for the hive) the open
    // key; false, with the open key unchanged, when it does not exist.
    virtual bool open(const QString& path) = 0;
    virtual void close() = 0;

    // These read the open key; with none open there are no values.
    virtual bool valueExists(const QString& name) const = 0;
    virtual QString readString(const QString& name) const = 0;
    virtual QStringList valueNames() const = 0;
};

// What readString raises for data that is not a string.
class Error;
Error invalidDataType(const QString& name);

// The store of this platform.
std::unique_ptr<RegistryStore> makeCurrentUserStore();

} // namespace quorvel
