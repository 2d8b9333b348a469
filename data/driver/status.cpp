#include "data/driver/status.h"

namespace Driver {

QString StatusText(quint16 status) {
    switch (static_cast<Status>(status)) {
    case Status::Warning:
        return QStringLiteral("[0x0001]: Warning");
    case Status::NoMemory:
        return QStringLiteral("[0x0002]: Insufficient Memory for Operation");
    case Status::InvalidFieldType:
        return QStringLiteral("[0x0003]: Invalid Field Type");
    case Status::InvalidHandle:
        return QStringLiteral("[0x0004]: Invalid Handle");
    case Status::NotSupported:
        return QStringLiteral("[0x0005]: Operation Not Supported");
    case Status::InvalidTime:
        return QStringLiteral("[0x0006]: Invalid Time");
    case Status::InvalidTranslation:
        return QStringLiteral("[0x0007]: Invalid Data Translation");
    case Status::OutOfRange:
        return QStringLiteral("[0x0008]: Parameter/Column out of Range");
    case Status::InvalidParameter:
        return QStringLiteral("[0x0009]: Invalid Parameter");
    case Status::ResultAtEof:
        return QStringLiteral("[0x000A]: Result set at EOF");
    case Status::ParameterNotSet:
        return QStringLiteral("SQLDriver Error [0x000B]: Parameter Not Set");
    case Status::InvalidUserPassword:
        return QStringLiteral("[0x000C] Invalid Username/Password");
    case Status::InvalidPrecision:
        return QStringLiteral("[0x000D]: Invalid Precision");
    case Status::InvalidLength:
        return QStringLiteral("[0x000E]: Invalid Length");
    case Status::InvalidIsolationLevel:
        return QStringLiteral("[0x000F]: Invalid Transaction Isolation Level");
    case Status::InvalidTransactionId:
        return QStringLiteral("[0x0010]: Invalid Transaction ID");
    case Status::DuplicateTransactionId:
        return QStringLiteral("[0x0011]: Duplicate Transaction ID");
    case Status::TransactionActive:
        return QStringLiteral("[0x0013]: Local Transaction already active");
    case Status::MultipleTransactionsDisabled:
        return QStringLiteral("[0x0014]: Multiple Transactions not Enabled");
    case Status::ConnectFailed:
        return QStringLiteral("[0x0015]: Connection failed");
    case Status::InitFailed:
        return QStringLiteral("[0x0016]: Driver initialization failed");
    case Status::OptimisticLockFailed:
        return QStringLiteral("[0x0017]: Optimistic Locking failed");
    case Status::InvalidReference:
        return QStringLiteral("[0x0018]: Invalid REF");
    case Status::NoTableFound:
        return QStringLiteral("[0x0019]: No table found");
    // These two carry the hexadecimal digits of their decimal number, as the
    // original library wrote them.
    case Status::NoMoreData:
        return QStringLiteral("[0x0064]: No more data");
    case Status::SqlError:
        return QStringLiteral("[0x0065]: SQL Error");
    case Status::Ok:
    case Status::ServerError:
        break;
    }
    if (status >= 1 && status <= 100)
        return QStringLiteral("[0x%1]: Unknown Error")
            .arg(QString::number(status, 16).toUpper().rightJustified(4, QLatin1Char('0')));
    return QString();
}

} // namespace Driver
