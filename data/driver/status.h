#pragma once
// The statuses of the driver: every failing operation gives one (Ok is
// success), and each has the text that the user's message is composed from.

#include <QString>

namespace Driver {

enum class Status : quint16 {
    Ok = 0,
    Warning = 1,
    NoMemory = 2,
    InvalidFieldType = 3,
    InvalidHandle = 4,
    NotSupported = 5,
    InvalidTime = 6,
    InvalidTranslation = 7,
    OutOfRange = 8,
    InvalidParameter = 9,
    ResultAtEof = 10,
    ParameterNotSet = 11,
    InvalidUserPassword = 12,
    InvalidPrecision = 13,
    InvalidLength = 14,
    InvalidIsolationLevel = 15,
    InvalidTransactionId = 16,
    DuplicateTransactionId = 17,
    TransactionActive = 19,
    MultipleTransactionsDisabled = 20,
    ConnectFailed = 21,
    InitFailed = 22,
    OptimisticLockFailed = 23,
    InvalidReference = 24,
    NoTableFound = 25,
    NoMoreData = 64,
    SqlError = 65,
    // Anything the server refused after the connect: always above 100.
    ServerError = 101,
};

// The text of a status from 1 to 100 ("[0x0015]: Connection failed");
// statuses in that range without a text of their own give
// "[0x%04X]: Unknown Error". Empty outside 1..100.
QString StatusText(quint16 status);
inline QString StatusText(Status status) {
    return StatusText(static_cast<quint16>(status));
}

} // namespace Driver
