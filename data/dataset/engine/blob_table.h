#pragma once
// The blobs of a set of rows, which their blob cells point into by index:
// each a blob's bytes, or a deferred blob whose bytes are read from the
// database the first time they are needed.

#include "data/dataset/values/value.h"

#include <QByteArray>
#include <optional>
#include <vector>

class TBlob {
public:
    TBlob() = default;
    TBlob(QByteArray bytes) : bytes_(std::move(bytes)) {}
    explicit TBlob(TDeferredBytes deferred) : deferred_(std::move(deferred)) {}

    // The bytes; a deferred blob is read here.
    const QByteArray& Bytes() const { return deferred_ ? deferred_->Bytes() : bytes_; }
    // A deferred blob not read yet.
    bool Pending() const { return deferred_ && !deferred_->Loaded(); }
    // The cell's value: the bytes, or the deferred blob unread.
    TValue Value() const { return deferred_ ? TValue(*deferred_) : TValue(bytes_); }
    // Known to hold the same bytes without reading any: copies of one
    // deferred blob.
    bool SameSource(const TBlob& other) const {
        return deferred_ && other.deferred_ && deferred_->SameAs(*other.deferred_);
    }
    // The memory its bytes take (none while unread).
    qsizetype Capacity() const { return Pending() ? 0 : Bytes().capacity(); }

private:
    QByteArray bytes_;
    std::optional<TDeferredBytes> deferred_;
};

using TBlobTable = std::vector<TBlob>;
