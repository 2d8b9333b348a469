#include "data/dataset/sql/sql_error.h"

#include "data/driver/driver_error.h"

QString ComposeDatabaseError(quint16 status, const QString& serverText, const QString& previous) {
    QString message;
    if (status >= 1 && status <= 100)
        message = QStringLiteral("SQLDriver Error: ") + Driver::StatusText(status);
    if (!serverText.isEmpty()) {
        if (!message.isEmpty())
            message += QStringLiteral("\r\n");
        message += QStringLiteral("SQL Server Error: ") + serverText;
    }
    if (message.isEmpty())
        message = !previous.isEmpty()
                      ? previous
                      : QStringLiteral("SQLDriver Error: Unknown Error Code '%1'").arg(status);
    return message;
}

void RaiseDriverError(quint16 status, const QString& serverText, QString& previous) {
    previous = ComposeDatabaseError(status, serverText, previous);
    throw EDatabaseError(previous, status);
}

void RaiseDriverError(const Driver::Error& error, QString& previous) {
    RaiseDriverError(static_cast<quint16>(error.StatusCode()), error.ServerText(), previous);
}
