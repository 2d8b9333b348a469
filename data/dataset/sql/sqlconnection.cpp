#include "data/dataset/sql/sqlconnection.h"

#include "data/dataset/sql/sql_error.h"
#include "data/dataset/sql/sqlquery.h"
#include "data/driver/client_library.h"
#include "data/driver/connection.h"
#include "data/driver/cursor.h"
#include "data/driver/statement.h"

#include <QDateTime>
#include <algorithm>
#include <climits>

namespace {

const QString kDefaultLibrary = QStringLiteral("sqldrvfb.dll");
const QString kDefaultEntry = QStringLiteral("getSQLDriverFB");

Driver::Isolation DriverIsolation(TTransIsolationLevel level) {
    switch (level) {
    case xilREPEATABLEREAD:
        return Driver::Isolation::RepeatableRead;
    case xilDIRTYREAD:
        return Driver::Isolation::DirtyRead;
    case xilREADCOMMITTED:
        break;
    }
    return Driver::Isolation::ReadCommitted;
}

QDateTime WallClock(TDateTime v) {
    return QDateTime(v.ToQDate(), v.ToQTime(), Qt::UTC);
}

} // namespace

// ---- binding -----------------------------------------------------------------

void BindParam(Driver::Statement& s, int index, const TParam& p) {
    using Driver::DataType;
    const TValue& v = p.Value();
    const TFieldType t = p.DataType();
    if (v.IsNull()) {
        DataType dt = DataType::Unknown;
        switch (t) {
        case ftString:
        case ftWideString:
        case ftBytes:
        case ftVarBytes:
            dt = DataType::Varchar;
            break;
        case ftFixedChar:
            dt = DataType::Char;
            break;
        case ftSmallint:
            dt = DataType::SmallInt;
            break;
        case ftInteger:
        case ftWord:
        case ftAutoInc:
            dt = DataType::Integer;
            break;
        case ftLargeint:
            dt = DataType::BigInt;
            break;
        case ftBCD:
        case ftFMTBcd:
        case ftCurrency:
            dt = DataType::Decimal;
            break;
        case ftFloat:
            dt = DataType::Double;
            break;
        case ftDate:
            dt = DataType::Date;
            break;
        case ftTime:
            dt = DataType::Time;
            break;
        case ftDateTime:
        case ftTimeStamp:
            dt = DataType::Timestamp;
            break;
        case ftBoolean:
            dt = DataType::Boolean;
            break;
        default:
            dt = IsBlobType(t) ? DataType::Blob : DataType::Unknown;
            break;
        }
        s.SetNull(index, dt);
        return;
    }
    if (IsBlobType(t)) {
        s.SetBlob(index, v.AsBytes());
        return;
    }
    if (t == ftBytes || t == ftVarBytes) {
        s.SetBytes(index, v.AsBytes());
        return;
    }
    // Text of any declared type goes as text, and the server converts it.
    if (v.GetKind() == TValue::Kind::String || IsStringType(t)) {
        s.SetText(index, v.AsString(), t == ftFixedChar ? DataType::Char : DataType::Varchar);
        return;
    }
    auto fitsIn = [](qint64 x, qint64 lo, qint64 hi) { return x >= lo && x <= hi; };
    switch (t) {
    case ftSmallint: {
        const qint64 x = v.AsInteger();
        fitsIn(x, SHRT_MIN, SHRT_MAX) ? s.SetInt16(index, static_cast<qint16>(x))
                                      : s.SetInt64(index, x);
        return;
    }
    case ftInteger:
    case ftWord:
    case ftAutoInc: {
        const qint64 x = v.AsInteger();
        fitsIn(x, INT_MIN, INT_MAX) ? s.SetInt32(index, static_cast<qint32>(x))
                                    : s.SetInt64(index, x);
        return;
    }
    case ftLargeint:
        s.SetInt64(index, v.AsInteger());
        return;
    case ftBCD:
    case ftFMTBcd:
    case ftCurrency: {
        const TBcd b = v.AsBcd();
        s.SetDecimal(index, b.scaled, b.scale);
        return;
    }
    case ftFloat:
        s.SetDouble(index, v.AsFloat());
        return;
    case ftDate:
        s.SetDate(index, v.AsDateTime().ToQDate());
        return;
    case ftTime:
        s.SetTime(index, v.AsDateTime().ToQTime());
        return;
    case ftDateTime:
    case ftTimeStamp:
        s.SetTimestamp(index, WallClock(v.AsDateTime()));
        return;
    case ftBoolean:
        s.SetBoolean(index, v.AsBoolean());
        return;
    default:
        break;
    }
    // No usable declared type: the value's own kind decides.
    switch (v.GetKind()) {
    case TValue::Kind::Integer:
        s.SetInt64(index, v.AsInteger());
        return;
    case TValue::Kind::Float:
        s.SetDouble(index, v.AsFloat());
        return;
    case TValue::Kind::Bcd: {
        const TBcd b = v.AsBcd();
        s.SetDecimal(index, b.scaled, b.scale);
        return;
    }
    case TValue::Kind::Boolean:
        s.SetBoolean(index, v.AsBoolean());
        return;
    case TValue::Kind::DateTime:
        s.SetTimestamp(index, WallClock(v.AsDateTime()));
        return;
    case TValue::Kind::Bytes:
        s.SetBlob(index, v.AsBytes());
        return;
    default:
        s.SetText(index, v.AsString());
        return;
    }
}

// ---- TSQLConnection ------------------------------------------------------------

TSQLConnection::TSQLConnection(TComponent* owner)
    : TComponent(owner), driver_(std::make_unique<Driver::Connection>()) {}

TSQLConnection::~TSQLConnection() {
    try {
        DoDisconnect();
    } catch (...) {
    }
    for (TSQLQuery* q : queries_)
        q->connection_ = nullptr;
    queries_.clear();
}

int TConnectionParams::IndexOfName(QStringView name) const {
    for (int i = 0; i < lines_.size(); ++i) {
        const QString& line = lines_[i];
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QStringView lineName = eq < 0 ? QStringView(line) : QStringView(line).left(eq);
        if (lineName.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TConnectionParams::Value(QStringView name) const {
    const int i = IndexOfName(name);
    if (i < 0)
        return QString();
    const QString& line = lines_[i];
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.mid(eq + 1);
}

void TConnectionParams::SetValue(const QString& name, const QString& value) {
    const QString line = name + QLatin1Char('=') + value;
    const int i = IndexOfName(name);
    if (i < 0)
        lines_.append(line);
    else
        lines_[i] = line;
}

bool TConnectionParams::Bool(QStringView name) const {
    return Value(name).trimmed().toUpper() == QLatin1String("TRUE");
}

TTransIsolationLevel TSQLConnection::TransIsolation() const {
    const QString v =
        ParamValue(QString(driverName_ + QStringLiteral(" TransIsolation"))).toLower();
    if (v == QLatin1String("repeatableread"))
        return xilREPEATABLEREAD;
    if (v == QLatin1String("dirtyread"))
        return xilDIRTYREAD;
    return xilREADCOMMITTED;
}

int TSQLConnection::LocaleCode() const {
    bool ok = false;
    const int v = ParamValue(u"LocaleCode").trimmed().toInt(&ok, 16);
    return ok ? v : 0;
}

void TSQLConnection::SetConnected(bool value) {
    if (value)
        DoConnect();
    else
        DoDisconnect();
}

void TSQLConnection::DoConnect() {
    if (state_ != csStateClosed)
        return;
    state_ = csStateConnecting;
    try {
        if (!connectionName_.isEmpty() && ParamValue(u"Database").trimmed().isEmpty())
            DatabaseError(QStringLiteral("Missing Database property"));
        // The program's driver library is built in: only its own name
        // and entry lead to it.
        const QString library =
            libraryName_.trimmed().isEmpty() ? kDefaultLibrary : libraryName_.trimmed();
        if (library.compare(kDefaultLibrary, Qt::CaseInsensitive) != 0)
            DatabaseError(QStringLiteral("Unable to Load %1").arg(library));
        const QString entry =
            getDriverFunc_.trimmed().isEmpty() ? kDefaultEntry : getDriverFunc_.trimmed();
        if (entry != kDefaultEntry)
            DatabaseError(QStringLiteral("Unable to Find Procedure %1").arg(entry));

        Driver::ConnectOptions o;
        o.clientLibrary = Driver::ClientLibraryFor(vendorLib_);
        o.database = ParamValue(u"Database").trimmed();
        o.user = ParamValue(u"User_Name");
        o.password = ParamValue(u"Password");
        o.roleName = ParamValue(u"RoleName").trimmed();
        o.serverCharSet = ParamValue(u"ServerCharSet").trimmed();
        // Only the parameters present change the driver's defaults.
        bool ok = false;
        const int dialect = ParamValue(u"SQLDialect").trimmed().toInt(&ok);
        if (ok)
            o.sqlDialect = dialect;
        o.isolation = DriverIsolation(TransIsolation());
        if (ParamIndex(u"WaitOnLocks") >= 0)
            o.waitOnLocks = ParamBool(u"WaitOnLocks");
        if (ParamIndex(u"CommitRetain") >= 0)
            o.commitRetain = ParamBool(u"CommitRetain");
        try {
            driver_->Attach(o);
        } catch (const Driver::LoadError& e) {
            DatabaseError(e.Message());
        } catch (const Driver::Error& e) {
            RaiseDriverError(e, lastError_);
        }
        state_ = csStateOpen;
    } catch (...) {
        state_ = csStateClosed;
        throw;
    }
}

void TSQLConnection::DoDisconnect() {
    if (state_ == csStateClosed || state_ == csStateDisconnecting)
        return;
    state_ = csStateDisconnecting;
    try {
        CloseDataSets();
    } catch (...) {
        driver_->Detach();
        state_ = csStateClosed;
        throw;
    }
    driver_->Detach(); // rolls back a transaction still active
    state_ = csStateClosed;
}

void TSQLConnection::BeginRepeatedWork() {
    if (repeatedWork_++ > 0)
        return;
    driver_->SetStatementReuse(true);
    driver_->SetReadOnlyReads(true);
    driver_->SetTransactionReuse(true);
    driver_->SetDeferredBlobReads(true);
}

void TSQLConnection::EndRepeatedWork() {
    if (repeatedWork_ == 0 || --repeatedWork_ > 0)
        return;
    // The blobs still waiting are read while the contexts that keep them last.
    driver_->SetDeferredBlobReads(false);
    driver_->SetStatementReuse(false);
    driver_->SetReadOnlyReads(false);
    driver_->SetTransactionReuse(false);
}

void TSQLConnection::CloseDataSets() {
    const std::vector<TSQLQuery*> queries = queries_;
    for (TSQLQuery* q : queries)
        q->DoClose();
}

void TSQLConnection::Loaded() {
    TComponent::Loaded();
    if (streamedConnected_) {
        streamedConnected_ = false;
        Open();
    }
}

Driver::Connection& TSQLConnection::DriverConnection() {
    if (!Connected())
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed connection"));
    return *driver_;
}

void TSQLConnection::Fail(const Driver::Error& e, QString& previous) {
    RaiseDriverError(e, previous);
}

QString TSQLConnection::QuoteChar() const {
    if (!Connected())
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed connection"));
    return driver_->QuoteChar();
}

bool TSQLConnection::InTransaction() const {
    return Connected() && driver_->InTransaction();
}

void TSQLConnection::StartTransaction(const TTransactionDesc& desc) {
    Open();
    if (driver_->InTransaction())
        DatabaseError(QStringLiteral("A transaction is already active"));
    Executing(lastError_, [&] { driver_->StartTransaction(DriverIsolation(desc.IsolationLevel)); });
}

void TSQLConnection::Commit(const TTransactionDesc&) {
    if (!Connected())
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed connection"));
    if (!driver_->InTransaction())
        DatabaseError(QStringLiteral("There is no active transaction"));
    Executing(lastError_, [&] { driver_->Commit(); });
}

void TSQLConnection::Rollback(const TTransactionDesc&) {
    if (!Connected())
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed connection"));
    if (!driver_->InTransaction())
        DatabaseError(QStringLiteral("There is no active transaction"));
    Executing(lastError_, [&] { driver_->Rollback(); });
}

int TSQLConnection::Execute(const QString& sql, const TParams* params, bool countRows) {
    Open();
    return Executing(lastError_, [&] {
        std::unique_ptr<Driver::Statement> stmt = driver_->Prepare(sql);
        const int count = params ? qMin(params->Count(), stmt->ParamCount()) : 0;
        for (int i = 0; i < count; ++i)
            BindParam(*stmt, i, params->Items(i));
        std::unique_ptr<Driver::Cursor> cursor = stmt->Execute(countRows);
        cursor.reset();
        if (!countRows)
            return -1;
        return static_cast<int>(qMax<qint64>(stmt->RowsAffected(), 0));
    });
}

void TSQLConnection::RegisterQuery(TSQLQuery* query) {
    if (std::find(queries_.begin(), queries_.end(), query) == queries_.end())
        queries_.push_back(query);
}

void TSQLConnection::UnregisterQuery(TSQLQuery* query) {
    std::erase(queries_, query);
}

void TSQLConnection::QueryClosed() {
    if (keepConnection_ || state_ != csStateOpen || driver_->InTransaction())
        return;
    for (TSQLQuery* q : queries_)
        if (q->Active())
            return;
    DoDisconnect();
}
