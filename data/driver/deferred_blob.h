#pragma once
// A blob of a fetched row whose bytes are read from the server only when
// they are wanted, which may be after the cursor moved on and after the
// transaction that fetched the row ended. Only for blobs stored in a table
// (a blob that a procedure or an expression makes lives only as long as its
// transaction), and only while the connection defers blob reads
// (Connection::SetDeferredBlobReads): before the connection ends the context
// that keeps the rows' blobs from being collected (when deferring stops,
// when it detaches), it reads every deferred blob still held and unread, so
// a later read gives the bytes the row held.

#include <QByteArray>
#include <memory>

namespace Driver {

struct DeferredBlobImpl;

class DeferredBlob {
public:
    explicit DeferredBlob(std::shared_ptr<DeferredBlobImpl> impl) : impl_(std::move(impl)) {}

    // The bytes, read the first time: in the connection's explicit
    // transaction, else its shared read transaction, else a read-only one of
    // its own. Raises Error as a read of the blob does (InvalidHandle when
    // the connection is gone and the bytes were never read).
    QByteArray Read() const;

private:
    std::shared_ptr<DeferredBlobImpl> impl_;
};

} // namespace Driver
