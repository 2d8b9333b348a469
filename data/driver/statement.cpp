#include "data/driver/statement.h"

#include "data/driver/cursor.h"
#include "data/driver/input_message.h"

using namespace Firebird;

namespace Driver {

namespace {

bool IsSelect(unsigned type) {
    return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

// The transaction one execution runs in: the explicit one, else one of the
// statement's own. An own transaction that nobody took over is rolled back
// when this goes (the execution failed).
class ExecutionTransaction {
public:
    ExecutionTransaction(ConnectionImpl& c, bool rows, bool select) : c_(c), tra_(c.transaction) {
        if (tra_ || (select && (tra_ = c.SharedReadTransaction())))
            return;
        if (!rows && c.Keeps(c.options.isolation)) {
            tra_ = c.TakeKept(c.options.isolation);
            own_ = kept_ = true;
            return;
        }
        // Commit retain keeps one context for the statements without rows.
        const bool readOnly = select && c.readOnlyReads && !c.options.commitRetain;
        tra_ = !rows && c.options.commitRetain && c.retained
                   ? c.retained
                   : c.Start(c.options.isolation, readOnly);
        own_ = true;
    }
    ~ExecutionTransaction() {
        if (!own_ || !tra_)
            return;
        if (kept_) {
            try {
                c_.EndKept(tra_, false);
            } catch (...) {
                // Rolled back or released: nothing of it stays.
            }
            return;
        }
        if (tra_ == c_.retained)
            c_.retained = nullptr;
        c_.Release(tra_, false);
    }
    ExecutionTransaction(const ExecutionTransaction&) = delete;
    ExecutionTransaction& operator=(const ExecutionTransaction&) = delete;

    ITransaction* get() const { return tra_; }
    // Hands the transaction to a cursor, which ends an own one with its rows.
    void HandTo(CursorImpl& cursor) {
        cursor.transaction = tra_;
        cursor.ownsTransaction = own_;
        tra_ = nullptr;
    }
    // The statement completed: an own transaction is committed.
    void Complete() {
        ITransaction* tra = tra_;
        tra_ = nullptr;
        if (kept_)
            c_.EndKept(tra, true);
        else if (own_)
            c_.EndOwn(tra, true);
    }

private:
    ConnectionImpl& c_;
    ITransaction* tra_;
    bool own_ = false;
    bool kept_ = false; // a context kept for the next unit of work
};

std::unique_ptr<CursorImpl> NewCursor(StatementImpl& s) {
    auto impl = std::make_unique<CursorImpl>();
    impl->conn = s.conn;
    impl->stmt = &s;
    DescribeColumns(s.conn, s.outMeta, *impl);
    return impl;
}

} // namespace

// ---- StatementImpl -----------------------------------------------------------

void StatementImpl::CheckValid() const {
    if (!conn || !statement)
        throw Error(Status::InvalidHandle, QString());
}

Param& StatementImpl::At(int index) {
    CheckValid();
    if (index < 0 || index >= static_cast<int>(params.size()))
        throw Error(Status::OutOfRange, QString());
    Param& p = params[static_cast<size_t>(index)];
    p = Param();
    p.bound = true;
    p.null = false;
    return p;
}

void StatementImpl::Release() noexcept {
    if (cursor)
        cursor->Close(true);
    if (conn) {
        PreparedStatement p{std::move(text), statement, inMeta, outMeta, type};
        if (p.statement && conn->attachment && conn->reuse)
            conn->idle.Put(std::move(p), conn->master);
        else
            p.Free(conn->master);
        conn->statements.erase(this);
    }
    statement = nullptr;
    inMeta = outMeta = nullptr;
    conn = nullptr;
}

// ---- Statement -----------------------------------------------------------------

Statement::Statement(std::unique_ptr<StatementImpl> impl) : impl_(std::move(impl)) {}

Statement::~Statement() {
    impl_->Release();
}

int Statement::ParamCount() const {
    return static_cast<int>(impl_->params.size());
}

void Statement::SetNull(int index, DataType type) {
    Param& p = impl_->At(index);
    p.type = type;
    p.null = true;
}

void Statement::SetText(int index, QStringView text, DataType type) {
    Param& p = impl_->At(index);
    p.type = type == DataType::Char ? DataType::Char : DataType::Varchar;
    if (text.size() > 32765) // a longer text needs a blob place
        throw Error(Status::OutOfRange, QString());
    p.text = text.toString();
}

void Statement::SetInt16(int index, qint16 value) {
    Param& p = impl_->At(index);
    p.type = DataType::SmallInt;
    p.integer = value;
}

void Statement::SetInt32(int index, qint32 value) {
    Param& p = impl_->At(index);
    p.type = DataType::Integer;
    p.integer = value;
}

void Statement::SetInt64(int index, qint64 value) {
    Param& p = impl_->At(index);
    p.type = DataType::BigInt;
    p.integer = value;
}

void Statement::SetDecimal(int index, qint64 scaled, int scale) {
    if (scale < 0 || scale > 18)
        throw Error(Status::InvalidParameter, QString());
    Param& p = impl_->At(index);
    p.type = DataType::Decimal;
    p.integer = scaled;
    p.scale = scale;
}

void Statement::SetDouble(int index, double value) {
    Param& p = impl_->At(index);
    p.type = DataType::Double;
    p.real = value;
}

void Statement::SetDate(int index, QDate value) {
    if (!value.isValid())
        throw Error(Status::InvalidTime, QString());
    Param& p = impl_->At(index);
    p.type = DataType::Date;
    p.date = value;
}

void Statement::SetTime(int index, QTime value) {
    if (!value.isValid())
        throw Error(Status::InvalidTime, QString());
    Param& p = impl_->At(index);
    p.type = DataType::Time;
    p.time = value;
}

void Statement::SetTimestamp(int index, const QDateTime& value) {
    if (!value.isValid())
        throw Error(Status::InvalidTime, QString());
    Param& p = impl_->At(index);
    p.type = DataType::Timestamp;
    p.date = value.date();
    p.time = value.time();
}

void Statement::SetBlob(int index, const QByteArray& value) {
    Param& p = impl_->At(index);
    p.type = DataType::Blob;
    p.bytes = value;
}

void Statement::SetBytes(int index, const QByteArray& value) {
    Param& p = impl_->At(index);
    p.type = DataType::Varchar;
    p.octets = true;
    p.bytes = value;
}

void Statement::SetBoolean(int index, bool value) {
    Param& p = impl_->At(index);
    p.type = DataType::Boolean;
    p.integer = value ? 1 : 0;
}

void Statement::ClearParams() {
    for (Param& p : impl_->params)
        p = Param();
}

bool Statement::ReturnsRows() const {
    impl_->CheckValid();
    if (IsSelect(impl_->type))
        return true;
    FbStatus st(impl_->conn->master);
    return impl_->outMeta && impl_->outMeta->getCount(&st) > 0;
}

qint64 Statement::RowsAffected() const {
    return impl_->rowsAffected;
}

std::unique_ptr<Cursor> Statement::Execute(bool countRows) {
    StatementImpl& s = *impl_;
    s.CheckValid();
    ConnectionImpl& c = *s.conn;
    c.CheckAttached();
    if (s.cursor)
        s.cursor->Close(true);
    s.rowsAffected = -1;
    const bool rows = ReturnsRows();

    InputMessage input(s);
    ExecutionTransaction tra(c, rows, IsSelect(s.type));
    input.Encode(tra.get());
    FbStatus st(c.master);

    if (IsSelect(s.type)) {
        // Described first: nothing is open yet should that fail.
        std::unique_ptr<CursorImpl> cursor = NewCursor(s);
        cursor->resultSet =
            s.statement->openCursor(&st, tra.get(), input.Metadata(), input.Data(), s.outMeta, 0);
        st.Check(Status::ServerError, c.util);
        tra.HandTo(*cursor);
        s.cursor = cursor.get();
        return std::unique_ptr<Cursor>(new Cursor(std::move(cursor)));
    }

    // Execute procedure with output values gives one row, fetched at once.
    std::unique_ptr<CursorImpl> singleton = rows ? NewCursor(s) : nullptr;
    s.statement->execute(&st, tra.get(), input.Metadata(), input.Data(),
                         singleton ? s.outMeta : nullptr,
                         singleton ? singleton->buffer.data() : nullptr);
    st.Check(Status::ServerError, c.util);
    if (countRows) {
        s.rowsAffected = static_cast<qint64>(s.statement->getAffectedRecords(&st));
        if (s.rowsAffected < 0 || st.Failed())
            s.rowsAffected = 0;
    }
    if (!singleton) {
        tra.Complete();
        return nullptr;
    }
    singleton->singletonPending = true;
    tra.HandTo(*singleton);
    s.cursor = singleton.get();
    return std::unique_ptr<Cursor>(new Cursor(std::move(singleton)));
}

} // namespace Driver
