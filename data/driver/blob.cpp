#include "data/driver/blob.h"

#include "data/driver/fb_internal.h"

#include <new>

using namespace Firebird;

namespace Driver {

namespace {
// Segments are written and read in pieces of 32 KiB: on a local server
// reading in 32 KiB segments was about a third faster than in 64 KiB - 1.
constexpr qsizetype kWriteSegment = 32768;
constexpr qsizetype kReadSegment = 32768;
} // namespace

std::optional<quint64> BlobTotalLength(std::span<const unsigned char> info) {
    // item, a 2-byte little-endian length, then that many bytes of a
    // little-endian integer.
    if (info.size() < 3 || info[0] != isc_info_blob_total_length)
        return std::nullopt;
    const size_t length = info[1] | (static_cast<size_t>(info[2]) << 8);
    if (length == 0 || length > sizeof(quint64) || 3 + length > info.size())
        return std::nullopt;
    quint64 total = 0;
    for (size_t i = length; i-- > 0;)
        total = (total << 8) | info[3 + i];
    return total;
}

Blob Blob::Create(ConnectionImpl& conn, ITransaction* tra, ISC_QUAD& id) {
    FbStatus st(conn.master);
    IBlob* blob = conn.attachment->createBlob(&st, tra, &id, 0, nullptr);
    st.Check(Status::ServerError, conn.util);
    return Blob(conn, blob, true);
}

Blob Blob::Open(ConnectionImpl& conn, ITransaction* tra, const ISC_QUAD& id) {
    FbStatus st(conn.master);
    ISC_QUAD copy = id;
    IBlob* blob = conn.attachment->openBlob(&st, tra, &copy, 0, nullptr);
    st.Check(Status::ServerError, conn.util);
    return Blob(conn, blob, false);
}

Blob::Blob(Blob&& other) noexcept
    : conn_(other.conn_), blob_(other.blob_), created_(other.created_) {
    other.blob_ = nullptr;
}

Blob::~Blob() {
    End(!created_);
}

void Blob::End(bool keep) noexcept {
    if (!blob_)
        return;
    FbStatus st(conn_->master);
    if (keep)
        blob_->close(&st);
    else
        blob_->cancel(&st);
    // On success the client has released the interface itself.
    if (st.Failed())
        blob_->release();
    blob_ = nullptr;
}

void Blob::Fail(FbStatus& st) {
    const QString text = st.Text(conn_->util);
    End(!created_);
    throw Error(Status::ServerError, text);
}

void Blob::Refuse(Status status) {
    End(!created_);
    throw Error(status, QString());
}

void Blob::WriteAll(const QByteArray& bytes) {
    FbStatus st(conn_->master);
    for (qsizetype at = 0; at < bytes.size(); at += kWriteSegment) {
        const auto n = static_cast<unsigned>(qMin(kWriteSegment, bytes.size() - at));
        blob_->putSegment(&st, n, bytes.constData() + at);
        if (st.Failed())
            Fail(st);
    }
    blob_->close(&st);
    if (st.Failed())
        Fail(st);
    blob_ = nullptr;
}

quint64 Blob::TotalLength() {
    FbStatus st(conn_->master);
    const unsigned char items[] = {isc_info_blob_total_length};
    unsigned char info[32] = {};
    blob_->getInfo(&st, sizeof items, items, sizeof info, info);
    if (st.Failed())
        Fail(st);
    const std::optional<quint64> total = BlobTotalLength(info);
    if (!total)
        Refuse(Status::InvalidLength);
    return *total;
}

QByteArray Blob::ReadAll() {
    const quint64 total = TotalLength();
    if (total > MaxBlobBytes)
        Refuse(Status::NoMemory);
    QByteArray bytes;
    try {
        bytes.resize(static_cast<qsizetype>(total));
    } catch (const std::bad_alloc&) {
        Refuse(Status::NoMemory);
    }
    FbStatus st(conn_->master);
    qsizetype at = 0;
    while (at < bytes.size()) {
        unsigned got = 0;
        const auto want = static_cast<unsigned>(qMin(bytes.size() - at, kReadSegment));
        const int result = blob_->getSegment(&st, want, bytes.data() + at, &got);
        if (st.Failed())
            Fail(st);
        if (result == IStatus::RESULT_NO_DATA || result == IStatus::RESULT_ERROR)
            break;
        at += got;
    }
    bytes.truncate(at);
    End(true);
    return bytes;
}

} // namespace Driver
