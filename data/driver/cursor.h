#pragma once
// The rows of an executed statement, read forward. Columns are 0-based.

#include "data/driver/deferred_blob.h"
#include "data/driver/driver_types.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <memory>
#include <optional>
#include <vector>

namespace Driver {

struct CursorImpl;

class Cursor {
public:
    ~Cursor(); // closes the rows and ends the statement's own transaction
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    int ColumnCount() const;
    const ColumnDesc& Column(int index) const;
    const std::vector<ColumnDesc>& Columns() const;

    // Steps onto the next row (the first call onto the first). False at the
    // end, where the cursor closes and commits the statement's own
    // transaction.
    bool Next();
    bool AtEnd() const;

    // Values of the current row. A read of the wrong kind raises Error
    // InvalidTranslation (7); without a current row ResultAtEof (10).
    bool IsNull(int index) const;
    // Text columns and text blobs, decoded from their character set
    // (Windows-1252 for bytes of no character set). Char keeps its padding.
    QString AsString(int index) const;
    // SmallInt, Integer, BigInt, Boolean; a Decimal's scaled integer.
    qint64 AsInteger(int index) const;
    // Any number; a Decimal divided by its scale.
    double AsDouble(int index) const;
    QDate AsDate(int index) const;          // Date, Timestamp
    QTime AsTime(int index) const;          // Time, Timestamp
    QDateTime AsTimestamp(int index) const; // Date, Timestamp; the wall-clock value as UTC
    bool AsBoolean(int index) const;
    // A blob whole (its size first, then all its bytes), or a text value's raw bytes.
    QByteArray AsBytes(int index) const;
    // A stored blob (one a table holds, not one that a procedure or an
    // expression makes), not null, left unread when the connection defers
    // blob reads (Connection::SetDeferredBlobReads); none otherwise.
    std::optional<DeferredBlob> Deferred(int index) const;

    CursorImpl* Impl() const { return impl_.get(); }

private:
    friend class Statement;
    explicit Cursor(std::unique_ptr<CursorImpl> impl);
    std::unique_ptr<CursorImpl> impl_;
};

} // namespace Driver
