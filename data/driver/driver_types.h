#pragma once
// Plain types of the driver interface: connect options, isolation levels,
// parameter and column types, column descriptions.

#include <QString>

namespace Driver {

// Firebird has no dirty read: DirtyRead runs as read committed.
enum class Isolation { ReadCommitted, RepeatableRead, DirtyRead };

struct ConnectOptions {
    QString database; // host/port:file, passed as given (trimmed)
    QString user;
    QString password;
    QString roleName;      // empty: no role
    QString serverCharSet; // empty: no character set, text columns are bytes
    int sqlDialect = 3;
    Isolation isolation = Isolation::ReadCommitted;
    bool waitOnLocks = true;
    bool commitRetain = false; // commits keep the transaction context
    QString clientLibrary;     // empty: ClientLibraryFor("")
};

// The SQL types a parameter is bound with and a column reports.
enum class DataType {
    Unknown,
    Varchar,  // text, variable length
    Char,     // text, fixed length (blank-padded by the server)
    SmallInt, // 16-bit integer
    Integer,  // 32-bit integer
    BigInt,   // 64-bit integer
    Decimal,  // fixed point: a scaled 64-bit integer and a scale
    Float,    // 32-bit floating point
    Double,   // 64-bit floating point
    Date,
    Time,
    Timestamp,
    Blob, // subtype 1 is text, 0 binary
    Boolean,
};

QString DataTypeName(DataType type);

struct ColumnDesc {
    QString name;     // the alias, as a select list names it
    QString relation; // the table it comes from, empty for expressions
    QString origin;   // the column of that table
    DataType type = DataType::Unknown;
    int subType = 0;   // blob subtype; for Decimal the storage bits (16, 32, 64)
    int length = 0;    // text: characters; others: bytes of storage
    int precision = 0; // digits the storage holds (Firebird does not report the declared one)
    int scale = 0;     // decimal digits after the point (0 or positive)
    bool nullable = true;
    int charSet = 0; // Firebird character set id of a text column (1 = OCTETS)
};

} // namespace Driver
