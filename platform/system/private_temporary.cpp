#include "platform/system/private_temporary.h"

#include "platform/system/temporary_lock.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "<prefix>.<pid>.<random><end>"
bool IsTemporaryName(QStringView name, QStringView prefix) {
    if (!name.startsWith(prefix) || !name.endsWith(kTemporaryEnd))
        return false;
    const QStringView middle =
        name.sliced(prefix.size(), name.size() - prefix.size() - kTemporaryEnd.size());
    // ".<pid>.<random>"
    const qsizetype dot = middle.lastIndexOf(u'.');
    if (!middle.startsWith(u'.') || dot < 2 || middle.size() - dot - 1 != kTemporaryRandomLength)
        return false;
    bool number = false;
    const uint pid = middle.sliced(1, dot - 1).toUInt(&number);
    return number && pid > 0 && AreRandomLetters(middle.sliced(dot + 1));
}

int CreateNamed(const QByteArray& folder, QStringView prefix) {
    const QByteArray start = folder + '/' + QFile::encodeName(prefix.toString()) + '.' +
                             QByteArray::number(::getpid()) + '.';
    const LockedTemporary temporary = CreateLockedTemporary(
        start, O_RDWR, 0600,
        [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
        ::close);
    if (temporary.fd < 0 || ::unlink(temporary.name.constData()) == 0)
        return temporary.fd;
    const int error = errno;
    ::close(temporary.fd);
    errno = error;
    return -1;
}

} // namespace

int CreatePrivateTemporary(const QString& folder, QStringView prefix, bool unnamed) {
    const QByteArray path = QFile::encodeName(folder);
#ifdef O_TMPFILE
    if (unnamed) {
        // O_EXCL: it can never be given a name afterwards.
        const int fd = ::open(path.constData(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
            return fd;
    }
#else
    (void)unnamed;
#endif
    return CreateNamed(path, prefix);
}

void RemoveLeftoverPrivateTemporaries(const QString& folder, QStringView prefix) {
    const QDir dir(folder);
    const QString pattern = prefix.toString() + QStringLiteral(".*") + kTemporaryEnd.toString();
    for (const QString& name : dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System |
                                                            QDir::CaseSensitive)) {
        if (!IsTemporaryName(name, prefix))
            continue;
        // Only this user's: the folder may be shared with others.
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat named {};
        if (::lstat(path.constData(), &named) == 0 && named.st_uid == ::geteuid())
            RemoveIfLeftOver(path);
    }
}
