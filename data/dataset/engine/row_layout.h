#pragma once
// The byte layout of one row: a null bitmap, fixed-size slots, and the
// variable-length texts and bytes packed behind them. Reads cells back as
// TValue and writes rows through TRowWriter; sort_key.h encodes their keys.

#include "data/dataset/engine/blob_table.h"
#include "data/dataset/engine/column.h"
#include "data/dataset/values/value.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <cstdint>
#include <span>
#include <vector>

// How a cell is held in a row.
enum class TCellKind : uint8_t {
    Int16,    // ftSmallint
    Int32,    // ftInteger, ftWord, ftAutoInc
    Int64,    // ftLargeint
    Boolean,  // one byte
    Float,    // ftFloat, ftCurrency: a double
    Bcd,      // ftBCD, ftFMTBcd: the scaled 64-bit integer at the column's scale
    DateTime, // ftDate, ftTime, ftDateTime, ftTimeStamp: the day count as a double
    Text,     // ftString, ftFixedChar, ftGuid: Windows-1252 bytes, variable length
    WideText, // ftWideString: UTF-8 bytes, variable length
    Bytes,    // ftBytes, ftVarBytes: variable length
    Blob,     // binary blobs: an index into the owner's blob table
    Memo,     // text blobs: Windows-1252 bytes in the blob table
};

class TRowLayout {
public:
    TRowLayout() = default;
    // Raises Exception for a column type that rows cannot hold.
    explicit TRowLayout(const std::vector<TPacketColumn>& columns);

    int ColumnCount() const { return static_cast<int>(cells_.size()); }
    TCellKind Kind(int col) const { return cells_[col].kind; }
    bool IsVariable(int col) const { return cells_[col].variable; }
    int Scale(int col) const { return cells_[col].scale; }
    // Bytes before the variable part: bitmap plus slots.
    int FixedSize() const { return fixedSize_; }
    // The whole size of a row in this layout.
    uint32_t RowSize(const uint8_t* row) const;

    bool IsNull(const uint8_t* row, int col) const { return (row[col >> 3] >> (col & 7)) & 1; }
    TValue Read(const uint8_t* row, int col, const TBlobTable& blobs) const;
    // The bytes of a variable cell (texts as stored: 8-bit or UTF-8).
    QByteArrayView VarBytes(const uint8_t* row, int col) const;
    // Index of a blob cell in the blob table.
    uint32_t BlobIndex(const uint8_t* row, int col) const;
    // Where a cell's fixed slot sits in the row (for a blob, its index in the
    // blob table; for a variable cell, the end offset of its bytes).
    uint32_t SlotOffset(int col) const { return cells_[col].offset; }
    // The bytes the cell's value takes by itself (0 for null and for a
    // deferred blob not read yet).
    qint64 ValueBytes(const uint8_t* row, int col, const TBlobTable& blobs) const;
    // Same value (null equals null), compared on the stored bytes. A deferred
    // blob not read yet is equal only to copies of itself unless `read` is
    // set: it is not read to be compared.
    bool CellEquals(const uint8_t* a, const TBlobTable& blobsA, const uint8_t* b,
                    const TBlobTable& blobsB, int col, bool read = false) const;
    // A blob cell holding a deferred blob not read yet.
    bool BlobPending(const uint8_t* row, int col, const TBlobTable& blobs) const;

    // Checks that bytes claiming to be a row of this layout are one:
    // offsets inside the row and increasing, blob indexes under blobCount.
    bool Validate(std::span<const uint8_t> row, size_t blobCount) const;

    // Converts a value to the canonical kind of the column (integers for
    // integer columns, TBcd at the column's scale, ...); EConvertError when it
    // cannot be converted or does not fit.
    TValue Normalize(int col, const TValue& value) const;

private:
    friend class TRowWriter;
    struct Cell {
        TCellKind kind;
        bool variable;
        int scale;
        uint32_t offset; // of the slot; for variable cells a uint32 end offset
    };
    std::vector<Cell> cells_;
    std::vector<QString> names_;
    int bitmapSize_ = 0;
    int fixedSize_ = 0;
    int lastVariable_ = -1;
};

// Builds one row in a reusable buffer: set the cells in any order, then
// Compose. Blobs are handed over to the owner's blob table on Compose.
// After warm-up, writing rows allocates nothing but the blobs themselves.
class TRowWriter {
public:
    explicit TRowWriter(const TRowLayout& layout);

    const TRowLayout& Layout() const { return *layout_; }
    // Every cell null.
    void Clear();
    void SetNull(int col);
    void SetInteger(int col, qint64 value);
    void SetFloat(int col, double value);
    void SetBcd(int col, TBcd value);
    void SetBoolean(int col, bool value);
    void SetDateTime(int col, TDateTime value);
    // Text for text and memo columns (converted to Windows-1252 or UTF-8).
    void SetText(int col, QStringView value);
    // 8-bit text as it is, for text and memo columns; bytes for bytes and blob columns.
    void SetBytes(int col, QByteArrayView value);
    // A blob's bytes without copying them.
    void SetBlob(int col, const QByteArray& value);
    // A deferred blob, left unread.
    void SetDeferredBlob(int col, const TDeferredBytes& value);
    // Any value, converted as Normalize does.
    void SetValue(int col, const TValue& value);

    // The row's bytes, valid until the next change of the writer; the blobs
    // set are appended to `blobs` and their indexes written into the row.
    std::span<const uint8_t> Compose(TBlobTable& blobs);

private:
    void MarkNotNull(int col);
    template <class T> void PutFixed(int col, T value);

    const TRowLayout* layout_;
    std::vector<uint8_t> fixed_;
    std::vector<QByteArray> var_; // per column; only variable and blob columns are used
    std::vector<std::optional<TDeferredBytes>> deferred_; // per column: a deferred blob set
    std::vector<uint8_t> row_;
};
