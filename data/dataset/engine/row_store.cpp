#include "data/dataset/engine/row_store.h"

#include "platform/core/exception.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// Gap between the arrival keys of fetched rows, so that inserted rows fit in
// between without renumbering.
constexpr uint64_t ArrivalStep = uint64_t(1) << 20;

[[noreturn]] void InvalidPacket() {
    throw Exception(QStringLiteral("Invalid data packet"));
}

} // namespace

TRowStore::TRowStore(const TDataPacket& first) {
    Init(first);
    Append(first);
}

TRowStore::TRowStore(TDataPacket&& first) {
    Init(first);
    Append(std::move(first));
}

void TRowStore::Init(const TDataPacket& first) {
    if (first.Columns().empty())
        InvalidPacket();
    columns_ = first.Columns();
    layout_ = std::make_unique<TRowLayout>(columns_);
    lcid_ = first.Lcid();
    arenas_.emplace_back();
}

TBookmark TRowStore::AddRows(const TDataPacket& packet, std::span<const uint8_t* const> rows) {
    if (packet.Columns() != columns_)
        throw Exception(QStringLiteral("Data packet columns do not match the dataset's"));
    if (complete_)
        throw Exception(QStringLiteral("Data packet after the last one"));
    const auto first = static_cast<TBookmark>(rows_.size());
    const size_t count = rows.size();
    rows_.reserve(rows_.size() + count);
    arrival_.reserve(arrival_.size() + count);
    state_.reserve(state_.size() + count);
    order_.reserve(order_.size() + count);
    rows_.insert(rows_.end(), rows.begin(), rows.end());
    for (size_t i = 0; i < count; ++i) {
        arrival_.push_back(nextArrival_);
        nextArrival_ += ArrivalStep;
        state_.push_back(Live);
        order_.push_back(first + static_cast<TBookmark>(i));
    }
    // Blob cells point into the packet's blob table; move them to ours.
    const auto base = static_cast<uint32_t>(blobs_.size());
    blobs_.insert(blobs_.end(), packet.Blobs().begin(), packet.Blobs().end());
    if (base != 0 && !packet.Blobs().empty()) {
        for (int col = 0; col < layout_->ColumnCount(); ++col) {
            const TCellKind kind = layout_->Kind(col);
            if (kind != TCellKind::Blob && kind != TCellKind::Memo)
                continue;
            for (size_t i = 0; i < count; ++i) {
                // Rows are in blocks this store owns and wrote.
                auto* row = const_cast<uint8_t*>(rows_[first + i]);
                if (layout_->IsNull(row, col))
                    continue;
                const uint32_t index = layout_->BlobIndex(row, col) + base;
                std::memcpy(row + layout_->SlotOffset(col), &index, sizeof index);
            }
        }
    }
    complete_ = packet.IsLast();
    return first;
}

TBookmark TRowStore::Append(const TDataPacket& packet) {
    std::vector<const uint8_t*> copies;
    copies.reserve(packet.rows_.size());
    for (const uint8_t* row : packet.rows_)
        copies.push_back(arenas_.front().Store({row, layout_->RowSize(row)}));
    return AddRows(packet, copies);
}

TBookmark TRowStore::Append(TDataPacket&& packet) {
    const TBookmark first = AddRows(packet, packet.rows_);
    arenas_.push_back(std::move(packet.arena_));
    packet.rows_.clear();
    return first;
}

const uint8_t* TRowStore::StoreRow(TRowWriter& writer) {
    return arenas_.front().Store(writer.Compose(blobs_));
}

TBookmark TRowStore::Insert(const uint8_t* row, TBookmark before) {
    const auto record = static_cast<TBookmark>(rows_.size());
    auto at = order_.end();
    if (before != NoBookmark)
        at = std::find(order_.begin(), order_.end(), before);
    uint64_t key;
    if (at == order_.end()) {
        key = nextArrival_;
        nextArrival_ += ArrivalStep;
    } else {
        const uint64_t high = arrival_[*at];
        const uint64_t low = at == order_.begin() ? 0 : arrival_[*(at - 1)] + 1;
        if (high <= low) {
            Renumber();
            return Insert(row, before);
        }
        key = low + (high - low) / 2;
    }
    rows_.push_back(row);
    arrival_.push_back(key);
    state_.push_back(Live);
    order_.insert(at, record);
    log_.RecordInsert(record);
    return record;
}

void TRowStore::Renumber() {
    // Deleted records keep their place too, for a reconcile that undoes the delete.
    std::vector<TBookmark> all;
    for (TBookmark r = 0; r < rows_.size(); ++r) {
        if (state_[r] != Gone)
            all.push_back(r);
    }
    std::stable_sort(all.begin(), all.end(),
                     [&](TBookmark a, TBookmark b) { return arrival_[a] < arrival_[b]; });
    nextArrival_ = ArrivalStep; // key 0 stays free below the first record
    for (TBookmark r : all) {
        arrival_[r] = nextArrival_;
        nextArrival_ += ArrivalStep;
    }
}

void TRowStore::Modify(TBookmark record, const uint8_t* row) {
    log_.RecordModify(record, rows_[record]);
    rows_[record] = row;
}

void TRowStore::Delete(TBookmark record) {
    order_.erase(std::find(order_.begin(), order_.end(), record));
    state_[record] = log_.RecordDelete(record, rows_[record]) ? Deleted : Gone;
}

std::vector<TValue> TRowStore::Values(const uint8_t* row) const {
    std::vector<TValue> values;
    values.reserve(columns_.size());
    for (int col = 0; col < layout_->ColumnCount(); ++col)
        values.push_back(row ? layout_->Read(row, col, blobs_) : TValue());
    return values;
}

void TRowStore::MarkChanged(const uint8_t* original, const uint8_t* current,
                            std::vector<bool>& changed) const {
    // A blob written over one not read yet counts as changed without reading
    // it when another field changed too, since the statement goes anyway;
    // when nothing else changed it is read, so that an edit that set every
    // field to the value it had writes nothing.
    bool otherChanged = false;
    std::vector<int> unread;
    for (int col = 0; col < layout_->ColumnCount(); ++col) {
        changed[col] = !layout_->CellEquals(original, blobs_, current, blobs_, col);
        if (changed[col] && (layout_->BlobPending(original, col, blobs_) ||
                             layout_->BlobPending(current, col, blobs_)))
            unread.push_back(col);
        else
            otherChanged = otherChanged || changed[col];
    }
    if (otherChanged)
        return;
    for (int col : unread)
        changed[col] = !layout_->CellEquals(original, blobs_, current, blobs_, col, true);
}

TDelta TRowStore::Delta() const {
    TDelta delta;
    delta.columns = columns_;
    delta.changes.reserve(log_.Entries().size());
    for (const TChangeLog::Entry& entry : log_.Entries()) {
        TDeltaChange change;
        change.kind = entry.kind;
        change.record = entry.record;
        const uint8_t* current = rows_[entry.record];
        change.oldValues = Values(entry.original);
        change.newValues = Values(entry.kind == ukDelete ? entry.original : current);
        change.changed.resize(columns_.size(), entry.kind == ukInsert);
        if (entry.kind == ukModify)
            MarkChanged(entry.original, current, change.changed);
        delta.changes.push_back(std::move(change));
    }
    return delta;
}

void TRowStore::Merge() {
    for (const TChangeLog::Entry& entry : log_.Entries()) {
        if (entry.kind == ukDelete)
            state_[entry.record] = Gone;
    }
    log_.Clear();
}

void TRowStore::RestoreInOrder(TBookmark record) {
    const auto at =
        std::lower_bound(order_.begin(), order_.end(), record, [&](TBookmark a, TBookmark b) {
            return arrival_[a] != arrival_[b] ? arrival_[a] < arrival_[b] : a < b;
        });
    order_.insert(at, record);
}

void TRowStore::Undo(const TChangeLog::Entry& entry) {
    switch (entry.kind) {
    case ukInsert:
        order_.erase(std::find(order_.begin(), order_.end(), entry.record));
        state_[entry.record] = Gone;
        break;
    case ukModify:
        rows_[entry.record] = entry.original;
        break;
    case ukDelete:
        rows_[entry.record] = entry.original;
        state_[entry.record] = Live;
        RestoreInOrder(entry.record);
        break;
    }
}

bool TRowStore::Reconcile(const TErrorPacket& errors, const TReconcileCallback& callback,
                          bool mergeRest) {
    const auto& entries = log_.Entries();
    for (const TUpdateError& error : errors.errors) {
        if (error.recordNo < 0 || error.recordNo >= static_cast<int>(entries.size()))
            InvalidPacket();
    }
    // Decide every failed change first, so that raAbort can leave everything.
    enum Decision : uint8_t { Applied, Keep, Undone };
    std::vector<Decision> decisions(entries.size(), mergeRest ? Applied : Keep);
    for (const TUpdateError& error : errors.errors)
        decisions[error.recordNo] = Keep;
    for (const TUpdateError& error : errors.errors) {
        const TChangeLog::Entry& entry = entries[error.recordNo];
        TReconcileInfo info;
        info.kind = entry.kind;
        info.errorCode = error.errorCode;
        info.message = error.message;
        info.record = entry.record;
        info.oldValues = Values(entry.original);
        info.newValues = Values(entry.kind == ukDelete ? entry.original : rows_[entry.record]);
        info.proposed = error.proposed;
        switch (callback ? callback(info) : error.proposed) {
        case raAbort:
            return false;
        case raSkip:
        case raCorrect:
            decisions[error.recordNo] = Keep;
            break;
        case raMerge:
            decisions[error.recordNo] = Applied;
            break;
        case raCancel:
        case raRefresh:
            decisions[error.recordNo] = Undone;
            break;
        }
    }
    std::vector<bool> keep(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        if (decisions[i] == Applied && entries[i].kind == ukDelete)
            state_[entries[i].record] = Gone;
        else if (decisions[i] == Undone)
            Undo(entries[i]);
        keep[i] = decisions[i] == Keep;
    }
    log_.Retain(keep);
    return true;
}

qint64 TRowStore::MemoryBytes() const {
    qint64 bytes = 0;
    for (const TRowArena& arena : arenas_)
        bytes += static_cast<qint64>(arena.ReservedBytes());
    for (const TBlob& blob : blobs_)
        bytes += blob.Capacity();
    bytes += static_cast<qint64>(
        blobs_.capacity() * sizeof(TBlob) + rows_.capacity() * sizeof(const uint8_t*) +
        arrival_.capacity() * sizeof(uint64_t) + state_.capacity() * sizeof(State) +
        order_.capacity() * sizeof(TBookmark));
    return bytes;
}

qint64 TRowStore::RawValueBytes() const {
    qint64 bytes = 0;
    for (TBookmark record : order_) {
        for (int col = 0; col < layout_->ColumnCount(); ++col)
            bytes += layout_->ValueBytes(rows_[record], col, blobs_);
    }
    return bytes;
}
