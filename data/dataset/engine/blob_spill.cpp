#include "data/dataset/engine/blob_spill.h"

#include "platform/core/exception.h"
#include "platform/system/private_temporary.h"

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr QStringView kPrefix = u"amqb-rows";

QString FolderOrTemp(const QString& folder) {
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

} // namespace

std::shared_ptr<TBlobSpill> TBlobSpill::Create(qint64 threshold, const QString& folder) {
    return std::shared_ptr<TBlobSpill>(new TBlobSpill(threshold, folder));
}

TBlobSpill::TBlobSpill(qint64 threshold, const QString& folder)
    : threshold_(threshold), folder_(folder) {}

TBlobSpill::~TBlobSpill() {
    if (fd_ >= 0)
        ::close(fd_);
}

void TBlobSpill::Fail(const char* what, int error) const {
    throw Exception(QStringLiteral("Cannot %1 the temporary file of the rows in \"%2\": %3")
                        .arg(QString::fromLatin1(what),
                             QDir::toNativeSeparators(FolderOrTemp(folder_)),
                             QString::fromLocal8Bit(std::strerror(error))));
}

TKeptBytes TBlobSpill::Keep(QByteArrayView bytes) {
    if (fd_ < 0) {
        fd_ = CreatePrivateTemporary(FolderOrTemp(folder_), kPrefix);
        if (fd_ < 0)
            Fail("create", errno);
    }
    const char* p = bytes.data();
    qint64 at = end_;
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(fd_, p, static_cast<size_t>(std::min<qint64>(left, 1 << 30)),
                                   static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            // What did get written is given back; the next blob goes there.
            const int truncated = ::ftruncate(fd_, static_cast<off_t>(end_));
            (void)truncated;
            Fail("write", error);
        }
        p += n;
        at += n;
        left -= n;
    }
    TKeptBytes kept{shared_from_this(), end_, bytes.size()};
    end_ = at;
    return kept;
}

QByteArray TBlobSpill::ReadBytes(qint64 at, qint64 size) const {
    if (at < 0 || size < 0 || at + size > end_)
        Fail("read", EINVAL);
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    char* p = bytes.data();
    qint64 left = size;
    while (left > 0) {
        const ssize_t n = ::pread(fd_, p, static_cast<size_t>(std::min<qint64>(left, 1 << 30)),
                                  static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        // Never part of the bytes: a read that stops short is an error.
        if (n <= 0)
            Fail("read", n < 0 ? errno : EIO);
        p += n;
        at += n;
        left -= n;
    }
    return bytes;
}

void TBlobSpill::RemoveLeftovers(const QString& folder) {
    RemoveLeftoverPrivateTemporaries(FolderOrTemp(folder), kPrefix);
}
