#include "forms/settings_sources.h"

#include "platform/system/ansi.h"
#include "platform/system/paths.h"
#include "platform/system/registry.h"
#include "platform/ui/dialogs.h"

#include <QFile>

namespace {
// The line buffer of the server list holds 255 characters and a terminator.
constexpr qsizetype kMaxLine = 255;
} // namespace

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

QStringList ReadServerList(const QString& localPath) {
    QStringList entries;
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const qint64 size = file.size();
    QByteArray line;
    qint64 consumed = 0;
    char byte = 0;
    while (consumed < size) {
        if (!file.getChar(&byte))
            break;
        ++consumed;
        if (byte == '\r' || byte == '\n') {
            entries.append(FromAnsi(line));
            line.clear();
            if (byte == '\r') {
                // The carriage return's partner is dropped, whatever it is.
                char partner = 0;
                file.getChar(&partner);
                ++consumed;
            }
        } else if (line.size() < kMaxLine) {
            line.append(byte);
        }
    }
    return entries;
}
