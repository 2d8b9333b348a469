#include "platform/system/registry.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include "platform/system/settings_file.h"
#endif

namespace {

[[noreturn]] void InvalidDataType(const QString& name) {
    throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
}

QString WithoutLeadingBackslash(const QString& key) {
    return key.startsWith(u'\\') ? key.mid(1) : key;
}

} // namespace

#ifdef Q_OS_WIN

struct TRegistry::Key {
    HKEY handle = nullptr;
};

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() {
    CloseKey();
}

bool TRegistry::OpenKeyReadOnly(const QString& key) {
    CloseKey();
    const std::wstring path = WithoutLeadingBackslash(key).toStdWString();
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    key_ = std::make_unique<Key>(Key{handle});
    return true;
}

void TRegistry::CloseKey() {
    if (key_)
        RegCloseKey(key_->handle);
    key_.reset();
}

bool TRegistry::ValueExists(const QString& name) const {
    if (!key_)
        return false;
    const std::wstring value = name.toStdWString();
    return RegQueryValueExW(key_->handle, value.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

QString TRegistry::ReadString(const QString& name) const {
    if (!key_)
        return {};
    const std::wstring value = name.toStdWString();
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_->handle, value.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        InvalidDataType(name);
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key_->handle, value.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return {};
    data.resize(size / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0')
        data.pop_back();
    return QString::fromStdWString(data);
}

#else

struct TRegistry::Key {
    TSettingsFile file;
};

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() = default;

bool TRegistry::OpenKeyReadOnly(const QString& key) {
    CloseKey();
    const QStringList parts = WithoutLeadingBackslash(key).split(u'\\', Qt::SkipEmptyParts);
    if (parts.size() != 3 || parts[0].compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0)
        return false;
    const QString path = FindSettingsFile(parts[1], parts[2]);
    if (path.isEmpty())
        return false;
    auto file = TSettingsFile::Load(path);
    if (!file)
        return false;
    key_ = std::make_unique<Key>(Key{std::move(*file)});
    return true;
}

void TRegistry::CloseKey() {
    key_.reset();
}

bool TRegistry::ValueExists(const QString& name) const {
    return key_ && key_->file.Find({}, name) != nullptr;
}

QString TRegistry::ReadString(const QString& name) const {
    if (!key_)
        return {};
    const TSettingsValue* value = key_->file.Find({}, name);
    if (!value)
        return {};
    if (!value->isString)
        InvalidDataType(name);
    return value->text;
}

#endif
