#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quorvel {

// One value of a key as a registry export stores it.
struct RegValue {
    QString name;           // empty for the default value ("@")
    bool isString = false;  // REG_SZ: the only data that reads as text
    QString text;           // the text of a string value
    qsizetype dataSize = 0; // bytes of data of a value that is not a string
};

// One key of the current user's hive: its path below the hive ("software\quorvel\current",
// empty for the hive itself) and its values in the order the file stores them.
struct RegKey {
    QString path;
    QList<RegValue> values;

    const RegValue* value(const QString& name) const; // names compare without regard to case
};

// The current user's keys of a registry export ("Windows Registry Editor Version 5.00" or
// "REGEDIT4"), the format regedit writes and the program's settings file uses where there
// is no registry. Only read: nothing here ever writes a file.
class RegFile {
public:
    // Keys of other hives are skipped; deletions ("[-key]", "name"=-) are ignored. A malformed
    // file raises Error "<fileName>, line <n>: <what is wrong>".
    static RegFile parse(const QByteArray& bytes, const QString& fileName);

    // The file's keys; a missing file has none. A file that exists but cannot be read raises.
    static RegFile load(const QString& fileName);

    // The key at a path below the hive, compared without regard to case, or null. A key
    // exists with every key above it, as in the registry, even where the file names only
    // the key below.
    const RegKey* key(const QString& path) const;

    // Every key, parents before their children, in the order the file first names them.
    const QList<RegKey>& keys() const { return keys_; }

private:
    QList<RegKey> keys_{RegKey{}};
};

} // namespace quorvel
