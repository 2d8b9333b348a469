#include "forms/settings_sources.h"

#include "platform/system/paths.h"
#include "platform/system/registry.h"
#include "platform/ui/dialogs.h"

QString diraplicacion() {
    TRegistry registry;
    if (registry.OpenKeyReadOnly(QStringLiteral("\\Software\\Ostrel\\Trevola")))
        return registry.ReadString(QStringLiteral("Directorio"));
    ShowMessage(QStringLiteral(
        "No se encontró la Clave HKEY_LOCAL_MACHINE\\Software\\Ostrel\\Trevola\\Directorio"));
    return QString();
}

QString ServerListPath() {
    return LocalPath(diraplicacion() + QStringLiteral("\\SERVIDORES.cfg"));
}
