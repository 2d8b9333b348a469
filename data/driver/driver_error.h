#pragma once
// Failures of the driver. Every failing operation gives a 16-bit status
// (0 is success) and, when the server refused it, the server's text; the
// dataset layer composes the user's message from both (EDatabaseError).

#include "platform/core/exception.h"

#include <QString>

namespace Driver {

// The statuses this driver produces; their texts are the dataset layer's.
namespace Status {
constexpr quint16 Ok = 0;
constexpr quint16 InvalidFieldType = 3;
constexpr quint16 InvalidHandle = 4;
constexpr quint16 NotSupported = 5;
constexpr quint16 InvalidTime = 6;
constexpr quint16 InvalidTranslation = 7;
constexpr quint16 OutOfRange = 8;
constexpr quint16 InvalidParameter = 9;
constexpr quint16 ResultAtEof = 10;
constexpr quint16 TransactionActive = 19;
constexpr quint16 ConnectFailed = 21;
// Anything the server refused after the connect: always above 100.
constexpr quint16 ServerError = 101;
} // namespace Status

class Error : public Exception {
public:
    Error(quint16 status, QString serverText)
        : Exception(serverText.isEmpty() ? QStringLiteral("Driver status %1").arg(status) : serverText),
          status_(status), serverText_(std::move(serverText)) {}
    quint16 StatusCode() const { return status_; }
    // Lines of the server's status vector joined with CR LF; empty when the
    // driver itself refused the operation.
    const QString& ServerText() const { return serverText_; }

private:
    quint16 status_;
    QString serverText_;
};

// The client library or its entry point is missing: the message is the
// complete text ("Unable to Load %s", "Unable to Find Procedure %s").
class LoadError : public Exception {
public:
    using Exception::Exception;
};

} // namespace Driver
