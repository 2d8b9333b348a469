#pragma once
// Data packets: the columns and a batch of rows that a provider sends to its
// client dataset, with the "last packet" flag and the dataset's locale code.
// Rows are written straight into the row layout the client keeps them in,
// so appending a packet to a client's rows moves bytes and nothing else.

#include "data/dataset/engine/column.h"
#include "data/dataset/engine/row_arena.h"
#include "data/dataset/engine/row_layout.h"

#include <QByteArray>
#include <memory>
#include <span>
#include <vector>

// A byte array of this size or smaller cannot be a packet.
inline constexpr int MinPacketBytes = 22;

class TDataPacket {
public:
    // Raises Exception for a column type that rows cannot hold.
    explicit TDataPacket(std::vector<TPacketColumn> columns);
    TDataPacket(TDataPacket&&) noexcept = default;
    TDataPacket& operator=(TDataPacket&&) noexcept = default;

    const std::vector<TPacketColumn>& Columns() const { return columns_; }
    const TRowLayout& Layout() const { return *layout_; }

    // The "LCID" dataset attribute.
    quint32 Lcid() const { return lcid_; }
    void SetLcid(quint32 lcid) { lcid_ = lcid; }
    // Whether the provider has no rows after these.
    bool IsLast() const { return last_; }
    void SetLast(bool last) { last_ = last; }

    // Writing a row: BeginRow gives a writer with every cell null; EndRow
    // adds the row as set.
    TRowWriter& BeginRow();
    void EndRow();
    // A row from one value per column, converted as the columns need.
    void AppendRow(std::span<const TValue> values);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    const uint8_t* Row(int index) const { return rows_[index]; }
    TValue Cell(int row, int col) const { return layout_->Read(rows_[row], col, blobs_); }
    const TBlobTable& Blobs() const { return blobs_; }

    // The byte form, for packets that travel as opaque byte arrays.
    QByteArray ToBytes() const;
    // Raises Exception "Invalid data packet" for 21 bytes or fewer and for
    // anything that is not a packet written by ToBytes.
    static TDataPacket FromBytes(const QByteArray& bytes);

private:
    friend class TRowStore;
    std::vector<TPacketColumn> columns_;
    std::unique_ptr<TRowLayout> layout_; // stable address for the writer
    std::unique_ptr<TRowWriter> writer_;
    quint32 lcid_ = 0;
    bool last_ = false;
    TRowArena arena_;
    std::vector<const uint8_t*> rows_;
    TBlobTable blobs_;
};
