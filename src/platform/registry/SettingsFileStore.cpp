#include <QtGlobal>

#ifndef Q_OS_WIN

#include "platform/app/Error.h"
#include "platform/registry/RegFile.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryStore.h"

#include <optional>

namespace quorvel {
namespace {

// The settings file in place of the registry. It is read when a key is first opened and
// kept for the life of the accessor, which lives for one step only.
class SettingsFileStore final : public RegistryStore {
public:
    bool open(const QString& path) override
    {
        if (!file_)
            file_ = RegFile::load(settingsFilePath());
        const RegKey* key = file_->key(path);
        if (!key)
            return false;
        key_ = key;
        return true;
    }

    void close() override { key_ = nullptr; }

    bool valueExists(const QString& name) const override { return key_ && key_->value(name); }

    QString readString(const QString& name) const override
    {
        const RegValue* value = key_ ? key_->value(name) : nullptr;
        if (!value)
            return QString();
        if (value->isString)
            return value->text;
        if (value->dataSize == 0)
            return QString();
        throw invalidDataType(name);
    }

    QStringList valueNames() const override
    {
        QStringList names;
        if (key_)
            for (const RegValue& value : key_->values)
                names << value.name;
        return names;
    }

private:
    std::optional<RegFile> file_;
    const RegKey* key_ = nullptr;
};

} // namespace

std::unique_ptr<RegistryStore> makeCurrentUserStore()
{
    return std::make_unique<SettingsFileStore>();
}

} // namespace quorvel

#endif
