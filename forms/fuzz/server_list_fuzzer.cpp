// Feeds arbitrary bytes to the server list reader, as the file it reads.
// Besides not crashing, every entry must be one line of at most 255
// characters, and the entries written back as a list (each ended by a
// carriage return and a line feed) must read back the same.

#include "forms/server_list.h"
#include "platform/system/ansi.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// One file in memory for the whole run, rewritten for every input.
int MemoryFile() {
    static const int fd = memfd_create("SERVIDORES.cfg", MFD_CLOEXEC);
    if (fd < 0)
        std::abort();
    return fd;
}

QStringList ReadBytes(const char* bytes, size_t size) {
    const int fd = MemoryFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, bytes, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    return ReadServerList(QStringLiteral("/proc/self/fd/%1").arg(fd));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList entries = ReadBytes(reinterpret_cast<const char*>(data), size);
    QByteArray written;
    for (const QString& entry : entries) {
        if (entry.size() > 255 || entry.contains(u'\r') || entry.contains(u'\n'))
            std::abort();
        written += ToAnsi(entry) + "\r\n";
    }
    if (ReadBytes(written.constData(), static_cast<size_t>(written.size())) != entries)
        std::abort();
    return 0;
}
