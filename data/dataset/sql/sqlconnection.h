#pragma once
// TSQLConnection: one database connection of the data module, with its
// parameter list ("Name=Value" lines), its state, its transactions and the
// queries that run on it. Carries statements to the Firebird driver
// (data/driver).

#include "data/dataset/params.h"
#include "data/driver/driver_error.h"
#include "platform/core/component.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace Driver {
class Connection;
class Statement;
} // namespace Driver

class TSQLQuery;

// The parameter list of a connection: "Name=Value" lines, read and written by
// name without regard to case (Params.Values[...]).
class TConnectionParams {
public:
    TConnectionParams() = default;
    TConnectionParams(const QStringList& lines) : lines_(lines) {}
    const QStringList& Lines() const { return lines_; }
    operator const QStringList&() const { return lines_; }
    int Count() const { return static_cast<int>(lines_.size()); }

    // Index of the line whose name matches (without case); -1 when none.
    int IndexOfName(QStringView name) const;
    // The value after the first '='; empty when absent.
    QString Value(QStringView name) const;
    // Replaces the matching line in place (as "name=value", with the name as
    // written here) or appends one.
    void SetValue(const QString& name, const QString& value);
    // True when the value, trimmed and in capitals, is "TRUE".
    bool Bool(QStringView name) const;
    // The same for names written as plain string literals.
    int IndexOfName(const QString& name) const { return IndexOfName(QStringView(name)); }
    QString Value(const QString& name) const { return Value(QStringView(name)); }
    bool Bool(const QString& name) const { return Bool(QStringView(name)); }

private:
    QStringList lines_;
};

enum TConnectionState {
    csStateClosed,
    csStateOpen,
    csStateConnecting,
    csStateExecuting,
    csStateDisconnecting
};

enum TTransIsolationLevel { xilREADCOMMITTED, xilREPEATABLEREAD, xilDIRTYREAD };

struct TTransactionDesc {
    quint32 TransactionID = 1;
    quint32 GlobalID = 0;
    TTransIsolationLevel IsolationLevel = xilREADCOMMITTED;
};

class TSQLConnection : public TComponent {
public:
    explicit TSQLConnection(TComponent* owner = nullptr);
    ~TSQLConnection() override;
    QString ClassName() const override { return QStringLiteral("TSQLConnection"); }

    // The names of the driver set-up the program was configured with, kept as given. Empty
    // LibraryName / GetDriverFunc / VendorLib mean the built-in driver's
    // own ("sqldrvfb.dll", "getSQLDriverFB", "FBCLIENT.DLL"). The driver is
    // built in, so LibraryName must name it (any other: "Unable to Load %s")
    // and GetDriverFunc its entry (any other: "Unable to Find Procedure %s").
    // VendorLib names the Firebird client: on Windows the DLL that is loaded;
    // on Linux the client is always libfbclient.so.2, whatever VendorLib
    // says (see Driver::ClientLibraryFor).
    const QString& ConnectionName() const { return connectionName_; }
    void SetConnectionName(const QString& v) { connectionName_ = v; }
    const QString& DriverName() const { return driverName_; }
    void SetDriverName(const QString& v) { driverName_ = v; }
    const QString& GetDriverFunc() const { return getDriverFunc_; }
    void SetGetDriverFunc(const QString& v) { getDriverFunc_ = v; }
    const QString& LibraryName() const { return libraryName_; }
    void SetLibraryName(const QString& v) { libraryName_ = v; }
    const QString& VendorLib() const { return vendorLib_; }
    void SetVendorLib(const QString& v) { vendorLib_ = v; }
    // Kept only: this layer has no login dialog; user and password always
    // come from the parameter list.
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool v) { loginPrompt_ = v; }
    // False: the connection closes when its last open query closes.
    bool KeepConnection() const { return keepConnection_; }
    void SetKeepConnection(bool v) { keepConnection_ = v; }
    // Kept only: there is no driver configuration file; the parameter list
    // is always used as it is.
    bool LoadParamsOnConnect() const { return loadParamsOnConnect_; }
    void SetLoadParamsOnConnect(bool v) { loadParamsOnConnect_ = v; }

    // The parameter list, one "Name=Value" line per parameter. Read at every
    // open; changing it does not touch an open connection.
    TConnectionParams& Params() { return params_; }
    const TConnectionParams& Params() const { return params_; }
    void SetParams(const QStringList& lines) { params_ = TConnectionParams(lines); }
    // Shorthands for Params().IndexOfName / Value / SetValue / Bool.
    int ParamIndex(QStringView name) const { return params_.IndexOfName(name); }
    QString ParamValue(QStringView name) const { return params_.Value(name); }
    void SetParamValue(const QString& name, const QString& value) { params_.SetValue(name, value); }
    bool ParamBool(QStringView name) const { return params_.Bool(name); }
    // "<DriverName> TransIsolation", lower-cased: "repeatableread",
    // "dirtyread", anything else (such as "ReadCommited") read committed.
    TTransIsolationLevel TransIsolation() const;
    // "LocaleCode" read as a hexadecimal number (0 when absent or not a number).
    int LocaleCode() const;

    bool Connected() const { return state_ == csStateOpen || state_ == csStateExecuting; }
    // Opens or closes. Opening is synchronous: it ends open, or closed with
    // the error raised.
    void SetConnected(bool value);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }
    TConnectionState ConnectionState() const { return state_; }

    // For the change resolution: the quote character of names ('"' in
    // dialect 3), and the one transaction of the connection.
    QString QuoteChar() const;
    bool TransactionsSupported() const { return true; }
    bool InTransaction() const;
    // Opens the connection on demand; "A transaction is already active".
    void StartTransaction(const TTransactionDesc& desc);
    // "Cannot perform this operation on a closed connection",
    // "There is no active transaction".
    void Commit(const TTransactionDesc& desc);
    void Rollback(const TTransactionDesc& desc);

    // Runs a fresh statement with "?" markers bound by position from
    // `params` (may be null), opening the connection on demand; returns the
    // affected-row count, or -1 without `countRows` (the server is not asked:
    // a wait less). Rows of a statement that has them are dropped.
    int Execute(const QString& sql, const TParams* params, bool countRows = true);
    int ExecuteDirect(const QString& sql) { return Execute(sql, nullptr); }

    // The message of the last failed driver operation of the connection.
    const QString& LastError() const { return lastError_; }

    // Nested: from the first Begin to the last End, the statements the
    // queries and applies run stay prepared, by their text, for the next run
    // of the same text (Driver::Connection::SetStatementReuse), the queries'
    // selects share one read-only transaction
    // (Driver::Connection::SetReadOnlyReads), and the applies and statements
    // without rows take one transaction's context in turn, each ending in a
    // commit or rollback that retains it
    // (Driver::Connection::SetTransactionReuse), and the stored blobs of the
    // rows read are read only when their fields are
    // (Driver::Connection::SetDeferredBlobReads; the ones still waiting at
    // the end are read then). For a piece of work that runs the same few
    // statements many times and whose selects only read; use TRepeatedWork.
    void BeginRepeatedWork();
    void EndRepeatedWork();

    // The queries that use this connection, and the open ones among them.
    int DataSetCount() const { return static_cast<int>(queries_.size()); }
    TSQLQuery* DataSets(int index) const { return queries_.at(static_cast<size_t>(index)); }
    void CloseDataSets();

    // For TSQLQuery: the driver connection, raising when closed.
    Driver::Connection& DriverConnection();
    // Runs `f` in the executing state and turns driver failures into the
    // composed EDatabaseError, stored in `previous` (the caller's previous
    // error text).
    template <typename F> auto Executing(QString& previous, F f) -> decltype(f());

    // The form reader sets Connected through this; it takes effect in Loaded().
    void SetStreamedConnected(bool value) { streamedConnected_ = value; }
    void Loaded() override;

private:
    friend class TSQLQuery;
    void DoConnect();
    void DoDisconnect();
    void RegisterQuery(TSQLQuery* query);
    void UnregisterQuery(TSQLQuery* query);
    void QueryClosed();
    [[noreturn]] void Fail(const Driver::Error& e, QString& previous);

    QString connectionName_;
    QString driverName_;
    QString getDriverFunc_;
    QString libraryName_;
    QString vendorLib_;
    bool loginPrompt_ = true;
    bool keepConnection_ = true;
    bool loadParamsOnConnect_ = false;
    bool streamedConnected_ = false;
    TConnectionParams params_;
    TConnectionState state_ = csStateClosed;
    QString lastError_;
    std::unique_ptr<Driver::Connection> driver_;
    std::vector<TSQLQuery*> queries_;
    int repeatedWork_ = 0;
};

// A piece of work on a connection that runs the same few statements many
// times and whose selects only read: while it lives, statements stay
// prepared, selects run read-only, the writes take one kept transaction
// context in turn and blobs are read when their fields are
// (TSQLConnection::BeginRepeatedWork).
class TRepeatedWork {
public:
    explicit TRepeatedWork(TSQLConnection& connection) : connection_(connection) {
        connection_.BeginRepeatedWork();
    }
    ~TRepeatedWork() { connection_.EndRepeatedWork(); }
    TRepeatedWork(const TRepeatedWork&) = delete;
    TRepeatedWork& operator=(const TRepeatedWork&) = delete;

private:
    TSQLConnection& connection_;
};

// Binds a parameter to marker `index` (0-based) of a driver statement by its
// data type and value (text goes as text; the server converts it).
void BindParam(Driver::Statement& statement, int index, const TParam& param);

template <typename F> auto TSQLConnection::Executing(QString& previous, F f) -> decltype(f()) {
    struct Restore {
        TSQLConnection* c;
        TConnectionState was;
        ~Restore() {
            if (c->state_ == csStateExecuting)
                c->state_ = was;
        }
    } restore{this, state_};
    state_ = csStateExecuting;
    try {
        return f();
    } catch (const Driver::Error& e) {
        Fail(e, previous);
    }
}
