#include "bench/upload/resident_peak.h"

#include <QByteArray>
#include <QFile>
#include <malloc.h>

namespace {

// A "<key>:  <n> kB" line of /proc/self/status, in bytes; -1 when absent.
long long StatusBytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith(key))
            continue;
        const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed();
        const qsizetype space = value.indexOf(' ');
        return value.left(space).toLongLong() * 1024;
    }
    return -1;
}

} // namespace

namespace ResidentPeak {

long long Mark() {
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    // "5" resets the high-water mark to the resident set now.
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5", 1) != 1)
        return -1;
    clear.close();
    return Now();
}

long long Peak() {
    return StatusBytes("VmHWM:");
}

long long Now() {
    return StatusBytes("VmRSS:");
}

} // namespace ResidentPeak
