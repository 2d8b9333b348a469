#include "data/dataset/db_error.h"

#include "data/driver/driver_error.h"

void DatabaseError(const QString& message) { throw EDatabaseError(message); }

QString DriverStatusText(quint16 status) {
    switch (status) {
    case 1: return QStringLiteral("[0x0001]: Warning");
    case 2: return QStringLiteral("[0x0002]: Insufficient Memory for Operation");
    case 3: return QStringLiteral("[0x0003]: Invalid Field Type");
    case 4: return QStringLiteral("[0x0004]: Invalid Handle");
    case 5: return QStringLiteral("[0x0005]: Operation Not Supported");
    case 6: return QStringLiteral("[0x0006]: Invalid Time");
    case 7: return QStringLiteral("[0x0007]: Invalid Data Translation");
    case 8: return QStringLiteral("[0x0008]: Parameter/Column out of Range");
    case 9: return QStringLiteral("[0x0009]: Invalid Parameter");
    case 10: return QStringLiteral("[0x000A]: Result set at EOF");
    case 11: return QStringLiteral("SQLDriver Error [0x000B]: Parameter Not Set");
    case 12: return QStringLiteral("[0x000C] Invalid Username/Password");
    case 13: return QStringLiteral("[0x000D]: Invalid Precision");
    case 14: return QStringLiteral("[0x000E]: Invalid Length");
    case 15: return QStringLiteral("[0x000F]: Invalid Transaction Isolation Level");
    case 16: return QStringLiteral("[0x0010]: Invalid Transaction ID");
    case 17: return QStringLiteral("[0x0011]: Duplicate Transaction ID");
    case 19: return QStringLiteral("[0x0013]: Local Transaction already active");
    case 20: return QStringLiteral("[0x0014]: Multiple Transactions not Enabled");
    case 21: return QStringLiteral("[0x0015]: Connection failed");
    case 22: return QStringLiteral("[0x0016]: Driver initialization failed");
    case 23: return QStringLiteral("[0x0017]: Optimistic Locking failed");
    case 24: return QStringLiteral("[0x0018]: Invalid REF");
    case 25: return QStringLiteral("[0x0019]: No table found");
    // These two carry the hexadecimal digits of their decimal number, as the
    // original library wrote them.
    case 64: return QStringLiteral("[0x0064]: No more data");
    case 65: return QStringLiteral("[0x0065]: SQL Error");
    default: break;
    }
    if (status >= 1 && status <= 100)
        return QStringLiteral("[0x%1]: Unknown Error")
            .arg(QString::number(status, 16).toUpper().rightJustified(4, QLatin1Char('0')));
    return QString();
}

QString ComposeDatabaseError(quint16 status, const QString& serverText, const QString& previous) {
    QString message;
    if (status >= 1 && status <= 100)
        message = QStringLiteral("SQLDriver Error: ") + DriverStatusText(status);
    if (!serverText.isEmpty()) {
        if (!message.isEmpty())
            message += QStringLiteral("\r\n");
        message += QStringLiteral("SQL Server Error: ") + serverText;
    }
    if (message.isEmpty())
        message = !previous.isEmpty() ? previous
                                      : QStringLiteral("SQLDriver Error: Unknown Error Code '%1'").arg(status);
    return message;
}

void RaiseDriverError(quint16 status, const QString& serverText, QString& previous) {
    previous = ComposeDatabaseError(status, serverText, previous);
    throw EDatabaseError(previous, status);
}

void RaiseDriverError(const Driver::Error& error, QString& previous) {
    RaiseDriverError(error.StatusCode(), error.ServerText(), previous);
}
