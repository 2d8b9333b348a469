#pragma once
// The database error (EDatabaseError) and the composition of its message
// from a driver status and the server's text.

#include "platform/core/exception.h"

#include <QString>

namespace Driver {
class Error;
}

class EDatabaseError : public Exception {
public:
    explicit EDatabaseError(QString message, quint16 status = 0)
        : Exception(std::move(message)), status_(status) {}
    // The driver status the message was composed from; 0 for the
    // component library's own messages ("Missing Database property", ...).
    quint16 ErrorCode() const { return status_; }

private:
    quint16 status_;
};

// Raises EDatabaseError with a message of the library's own.
[[noreturn]] void DatabaseError(const QString& message);

// The text of a status from 1 to 100 ("[0x0015]: Connection failed");
// statuses in that range without a text of their own give
// "[0x%04X]: Unknown Error". Empty outside 1..100.
QString DriverStatusText(quint16 status);

// The message of a failed driver operation:
//   "SQLDriver Error: " + DriverStatusText(S)   when 1 <= S <= 100,
//   "SQL Server Error: " + serverText           when there is a server text,
// joined by CR LF when both are present; with neither, `previous` (the
// previous error text of the connection or query) and, when that is empty,
// "SQLDriver Error: Unknown Error Code '<S>'".
QString ComposeDatabaseError(quint16 status, const QString& serverText, const QString& previous);

// Composes the message of a driver failure, stores it as the previous error
// text and raises it as EDatabaseError.
[[noreturn]] void RaiseDriverError(quint16 status, const QString& serverText, QString& previous);
[[noreturn]] void RaiseDriverError(const Driver::Error& error, QString& previous);
