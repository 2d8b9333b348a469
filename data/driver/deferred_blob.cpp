#include "data/driver/deferred_blob.h"

#include "data/driver/blob.h"
#include "data/driver/fb_internal.h"

#include <algorithm>

using namespace Firebird;

namespace Driver {

struct DeferredBlobImpl {
    ConnectionImpl* conn = nullptr; // null once the connection let go of it
    ISC_QUAD id{};
    std::optional<QByteArray> bytes;
    std::optional<Error> failure; // of the read made when the connection let go

    QByteArray Read();
};

QByteArray DeferredBlobImpl::Read() {
    if (bytes)
        return *bytes;
    if (failure)
        throw *failure;
    if (!conn || !conn->attachment)
        throw Error(Status::InvalidHandle, QString());
    ITransaction* tra = conn->transaction ? conn->transaction : conn->SharedReadTransaction();
    ITransaction* own = tra ? nullptr : conn->Start(conn->options.isolation, true);
    try {
        bytes = Blob::Open(*conn, tra ? tra : own, id).ReadAll();
    } catch (...) {
        conn->Release(own, false);
        throw;
    }
    conn->Release(own, true);
    return *bytes;
}

QByteArray DeferredBlob::Read() const {
    return impl_->Read();
}

DeferredBlob ConnectionImpl::DeferBlob(const ISC_QUAD& id) {
    auto impl = std::make_shared<DeferredBlobImpl>();
    impl->conn = this;
    impl->id = id;
    // Forget the ones nobody holds any more, now and then.
    if (deferredBlobs.size() >= deferredBlobsPruneAt) {
        std::erase_if(deferredBlobs,
                      [](const std::weak_ptr<DeferredBlobImpl>& b) { return b.expired(); });
        deferredBlobsPruneAt = std::max<size_t>(64, deferredBlobs.size() * 2);
    }
    deferredBlobs.push_back(impl);
    return DeferredBlob(std::move(impl));
}

void ConnectionImpl::ReadDeferredBlobs() noexcept {
    for (const std::weak_ptr<DeferredBlobImpl>& weak : deferredBlobs) {
        const std::shared_ptr<DeferredBlobImpl> blob = weak.lock();
        if (!blob)
            continue;
        if (!blob->bytes && !blob->failure) {
            try {
                blob->Read();
            } catch (const Error& e) {
                blob->failure = e;
            } catch (...) {
                blob->failure = Error(Status::NoMemory, QString());
            }
        }
        blob->conn = nullptr;
    }
    deferredBlobs.clear();
    deferredBlobsPruneAt = 64;
}

} // namespace Driver
