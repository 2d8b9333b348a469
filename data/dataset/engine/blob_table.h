#pragma once
// The blobs of a set of rows, which their blob cells point into by index:
// each a blob's bytes, a deferred blob whose bytes are read from the
// database the first time they are needed, or a blob kept out of memory by
// a spill (blob_spill.h), read back each time it is wanted. A table with a
// spill keeps there the blobs that reach its threshold as they are added.

#include "data/dataset/engine/blob_spill.h"
#include "data/dataset/values/value.h"

#include <QByteArray>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class TBlob {
public:
    TBlob() = default;
    TBlob(QByteArray bytes) : v_(std::move(bytes)) {}
    // A deferred value of a keeper's bytes is held as the place it names.
    explicit TBlob(const TDeferredBytes& deferred);
    explicit TBlob(TKeptBytes kept) : v_(std::move(kept)) {}

    // The bytes: a deferred blob is read here and keeps them, a kept one is
    // read from its keeper each time.
    QByteArray Bytes() const;
    // Not in memory: a deferred blob not read yet, or a kept one.
    bool Pending() const;
    // The cell's value: the bytes, the deferred blob unread, or a deferred
    // value of the kept bytes (read when it is, and held by it alone).
    TValue Value() const;
    // Known to hold the same bytes without reading any: copies of one
    // deferred blob, or the same place of one keeper.
    bool SameSource(const TBlob& other) const;
    // The memory its bytes take (none while not in memory).
    qsizetype Capacity() const;
    // The size of its bytes; none for a deferred blob not read yet.
    std::optional<qint64> Size() const;

private:
    std::variant<QByteArray, TDeferredBytes, TKeptBytes> v_;
};

class TBlobTable {
public:
    TBlobTable() = default;
    // Blobs that reach the spill's threshold go to the spill.
    explicit TBlobTable(std::shared_ptr<TBlobSpill> spill) : spill_(std::move(spill)) {}

    const std::shared_ptr<TBlobSpill>& Spill() const { return spill_; }

    // Adds a blob; returns its index. Raises Exception when the spill cannot
    // keep it (see TBlobSpill::Keep); the table is then as it was.
    uint32_t Add(const QByteArray& bytes);
    uint32_t Add(const TDeferredBytes& deferred);
    // Adds every blob of `other`, as they are, at the end.
    void AddAll(const TBlobTable& other);

    size_t size() const { return blobs_.size(); }
    bool empty() const { return blobs_.empty(); }
    size_t capacity() const { return blobs_.capacity(); }
    void reserve(size_t count) { blobs_.reserve(count); }
    const TBlob& operator[](size_t index) const { return blobs_[index]; }
    std::vector<TBlob>::const_iterator begin() const { return blobs_.begin(); }
    std::vector<TBlob>::const_iterator end() const { return blobs_.end(); }

private:
    std::vector<TBlob> blobs_;
    std::shared_ptr<TBlobSpill> spill_;
};
