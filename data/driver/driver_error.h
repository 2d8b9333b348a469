#pragma once
// Failures of the driver. Every failing operation gives a status (status.h)
// and, when the server refused it, the server's text; the dataset layer
// composes the user's message from both (EDatabaseError).

#include "data/driver/status.h"
#include "platform/core/exception.h"

#include <QString>

namespace Driver {

class Error : public Exception {
public:
    Error(Status status, QString serverText)
        : Exception(serverText.isEmpty()
                        ? QStringLiteral("Driver status %1").arg(static_cast<quint16>(status))
                        : serverText),
          status_(status), serverText_(std::move(serverText)) {}
    Status StatusCode() const { return status_; }
    // Lines of the server's status vector joined with CR LF; empty when the
    // driver itself refused the operation.
    const QString& ServerText() const { return serverText_; }

private:
    Status status_;
    QString serverText_;
};

// The client library or its entry point is missing: the message is the
// complete text ("Unable to Load %s", "Unable to Find Procedure %s").
class LoadError : public Exception {
public:
    using Exception::Exception;
};

} // namespace Driver
