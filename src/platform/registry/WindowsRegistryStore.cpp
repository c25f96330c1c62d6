#include <QtGlobal>

#ifdef Q_OS_WIN

#include "platform/app/Error.h"
#include "platform/registry/RegistryStore.h"

#include <qt_windows.h>
#include <string>
#include <vector>

namespace quorvel {
namespace {

// HKEY_CURRENT_USER through the Win32 API. Keys are opened asking for full access, as the
// practice-management product's own settings code does, so a key the user may only read
// counts as missing.
class WindowsRegistryStore final : public RegistryStore {
public:
    WindowsRegistryStore() = default;
    WindowsRegistryStore(const WindowsRegistryStore&) = delete;
    WindowsRegistryStore& operator=(const WindowsRegistryStore&) = delete;
    ~WindowsRegistryStore() override { close(); }

    bool open(const QString& path) override
    {
        const std::wstring wide = path.toStdWString();
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return false;
        close();
        key_ = key;
        return true;
    }

    void close() override
    {
        if (key_) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
    }

    bool valueExists(const QString& name) const override
    {
        if (!key_)
            return false;
        const std::wstring wide = name.toStdWString();
        return RegQueryValueExW(key_, wide.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    QString readString(const QString& name) const override
    {
        if (!key_)
            return QString();
        const std::wstring wide = name.toStdWString();
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key_, wide.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            size == 0)
            return QString();
        if (type != REG_SZ)
            throw invalidDataType(name);
        // One spare character so that the text ends in a zero even when the stored data lacks
        // its terminator; the value may grow between the two calls.
        std::vector<wchar_t> buffer;
        LSTATUS status = ERROR_MORE_DATA;
        while (status == ERROR_MORE_DATA) {
            buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
            size = DWORD((buffer.size() - 1) * sizeof(wchar_t));
            status = RegQueryValueExW(key_, wide.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(buffer.data()), &size);
        }
        if (status != ERROR_SUCCESS)
            return QString();
        if (type != REG_SZ)
            throw invalidDataType(name);
        return QString::fromWCharArray(buffer.data());
    }

    QStringList valueNames() const override
    {
        QStringList names;
        DWORD count = 0;
        DWORD longest = 0;
        if (!key_ || RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                                      &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return names;
        std::vector<wchar_t> name(longest + 1, L'\0');
        for (DWORD index = 0; index < count; ++index) {
            DWORD length = DWORD(name.size());
            if (RegEnumValueW(key_, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
                ERROR_SUCCESS)
                names << QString::fromWCharArray(name.data(), qsizetype(length));
        }
        return names;
    }

private:
    HKEY key_ = nullptr;
};

} // namespace

std::unique_ptr<RegistryStore> makeCurrentUserStore()
{
    return std::make_unique<WindowsRegistryStore>();
}

} // namespace quorvel

#endif
