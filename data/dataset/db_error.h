#pragma once
// The database error (EDatabaseError): every failing operation of the
// datasets, connections and queries raises it with its message.

#include "platform/core/exception.h"

#include <QString>

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
