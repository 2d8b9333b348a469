#pragma once
// A prepared statement with "?" markers, bound by position (0-based here:
// marker 1 of the SQL text is index 0) with a type, a value and a null flag.

#include "data/driver/driver_types.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <memory>

namespace Driver {

class Connection;
class Cursor;
struct StatementImpl;

class Statement {
public:
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int ParamCount() const;
    // Input parameters. The server converts a value to the type of its place
    // (text "12" into an integer column). An index out of range raises Error
    // OutOfRange (8); executing with a marker never bound raises status 11.
    void SetNull(int index, DataType type = DataType::Unknown);
    void SetText(int index, QStringView text, DataType type = DataType::Varchar);
    void SetInt16(int index, qint16 value);
    void SetInt32(int index, qint32 value);
    void SetInt64(int index, qint64 value);
    // A fixed-point value held exactly: 12345 with scale 2 is 123.45.
    void SetDecimal(int index, qint64 scaled, int scale);
    void SetDouble(int index, double value);
    void SetDate(int index, QDate value);
    void SetTime(int index, QTime value);
    void SetTimestamp(int index, const QDateTime& value); // date and time as shown, no time zone
    void SetBlob(int index, const QByteArray& value);
    // Raw bytes into a text place (OCTETS): no character conversion.
    void SetBytes(int index, const QByteArray& value);
    void SetBoolean(int index, bool value);
    void ClearParams();

    // True for a statement that yields rows (select, or execute procedure
    // with output values).
    bool ReturnsRows() const;
    // Executes. A statement with result rows yields its cursor (which must
    // not outlive the statement; executing again closes it); else null, and
    // RowsAffected() tells the rows inserted, updated or deleted. Asking the
    // server for that count is a wait of its own: with `countRows` false it
    // is not asked, for a statement whose count is known (an insert of one
    // row of values into a table), and RowsAffected() is -1.
    std::unique_ptr<Cursor> Execute(bool countRows = true);
    qint64 RowsAffected() const;

    StatementImpl* Impl() const { return impl_.get(); }

private:
    friend class Connection;
    explicit Statement(std::unique_ptr<StatementImpl> impl);
    std::unique_ptr<StatementImpl> impl_;
};

} // namespace Driver
