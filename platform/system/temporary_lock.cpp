#include "platform/system/temporary_lock.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names tried before giving up, should every one be taken.
constexpr int kNameAttempts = 100;

constexpr char kRandomLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

QByteArray RandomLetters(int count) {
    QByteArray letters;
    QRandomGenerator* random = QRandomGenerator::global();
    for (int i = 0; i < count; ++i)
        letters += kRandomLetters[random->bounded(int(sizeof kRandomLetters - 1))];
    return letters;
}

bool AreRandomLetters(QStringView text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 128 && std::isalnum(c.unicode()); });
}

bool StillNamed(int fd, const QByteArray& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0 &&
           SameFile(open, named);
}

bool LockAsLive(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

void RemoveIfLeftOver(const QByteArray& path) {
    struct stat named {};
    if (::lstat(path.constData(), &named) != 0 || !S_ISREG(named.st_mode))
        return;
    // Any mode will do for the lock; a killed run may have left it read-only.
    int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    // Held by its lock, it cannot be a live process's: the name is removed
    // only while it still leads to the file locked.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, path))
        ::unlink(path.constData());
    ::close(fd);
}

LockedTemporary CreateLockedTemporary(const QByteArray& start, int flags, mode_t mode,
                                      int (*open)(const char*, int, mode_t), int (*close)(int)) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        LockedTemporary temporary{start + RandomLetters(kTemporaryRandomLength) +
                                  kTemporaryEnd.toLatin1()};
        temporary.fd = open(temporary.name.constData(),
                            flags | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (temporary.fd < 0) {
            if (errno == EEXIST)
                continue;
            return temporary;
        }
        if (LockAsLive(temporary.fd) && StillNamed(temporary.fd, temporary.name))
            return temporary;
        close(temporary.fd);
    }
    errno = EEXIST;
    return {};
}
