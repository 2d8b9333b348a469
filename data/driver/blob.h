#pragma once
// Private to the driver: blobs of the client library, written whole for a
// parameter and read whole for a column, through one handle that owns the
// client's blob interface and closes (or cancels, or at least releases) it
// on every path.

#include "data/driver/fb_status.h"

#include <QByteArray>
#include <optional>
#include <span>

namespace Driver {

struct ConnectionImpl;

// The most bytes a blob may have to be read into memory. No photograph or
// memo comes near it; a damaged or hostile size must not ask for memory
// that is not there.
inline constexpr quint64 MaxBlobBytes = 0x7FFFFFFF;

// The total length in a blob's info block (the reply to
// isc_info_blob_total_length), checked against the bytes of the block; none
// when the block does not hold it whole.
std::optional<quint64> BlobTotalLength(std::span<const unsigned char> info);

class Blob {
public:
    // A new blob in `tra`; its id goes to `id`.
    static Blob Create(ConnectionImpl& conn, Firebird::ITransaction* tra, ISC_QUAD& id);
    // An existing blob, for reading.
    static Blob Open(ConnectionImpl& conn, Firebird::ITransaction* tra, const ISC_QUAD& id);
    // A blob still open is cancelled (a new one) or closed (a read one).
    ~Blob();
    Blob(Blob&& other) noexcept;
    Blob(const Blob&) = delete;
    Blob& operator=(const Blob&) = delete;
    Blob& operator=(Blob&&) = delete;

    // Writes `bytes` in segments and closes the blob; Error ServerError
    // with the server's text when that fails (the new blob is then cancelled).
    void WriteAll(const QByteArray& bytes);
    // Its size first, then all its bytes, then closes. Error InvalidLength
    // when the server does not tell the size, NoMemory when the size is over
    // MaxBlobBytes or cannot be allocated, ServerError when a read fails.
    QByteArray ReadAll();

private:
    Blob(ConnectionImpl& conn, Firebird::IBlob* blob, bool created)
        : conn_(&conn), blob_(blob), created_(created) {}
    quint64 TotalLength();
    // Ends the blob, closing it (or cancelling a new one when `keep` is
    // false); releases the interface when that fails. Never raises.
    void End(bool keep) noexcept;
    // End the blob and raise the server's error, or a status of the driver's own.
    [[noreturn]] void Fail(FbStatus& st);
    [[noreturn]] void Refuse(Status status);

    ConnectionImpl* conn_;
    Firebird::IBlob* blob_;
    bool created_;
};

} // namespace Driver
