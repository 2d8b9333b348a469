#include "data/dataset/engine/blob_table.h"

TBlob::TBlob(const TDeferredBytes& deferred) {
    if (const TKeptBytes* kept = deferred.Kept())
        v_ = *kept;
    else
        v_ = deferred;
}

QByteArray TBlob::Bytes() const {
    if (const auto* deferred = std::get_if<TDeferredBytes>(&v_))
        return deferred->Bytes();
    if (const auto* kept = std::get_if<TKeptBytes>(&v_))
        return kept->Read();
    return std::get<QByteArray>(v_);
}

bool TBlob::Pending() const {
    if (const auto* deferred = std::get_if<TDeferredBytes>(&v_))
        return !deferred->Loaded();
    return std::holds_alternative<TKeptBytes>(v_);
}

TValue TBlob::Value() const {
    if (const auto* deferred = std::get_if<TDeferredBytes>(&v_))
        return TValue(*deferred);
    if (const auto* kept = std::get_if<TKeptBytes>(&v_))
        return TValue(TDeferredBytes(*kept));
    return TValue(std::get<QByteArray>(v_));
}

bool TBlob::SameSource(const TBlob& other) const {
    if (const auto* deferred = std::get_if<TDeferredBytes>(&v_)) {
        const auto* theirs = std::get_if<TDeferredBytes>(&other.v_);
        return theirs && deferred->SameAs(*theirs);
    }
    if (const auto* kept = std::get_if<TKeptBytes>(&v_)) {
        const auto* theirs = std::get_if<TKeptBytes>(&other.v_);
        return theirs && kept->SamePlace(*theirs);
    }
    return false;
}

qsizetype TBlob::Capacity() const {
    if (const auto* bytes = std::get_if<QByteArray>(&v_))
        return bytes->capacity();
    if (const auto* deferred = std::get_if<TDeferredBytes>(&v_))
        return deferred->Loaded() ? deferred->Bytes().capacity() : 0;
    return 0;
}

std::optional<qint64> TBlob::Size() const {
    if (const auto* bytes = std::get_if<QByteArray>(&v_))
        return bytes->size();
    if (const auto* kept = std::get_if<TKeptBytes>(&v_))
        return kept->size;
    const auto& deferred = std::get<TDeferredBytes>(v_);
    if (!deferred.Loaded())
        return std::nullopt;
    return deferred.Bytes().size();
}

uint32_t TBlobTable::Add(const QByteArray& bytes) {
    const auto index = static_cast<uint32_t>(blobs_.size());
    if (spill_ && spill_->Takes(bytes.size()))
        blobs_.emplace_back(spill_->Keep(bytes));
    else
        blobs_.emplace_back(bytes);
    return index;
}

uint32_t TBlobTable::Add(const TDeferredBytes& deferred) {
    const auto index = static_cast<uint32_t>(blobs_.size());
    blobs_.emplace_back(deferred);
    return index;
}

void TBlobTable::AddAll(const TBlobTable& other) {
    blobs_.insert(blobs_.end(), other.blobs_.begin(), other.blobs_.end());
}
