#pragma once
// The message of a failed driver operation, composed from the driver's
// status and the server's text, and raised as EDatabaseError.

#include "data/dataset/db_error.h"

namespace Driver {
class Error;
}

// The message of a failed driver operation:
//   "SQLDriver Error: " + Driver::StatusText(S)   when 1 <= S <= 100,
//   "SQL Server Error: " + serverText             when there is a server text,
// joined by CR LF when both are present; with neither, `previous` (the
// previous error text of the connection or query) and, when that is empty,
// "SQLDriver Error: Unknown Error Code '<S>'".
QString ComposeDatabaseError(quint16 status, const QString& serverText, const QString& previous);

// Composes the message of a driver failure, stores it as the previous error
// text and raises it as EDatabaseError.
[[noreturn]] void RaiseDriverError(quint16 status, const QString& serverText, QString& previous);
[[noreturn]] void RaiseDriverError(const Driver::Error& error, QString& previous);
