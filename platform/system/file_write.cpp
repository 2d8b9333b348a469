#include "platform/system/file_write.h"

#include "platform/system/file_write_calls.h"
#include "platform/system/paths.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

EFCreateError::EFCreateError(const QString& fileName, int systemError)
    : Exception(QStringLiteral("Cannot create file \"%1\". %2")
                    .arg(fileName, QString::fromLocal8Bit(std::strerror(systemError)))) {}

QString TemporaryFileFor(const QString& localPath) {
    return localPath + QStringLiteral(".tmp");
}

void WriteWholeFile(const QString& fileName, QByteArrayView bytes) {
    WriteWholeFileLocal(LocalPath(fileName), bytes, fileName);
}

namespace {

constexpr FileWriteCalls kSystemCalls{
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    ::write,
    ::fsync,
    ::close,
    ::rename,
    ::unlink,
};

} // namespace

const FileWriteCalls* fileWriteCalls = &kSystemCalls;

void SetFileWriteCalls(const FileWriteCalls* calls) {
    fileWriteCalls = calls ? calls : &kSystemCalls;
}

namespace {

// The folder that holds `path`, for syncing the rename.
QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

bool WriteAll(int fd, QByteArrayView bytes) {
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const size_t chunk = static_cast<size_t>(std::min<qsizetype>(left, qsizetype{1} << 30));
        const ssize_t n = fileWriteCalls->write(fd, p, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

void SyncFolder(const QByteArray& folder, const QString& shownName) {
    const FileWriteCalls& sys = *fileWriteCalls;
    const int fd = sys.open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0)
        throw EFCreateError(shownName, errno);
    const int failed = sys.fsync(fd) != 0 ? errno : 0;
    sys.close(fd);
    if (failed)
        throw EFCreateError(shownName, failed);
}

} // namespace

void WriteWholeFileLocal(const QString& localPath, QByteArrayView bytes, const QString& shownName) {
    if (localPath.isEmpty())
        throw EFCreateError(shownName, ENOENT);
    const QByteArray target = QFile::encodeName(localPath);
    const QByteArray temporary = QFile::encodeName(TemporaryFileFor(localPath));

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISREG(old.st_mode) && ::access(target.constData(), W_OK) != 0)
        throw EFCreateError(shownName, errno);

    const FileWriteCalls& sys = *fileWriteCalls;
    int fd = sys.open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throw EFCreateError(shownName, errno);
    auto fail = [&](int error) {
        if (fd >= 0)
            sys.close(fd);
        sys.unlink(temporary.constData());
        throw EFCreateError(shownName, error);
    };
    if (exists && S_ISREG(old.st_mode) && ::fchmod(fd, old.st_mode & 07777) != 0)
        fail(errno);
    if (!WriteAll(fd, bytes) || sys.fsync(fd) != 0)
        fail(errno);
    const int closed = sys.close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR)
        fail(errno);
    if (sys.rename(temporary.constData(), target.constData()) != 0)
        fail(errno);
    SyncFolder(FolderOf(target), shownName);
}
