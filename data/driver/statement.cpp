#include "data/driver/statement.h"

#include "data/driver/cursor.h"
#include "data/driver/fb_internal.h"

#include <cstring>

using namespace Firebird;

namespace Driver {
namespace {

const QDate kFbEpoch(1858, 11, 17); // day 0 of ISC_DATE

ISC_DATE EncodeDate(QDate d) { return static_cast<ISC_DATE>(kFbEpoch.daysTo(d)); }
ISC_TIME EncodeTime(QTime t) {
    return static_cast<ISC_TIME>(t.msecsSinceStartOfDay()) * 10; // units of 1/10000 s
}

// The SQL type, length and scale a bound parameter travels as.
struct Wire {
    unsigned type;
    unsigned length;
    int scale;
};

Wire WireOf(const Param& p) {
    switch (p.type) {
    case DataType::Varchar: return {SQL_VARYING, static_cast<unsigned>(p.bytes.size()), 0};
    case DataType::Char: return {SQL_TEXT, static_cast<unsigned>(p.bytes.size()), 0};
    case DataType::SmallInt: return {SQL_SHORT, sizeof(ISC_SHORT), 0};
    case DataType::Integer: return {SQL_LONG, sizeof(ISC_LONG), 0};
    case DataType::BigInt: return {SQL_INT64, sizeof(ISC_INT64), 0};
    case DataType::Decimal: return {SQL_INT64, sizeof(ISC_INT64), -p.scale};
    case DataType::Float: return {SQL_FLOAT, sizeof(float), 0};
    case DataType::Double: return {SQL_DOUBLE, sizeof(double), 0};
    case DataType::Date: return {SQL_TYPE_DATE, sizeof(ISC_DATE), 0};
    case DataType::Time: return {SQL_TYPE_TIME, sizeof(ISC_TIME), 0};
    case DataType::Timestamp: return {SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP), 0};
    case DataType::Blob: return {SQL_BLOB, sizeof(ISC_QUAD), 0};
    case DataType::Boolean: return {SQL_BOOLEAN, 1, 0};
    case DataType::Unknown: break;
    }
    return {0, 0, 0};
}

bool IsText(unsigned sqlType) { return sqlType == SQL_VARYING || sqlType == SQL_TEXT; }

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
    if (inMeta)
        inMeta->release();
    if (outMeta)
        outMeta->release();
    inMeta = outMeta = nullptr;
    if (statement && conn) {
        FbStatus st(conn->master);
        statement->free(&st);
        if (st.Failed())
            statement->release();
    }
    statement = nullptr;
    if (conn)
        conn->statements.erase(this);
    conn = nullptr;
}

// ---- Statement -----------------------------------------------------------------

Statement::Statement(std::unique_ptr<StatementImpl> impl) : impl_(std::move(impl)) {}

Statement::~Statement() { impl_->Release(); }

int Statement::ParamCount() const { return static_cast<int>(impl_->params.size()); }

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
    if (impl_->type == isc_info_sql_stmt_select || impl_->type == isc_info_sql_stmt_select_for_upd)
        return true;
    FbStatus st(impl_->conn->master);
    return impl_->outMeta && impl_->outMeta->getCount(&st) > 0;
}

qint64 Statement::RowsAffected() const { return impl_->rowsAffected; }

std::unique_ptr<Cursor> Statement::Execute() {
    StatementImpl& s = *impl_;
    s.CheckValid();
    ConnectionImpl& c = *s.conn;
    c.CheckAttached();
    if (s.cursor)
        s.cursor->Close(true);
    s.rowsAffected = -1;
    const bool rows = ReturnsRows();

    FbStatus st(c.master);
    // The parameters' own metadata: the statement's, retyped to what was bound.
    IMessageMetadata* meta = nullptr;
    std::vector<unsigned char> message;
    std::vector<QByteArray> wire(s.params.size()); // text and blob bytes as sent
    if (!s.params.empty()) {
        IMetadataBuilder* builder = s.inMeta->getBuilder(&st);
        st.Check(Status::ServerError, c.util);
        for (unsigned i = 0; i < s.params.size(); ++i) {
            Param& p = s.params[i];
            if (!p.bound) {
                builder->release();
                throw Error(11, QString()); // parameter not set
            }
            const unsigned placeType = s.inMeta->getType(&st, i) & ~1u;
            const unsigned placeCharSet = s.inMeta->getCharSet(&st, i);
            if (p.type == DataType::Unknown) // a null of no type takes the place's
                continue;
            Wire w = WireOf(p);
            if (p.type == DataType::Varchar || p.type == DataType::Char) {
                unsigned cs = 0;
                if (p.octets) {
                    wire[i] = p.bytes;
                    cs = IsText(placeType) && placeCharSet != 0 ? placeCharSet : 1u; // OCTETS
                } else {
                    // Text goes in the place's character set (NONE for a place of another type).
                    cs = IsText(placeType) ? placeCharSet : (c.utf8 ? 4u : 0u);
                    wire[i] = c.Encode(p.text, cs);
                }
                builder->setCharSet(&st, i, cs);
                w.length = static_cast<unsigned>(qMax<qsizetype>(wire[i].size(), 1));
            } else if (p.type == DataType::Blob) {
                wire[i] = p.bytes;
            }
            builder->setType(&st, i, w.type | 1u);
            if (p.type == DataType::Blob) {
                if (placeType == SQL_BLOB) {
                    builder->setSubType(&st, i, s.inMeta->getSubType(&st, i));
                    builder->setCharSet(&st, i, placeCharSet);
                }
            }
            builder->setLength(&st, i, w.length);
            builder->setScale(&st, i, w.scale);
        }
        meta = builder->getMetadata(&st);
        builder->release();
        st.Check(Status::ServerError, c.util);
        message.assign(meta->getMessageLength(&st), 0);
    }

    // The transaction: the explicit one, else one of the statement's own.
    ITransaction* tra = c.transaction;
    bool own = false;
    if (!tra) {
        if (!rows && c.options.commitRetain && c.retained)
            tra = c.retained;
        else
            tra = c.Start(c.options.isolation);
        own = true;
    }
    auto fail = [&](const QString& text) {
        if (meta)
            meta->release();
        if (own) {
            if (tra == c.retained)
                c.retained = nullptr;
            c.Release(tra, false);
        }
        throw Error(Status::ServerError, text);
    };

    for (unsigned i = 0; i < s.params.size() && meta; ++i) {
        const Param& p = s.params[i];
        unsigned char* data = message.data() + meta->getOffset(&st, i);
        auto* null = reinterpret_cast<ISC_SHORT*>(message.data() + meta->getNullOffset(&st, i));
        *null = p.null ? -1 : 0;
        if (p.null || p.type == DataType::Unknown)
            continue;
        switch (p.type) {
        case DataType::Varchar: {
            const QByteArray& bytes = wire[i];
            const auto len = static_cast<ISC_USHORT>(bytes.size());
            std::memcpy(data, &len, sizeof len);
            std::memcpy(data + sizeof len, bytes.constData(), static_cast<size_t>(bytes.size()));
            break;
        }
        case DataType::Char:
            std::memcpy(data, wire[i].constData(), static_cast<size_t>(wire[i].size()));
            break;
        case DataType::SmallInt: {
            const auto v = static_cast<ISC_SHORT>(p.integer);
            std::memcpy(data, &v, sizeof v);
            break;
        }
        case DataType::Integer: {
            const auto v = static_cast<ISC_LONG>(p.integer);
            std::memcpy(data, &v, sizeof v);
            break;
        }
        case DataType::BigInt:
        case DataType::Decimal: {
            const ISC_INT64 v = p.integer;
            std::memcpy(data, &v, sizeof v);
            break;
        }
        case DataType::Float: {
            const auto v = static_cast<float>(p.real);
            std::memcpy(data, &v, sizeof v);
            break;
        }
        case DataType::Double: std::memcpy(data, &p.real, sizeof p.real); break;
        case DataType::Date: {
            const ISC_DATE v = EncodeDate(p.date);
            std::memcpy(data, &v, sizeof v);
            break;
        }
        case DataType::Time: {
            const ISC_TIME v = EncodeTime(p.time);
            std::memcpy(data, &v, sizeof v);
            break;
        }
        case DataType::Timestamp: {
            ISC_TIMESTAMP v;
            v.timestamp_date = EncodeDate(p.date);
            v.timestamp_time = EncodeTime(p.time);
            std::memcpy(data, &v, sizeof v);
            break;
        }
        case DataType::Boolean: *data = p.integer ? 1 : 0; break;
        case DataType::Blob: {
            ISC_QUAD id{};
            IBlob* blob = c.attachment->createBlob(&st, tra, &id, 0, nullptr);
            if (st.Failed())
                fail(st.Text(c.util));
            constexpr qsizetype kSegment = 32768;
            for (qsizetype at = 0; at < p.bytes.size() && !st.Failed(); at += kSegment) {
                const auto n = static_cast<unsigned>(qMin(kSegment, p.bytes.size() - at));
                blob->putSegment(&st, n, p.bytes.constData() + at);
            }
            if (!st.Failed())
                blob->close(&st);
            if (st.Failed()) {
                const QString text = st.Text(c.util);
                FbStatus again(c.master);
                blob->cancel(&again);
                if (again.Failed())
                    blob->release();
                fail(text);
            }
            std::memcpy(data, &id, sizeof id);
            break;
        }
        case DataType::Unknown: break;
        }
    }
    if (st.Failed())
        fail(st.Text(c.util));

    void* in = message.empty() ? nullptr : message.data();
    if (s.type == isc_info_sql_stmt_select || s.type == isc_info_sql_stmt_select_for_upd) {
        IResultSet* rs = s.statement->openCursor(&st, tra, meta, in, s.outMeta, 0);
        if (st.Failed())
            fail(st.Text(c.util));
        if (meta)
            meta->release();
        auto impl = std::make_unique<CursorImpl>();
        impl->conn = &c;
        impl->stmt = &s;
        impl->resultSet = rs;
        impl->transaction = tra;
        impl->ownsTransaction = own;
        DescribeColumns(&c, s.outMeta, *impl);
        s.cursor = impl.get();
        return std::unique_ptr<Cursor>(new Cursor(std::move(impl)));
    }

    auto impl = rows ? std::make_unique<CursorImpl>() : nullptr;
    void* out = nullptr;
    if (impl) {
        DescribeColumns(&c, s.outMeta, *impl);
        out = impl->buffer.data();
    }
    s.statement->execute(&st, tra, meta, in, rows ? s.outMeta : nullptr, out);
    if (st.Failed())
        fail(st.Text(c.util));
    if (meta)
        meta->release();
    meta = nullptr;
    s.rowsAffected = static_cast<qint64>(s.statement->getAffectedRecords(&st));
    if (s.rowsAffected < 0 || st.Failed())
        s.rowsAffected = 0;
    st.Reset();
    if (impl) {
        // Execute procedure with output values: one row, already fetched.
        impl->conn = &c;
        impl->stmt = &s;
        impl->transaction = tra;
        impl->ownsTransaction = own;
        impl->singletonPending = true;
        s.cursor = impl.get();
        return std::unique_ptr<Cursor>(new Cursor(std::move(impl)));
    }
    if (own)
        c.EndOwn(tra, true);
    return nullptr;
}

} // namespace Driver
