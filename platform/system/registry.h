#pragma once
// Read-only access to the registry under HKEY_LOCAL_MACHINE. Where there is no
// registry, the key Software\<Organisation>\<Application> is the settings file
// <Organisation>/<Application>.conf (see settings_file.h) and its values are
// the file's top-level keys; any other key does not exist there.

#include "platform/core/exception.h"

#include <QString>
#include <memory>

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class TRegistry {
public:
    TRegistry();
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens an existing key for reading, never creating it; a leading
    // backslash is allowed. Closes the key opened before. False when the key
    // does not exist or cannot be read.
    bool OpenKeyReadOnly(const QString& key);
    void CloseKey();

    bool ValueExists(const QString& name) const;
    // The text of a string value (plain or expandable, not expanded); empty
    // text when no key is open or the value is absent. A value of another type
    // raises ERegistryException "Invalid data type for '<name>'".
    QString ReadString(const QString& name) const;

private:
    struct Key;
    std::unique_ptr<Key> key_;
};
