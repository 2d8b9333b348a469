#include "data/driver/client_library.h"

#include "data/driver/driver_error.h"

#include <QHash>
#include <ibase.h>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace Driver {
namespace {

using MasterEntry = Firebird::IMaster* (*)();

std::mutex& Lock() {
    static std::mutex m;
    return m;
}

// Library name -> master interface; the libraries are never unloaded.
QHash<QString, Firebird::IMaster*>& Loaded() {
    static QHash<QString, Firebird::IMaster*> loaded;
    return loaded;
}

// The library's answer to its own SIGTERM and SIGINT handlers, installed at
// its first attachment: a non-zero answer keeps it from shutting every
// connection down. The program stops on those signals itself, between two
// steps of its work; until the attachment returns and the program puts its
// handlers back, the library's chain still calls the program's handler.
int KeepConnectionsOnSignal(const int reason, const int, void*) {
    return reason == fb_shutrsn_signal ? 1 : 0;
}

using ShutdownCallbackEntry = ISC_STATUS (*)(ISC_STATUS*, FB_SHUTDOWN_CALLBACK, const int, void*);

// Registers KeepConnectionsOnSignal with the library that `entry` comes
// from. A library without the entry point has no such handlers either.
void KeepConnectionsOnSignals(ShutdownCallbackEntry entry) {
    if (!entry)
        return;
    ISC_STATUS_ARRAY status{};
    entry(status, KeepConnectionsOnSignal, fb_shut_confirmation, nullptr);
}

} // namespace

QString ClientLibraryFor(const QString& vendorLib) {
#ifdef _WIN32
    const QString name = vendorLib.trimmed();
    return name.isEmpty() ? QStringLiteral("fbclient.dll") : name;
#else
    Q_UNUSED(vendorLib);
    return QStringLiteral("libfbclient.so.2");
#endif
}

Firebird::IMaster* LoadClient(const QString& library) {
    std::lock_guard guard(Lock());
    if (Firebird::IMaster* master = Loaded().value(library))
        return master;
    static const char kEntry[] = "fb_get_master_interface";
#ifdef _WIN32
    HMODULE handle = LoadLibraryW(reinterpret_cast<LPCWSTR>(library.utf16()));
    if (!handle)
        throw LoadError(QStringLiteral("Unable to Load %1").arg(library));
    auto entry = reinterpret_cast<MasterEntry>(GetProcAddress(handle, kEntry));
    auto shutdownCallback =
        reinterpret_cast<ShutdownCallbackEntry>(GetProcAddress(handle, "fb_shutdown_callback"));
#else
    void* handle = dlopen(library.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw LoadError(QStringLiteral("Unable to Load %1").arg(library));
    auto entry = reinterpret_cast<MasterEntry>(dlsym(handle, kEntry));
    auto shutdownCallback =
        reinterpret_cast<ShutdownCallbackEntry>(dlsym(handle, "fb_shutdown_callback"));
#endif
    if (!entry)
        throw LoadError(QStringLiteral("Unable to Find Procedure %1").arg(QLatin1String(kEntry)));
    Firebird::IMaster* master = entry();
    if (!master)
        throw LoadError(QStringLiteral("Unable to Load %1").arg(library));
    KeepConnectionsOnSignals(shutdownCallback);
    Loaded().insert(library, master);
    return master;
}

} // namespace Driver
