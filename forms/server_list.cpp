#include "forms/server_list.h"

#include "platform/system/ansi.h"

#include <QFile>

namespace {
// The line buffer of the server list holds 255 characters and a terminator.
constexpr qsizetype kMaxLine = 255;
} // namespace

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
