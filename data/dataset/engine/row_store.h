#pragma once
// The rows of a client dataset: built from a first data packet and extended
// by later ones, with the record versions that edits make, the order of
// arrival, and the change log with its delta, merge and reconcile.

#include "data/dataset/engine/change_log.h"
#include "data/dataset/engine/delta.h"
#include "data/dataset/engine/packet.h"

#include <memory>
#include <span>
#include <vector>

class TRowStore {
public:
    // Raises Exception "Invalid data packet" for a packet without columns.
    explicit TRowStore(const TDataPacket& first);
    explicit TRowStore(TDataPacket&& first);
    TRowStore(const TRowStore&) = delete;
    TRowStore& operator=(const TRowStore&) = delete;

    // The rows of a later packet, added at the end of the order of arrival.
    // Returns the bookmark of the first new record (records are numbered
    // consecutively). Raises Exception when the packet's columns differ.
    TBookmark Append(const TDataPacket& packet);
    TBookmark Append(TDataPacket&& packet);
    // The last packet has arrived.
    bool IsComplete() const { return complete_; }

    const std::vector<TPacketColumn>& Columns() const { return columns_; }
    const TRowLayout& Layout() const { return *layout_; }
    const TBlobTable& Blobs() const { return blobs_; }
    quint32 Lcid() const { return lcid_; }

    // Every record ever held (the bound of bookmarks), and whether one is
    // still visible (not deleted).
    uint32_t Capacity() const { return static_cast<uint32_t>(rows_.size()); }
    bool IsLive(TBookmark record) const { return record < rows_.size() && state_[record] == Live; }
    const uint8_t* Row(TBookmark record) const { return rows_[record]; }
    TValue Cell(TBookmark record, int col) const {
        return layout_->Read(rows_[record], col, blobs_);
    }
    // The visible records in the order of arrival; inserted records stand
    // where they were inserted.
    const std::vector<TBookmark>& DefaultOrder() const { return order_; }
    // Ascending along the order of arrival (gaps allowed).
    uint64_t ArrivalKey(TBookmark record) const { return arrival_[record]; }

    // Stores a row composed by the writer (its blobs go to this store).
    const uint8_t* StoreRow(TRowWriter& writer);

    // Changes: each is recorded in the change log.
    // A new record before `before` in the order of arrival (NoBookmark: at the end).
    TBookmark Insert(const uint8_t* row, TBookmark before);
    void Modify(TBookmark record, const uint8_t* row);
    void Delete(TBookmark record);

    int ChangeCount() const { return log_.Count(); }
    const TChangeLog& Log() const { return log_; }
    TDelta Delta() const;
    // The applied changes become plain values and the log empties.
    void Merge();
    // One call back per failed change, in the error packet's order; then
    // raSkip and raCorrect keep the change in the log, raMerge merges it,
    // raCancel and raRefresh undo it, and, when `mergeRest` is set, every
    // change that did not fail is merged. raAbort stops at once and leaves
    // rows and log as they were; Reconcile then returns false. Raises
    // Exception "Invalid data packet" for an error naming no change.
    bool Reconcile(const TErrorPacket& errors, const TReconcileCallback& callback,
                   bool mergeRest = true);

    // Memory of the rows (arena, blobs, per-record tables) and the bytes of
    // the visible records' current values by themselves.
    qint64 MemoryBytes() const;
    qint64 RawValueBytes() const;

private:
    enum State : uint8_t { Live, Deleted, Gone };
    void Init(const TDataPacket& first);
    TBookmark AddRows(const TDataPacket& packet, std::span<const uint8_t* const> rows);
    void Adopt(TDataPacket& packet);
    void Undo(const TChangeLog::Entry& entry);
    void RestoreInOrder(TBookmark record);
    void Renumber();
    std::vector<TValue> Values(const uint8_t* row) const;
    // The fields of an edit whose value differs from the one read.
    void MarkChanged(const uint8_t* original, const uint8_t* current,
                     std::vector<bool>& changed) const;

    std::vector<TPacketColumn> columns_;
    std::unique_ptr<TRowLayout> layout_;
    quint32 lcid_ = 0;
    bool complete_ = false;
    std::vector<TRowArena> arenas_; // ours and those adopted from packets
    TBlobTable blobs_;
    std::vector<const uint8_t*> rows_; // current version per record
    std::vector<uint64_t> arrival_;
    std::vector<State> state_;
    std::vector<TBookmark> order_;
    uint64_t nextArrival_ = 0;
    TChangeLog log_;
};
