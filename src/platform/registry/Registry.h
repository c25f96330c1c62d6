#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace quorvel {

class RegistryStore;

// Read-only access to the current user's settings: the HKEY_CURRENT_USER hive of the Windows
// registry on Windows; elsewhere the registry export in settingsFilePath(). One key is open at
// a time; values are read from it. Nothing is ever created or written.
class Registry {
public:
    Registry();
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Opens an existing key and makes it the open key; false, with the open key unchanged, when
    // the key does not exist (or, in the registry, when the user may not change it). A path
    // with a leading "\" starts at the hive; one without it starts at the open key, or at the
    // hive when no key is open. Names compare without regard to case. A settings file that
    // cannot be read or is malformed raises Error.
    bool openKey(const QString& path);

    // Closes the open key; later paths start at the hive again.
    void closeKey();

    // The open key's path below the hive ("software\quorvel\current"), or nothing.
    std::optional<QString> currentPath() const { return currentPath_; }

    // Whether the open key has a value of that name ("" for the default value).
    bool valueExists(const QString& name) const;

    // A value of the open key as text: its text for a string, empty for empty data or a
    // missing value; raises Error "Invalid data type for '<name>'" for data that is not a string.
    QString readString(const QString& name) const;

    // The names of the open key's values in the order the store enumerates them.
    QStringList valueNames() const;

private:
    std::unique_ptr<RegistryStore> store_;
    std::optional<QString> currentPath_;
};

// Where the settings live where there is no registry: $XDG_CONFIG_HOME/quorvel/registry.reg,
// with ~/.config for an unset or empty XDG_CONFIG_HOME.
QString settingsFilePath();

} // namespace quorvel
