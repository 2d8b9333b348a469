#include "platform/system/file_write.h"

#include "platform/system/file_write_calls.h"
#include "platform/system/paths.h"
#include "platform/system/temporary_lock.h"

#include <QDir>
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

void WriteWholeFile(const QString& fileName, QByteArrayView bytes) {
    WriteWholeFileLocal(LocalPath(fileName), bytes, fileName);
}

void RemoveLeftoverTemporaries(const QString& folder, QStringView suffix) {
    const QString local = LocalPath(folder);
    if (!local.isEmpty())
        RemoveLeftoverTemporariesLocal(local, suffix);
}

namespace {

// A temporary is "<name>.<kTemporaryRandomLength letters or digits>.tmp".
bool IsTemporaryName(QStringView name, QStringView suffix) {
    const qsizetype randomAt = name.size() - kTemporaryEnd.size() - kTemporaryRandomLength;
    // "<at least one character><suffix>.<random><end>"
    if (randomAt - 1 <= suffix.size() || !name.endsWith(kTemporaryEnd) ||
        name[randomAt - 1] != u'.' || !name.first(randomAt - 1).endsWith(suffix))
        return false;
    return AreRandomLetters(name.sliced(randomAt, kTemporaryRandomLength));
}

// A new temporary beside `target`, open for writing and locked.
LockedTemporary CreateTemporary(const QByteArray& target, const QString& shownName) {
    const FileWriteCalls& sys = *fileWriteCalls;
    const LockedTemporary temporary =
        CreateLockedTemporary(target + '.', O_WRONLY, 0666, sys.open, sys.close);
    if (temporary.fd < 0)
        throw EFCreateError(shownName, errno);
    return temporary;
}

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

void RemoveLeftoverTemporariesLocal(const QString& localFolder, QStringView suffix) {
    const QDir folder(localFolder);
    const QString pattern = u'*' + suffix.toString() + u'.' +
                            QString(kTemporaryRandomLength, u'?') + kTemporaryEnd.toString();
    for (const QString& name : folder.entryList({pattern}, QDir::Files | QDir::Hidden |
                                                               QDir::System | QDir::CaseSensitive))
        if (IsTemporaryName(name, suffix))
            RemoveIfLeftOver(QFile::encodeName(folder.filePath(name)));
}

void WriteWholeFileLocal(const QString& localPath, QByteArrayView bytes, const QString& shownName) {
    if (localPath.isEmpty())
        throw EFCreateError(shownName, ENOENT);
    const FileWriteCalls& sys = *fileWriteCalls;
    const QByteArray target = QFile::encodeName(localPath);

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISREG(old.st_mode) && ::access(target.constData(), W_OK) != 0)
        throw EFCreateError(shownName, errno);

    const LockedTemporary temporary = CreateTemporary(target, shownName);
    // Removed while still open and locked, so that no removal of leftovers
    // takes the name meanwhile.
    auto fail = [&](int error) {
        sys.unlink(temporary.name.constData());
        sys.close(temporary.fd);
        throw EFCreateError(shownName, error);
    };
    if (exists && S_ISREG(old.st_mode) && ::fchmod(temporary.fd, old.st_mode & 07777) != 0)
        fail(errno);
    if (!WriteAll(temporary.fd, bytes) || sys.fsync(temporary.fd) != 0)
        fail(errno);
    // Still locked while it is renamed.
    if (sys.rename(temporary.name.constData(), target.constData()) != 0)
        fail(errno);
    if (sys.close(temporary.fd) != 0 && errno != EINTR)
        throw EFCreateError(shownName, errno);
    SyncFolder(FolderOf(target), shownName);
}
