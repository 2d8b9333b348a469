#include "data/driver/cursor.h"

#include "data/driver/blob.h"
#include "data/driver/fb_internal.h"

#include <cmath>
#include <cstring>

using namespace Firebird;

namespace Driver {
namespace {

const QDate kFbEpoch(1858, 11, 17);

QDate DecodeDate(ISC_DATE d) {
    return kFbEpoch.addDays(d);
}
QTime DecodeTime(ISC_TIME t) {
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(t / 10));
}

int BytesPerChar(unsigned charSet) {
    switch (charSet) {
    case 3:
        return 3; // UNICODE_FSS
    case 4:
        return 4; // UTF8
    default:
        return 1;
    }
}

template <typename T> T Read(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

[[noreturn]] void BadRead() {
    throw Error(Status::InvalidTranslation, QString());
}

qint64 Pow10(int n) {
    qint64 r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}

} // namespace

void DescribeColumns(ConnectionImpl* conn, IMessageMetadata* meta, CursorImpl& cursor) {
    FbStatus st(conn->master);
    const unsigned count = meta->getCount(&st);
    cursor.columns.resize(count);
    cursor.places.resize(count);
    for (unsigned i = 0; i < count; ++i) {
        ColumnDesc& col = cursor.columns[i];
        ColumnPlace& place = cursor.places[i];
        place.type = meta->getType(&st, i) & ~1u;
        place.offset = meta->getOffset(&st, i);
        place.nullOffset = meta->getNullOffset(&st, i);
        place.length = meta->getLength(&st, i);
        place.charSet = meta->getCharSet(&st, i) & 0xFF;
        const char* alias = meta->getAlias(&st, i);
        const char* field = meta->getField(&st, i);
        const char* relation = meta->getRelation(&st, i);
        col.name = QString::fromUtf8(alias && *alias ? alias : field ? field : "");
        col.origin = QString::fromUtf8(field ? field : "");
        col.relation = QString::fromUtf8(relation ? relation : "");
        col.nullable = meta->isNullable(&st, i);
        col.subType = meta->getSubType(&st, i);
        col.charSet = static_cast<int>(place.charSet);
        const int scale = -meta->getScale(&st, i);
        col.length = static_cast<int>(place.length);
        switch (place.type) {
        case SQL_VARYING:
        case SQL_TEXT:
            col.type = place.type == SQL_TEXT ? DataType::Char : DataType::Varchar;
            col.length = static_cast<int>(place.length) / BytesPerChar(place.charSet);
            col.subType = 0;
            break;
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64: {
            const int bits = place.type == SQL_SHORT ? 16 : place.type == SQL_LONG ? 32 : 64;
            // The wire carries the storage, not the declared precision.
            const int digits = bits == 16 ? 4 : bits == 32 ? 9 : 18;
            if (scale > 0) {
                col.type = DataType::Decimal;
                col.subType = bits;
                col.scale = scale;
                col.precision = digits;
            } else {
                col.type = bits == 16   ? DataType::SmallInt
                           : bits == 32 ? DataType::Integer
                                        : DataType::BigInt;
                col.subType = 0;
                col.precision = digits + 1;
            }
            break;
        }
        case SQL_FLOAT:
            col.type = DataType::Float;
            col.precision = 7;
            col.subType = 0;
            break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            col.type = DataType::Double;
            col.precision = 15;
            col.subType = 0;
            break;
        case SQL_TYPE_DATE:
            col.type = DataType::Date;
            col.subType = 0;
            break;
        case SQL_TYPE_TIME:
            col.type = DataType::Time;
            col.subType = 0;
            break;
        case SQL_TIMESTAMP:
            col.type = DataType::Timestamp;
            col.subType = 0;
            break;
        case SQL_BLOB:
            col.type = DataType::Blob;
            break;
        case SQL_BOOLEAN:
            col.type = DataType::Boolean;
            col.subType = 0;
            break;
        default:
            col.type = DataType::Unknown;
            break;
        }
    }
    cursor.buffer.assign(meta->getMessageLength(&st), 0);
    st.Check(Status::ServerError, conn->util);
}

// ---- CursorImpl ------------------------------------------------------------------

void CursorImpl::Close(bool commit) noexcept {
    if (resultSet) {
        FbStatus st(conn->master);
        resultSet->close(&st);
        if (st.Failed())
            resultSet->release();
        resultSet = nullptr;
    }
    if (ownsTransaction && transaction) {
        try {
            conn->EndOwn(transaction, commit);
        } catch (...) {
            // EndOwn has rolled back; a reader has nothing to lose.
        }
    }
    transaction = nullptr;
    ownsTransaction = false;
    onRow = false;
    atEnd = true;
    if (stmt && stmt->cursor == this)
        stmt->cursor = nullptr;
    stmt = nullptr;
}

const ColumnPlace& CursorImpl::Place(int index) const {
    if (index < 0 || index >= static_cast<int>(places.size()))
        throw Error(Status::OutOfRange, QString());
    if (!onRow)
        throw Error(Status::ResultAtEof, QString());
    return places[static_cast<size_t>(index)];
}

const unsigned char* CursorImpl::Data(int index) const {
    return buffer.data() + Place(index).offset;
}

// ---- Cursor -------------------------------------------------------------------------

Cursor::Cursor(std::unique_ptr<CursorImpl> impl) : impl_(std::move(impl)) {}

Cursor::~Cursor() {
    impl_->Close(true);
}

int Cursor::ColumnCount() const {
    return static_cast<int>(impl_->columns.size());
}

const ColumnDesc& Cursor::Column(int index) const {
    if (index < 0 || index >= ColumnCount())
        throw Error(Status::OutOfRange, QString());
    return impl_->columns[static_cast<size_t>(index)];
}

const std::vector<ColumnDesc>& Cursor::Columns() const {
    return impl_->columns;
}

bool Cursor::AtEnd() const {
    return impl_->atEnd;
}

bool Cursor::Next() {
    CursorImpl& c = *impl_;
    if (c.atEnd)
        return false;
    if (!c.stmt)
        throw Error(Status::InvalidHandle, QString());
    if (!c.resultSet) { // singleton
        if (c.singletonPending) {
            c.singletonPending = false;
            c.onRow = true;
            return true;
        }
    } else {
        FbStatus st(c.conn->master);
        const int result = c.resultSet->fetchNext(&st, c.buffer.data());
        if (st.Failed()) {
            const QString text = st.Text(c.conn->util);
            c.Close(false);
            throw Error(Status::ServerError, text);
        }
        if (result == IStatus::RESULT_OK) {
            c.onRow = true;
            return true;
        }
    }
    // The end: the statement's own transaction is committed now.
    ITransaction* tra = c.ownsTransaction ? c.transaction : nullptr;
    c.ownsTransaction = false;
    c.Close(true);
    if (tra)
        c.conn->EndOwn(tra, true);
    return false;
}

bool Cursor::IsNull(int index) const {
    const ColumnPlace& p = impl_->Place(index);
    return Read<ISC_SHORT>(impl_->buffer.data() + p.nullOffset) != 0;
}

QString Cursor::AsString(int index) const {
    const ColumnPlace& p = impl_->Place(index);
    if (IsNull(index))
        return QString();
    if (p.type == SQL_VARYING || p.type == SQL_TEXT || p.type == SQL_BLOB) {
        if (p.type == SQL_BLOB && impl_->columns[static_cast<size_t>(index)].subType != 1)
            BadRead();
        return impl_->conn->Decode(AsBytes(index), p.charSet);
    }
    BadRead();
}

QByteArray Cursor::AsBytes(int index) const {
    const CursorImpl& c = *impl_;
    const ColumnPlace& p = c.Place(index);
    if (IsNull(index))
        return QByteArray();
    const unsigned char* data = c.Data(index);
    if (p.type == SQL_TEXT)
        return QByteArray(reinterpret_cast<const char*>(data), p.length);
    if (p.type == SQL_VARYING) {
        const auto len = Read<ISC_USHORT>(data);
        if (len > p.length) // never more than the place holds
            throw Error(Status::InvalidLength, QString());
        return QByteArray(reinterpret_cast<const char*>(data + sizeof(ISC_USHORT)), len);
    }
    if (p.type != SQL_BLOB)
        BadRead();
    return Blob::Open(*c.conn, c.transaction, Read<ISC_QUAD>(data)).ReadAll();
}

std::optional<DeferredBlob> Cursor::Deferred(int index) const {
    const CursorImpl& c = *impl_;
    const ColumnPlace& p = c.Place(index);
    if (p.type != SQL_BLOB || !c.conn->deferBlobs || IsNull(index))
        return std::nullopt;
    // A stored blob's id names its table; one that a procedure or an
    // expression makes (table 0) lives only as long as its transaction.
    const auto id = Read<ISC_QUAD>(c.Data(index));
    if ((id.gds_quad_high & 0xFFFF) == 0)
        return std::nullopt;
    return c.conn->DeferBlob(id);
}

qint64 Cursor::AsInteger(int index) const {
    const ColumnPlace& p = impl_->Place(index);
    if (IsNull(index))
        return 0;
    const unsigned char* d = impl_->Data(index);
    switch (p.type) {
    case SQL_SHORT:
        return Read<ISC_SHORT>(d);
    case SQL_LONG:
        return Read<ISC_LONG>(d);
    case SQL_INT64:
        return Read<ISC_INT64>(d);
    case SQL_BOOLEAN:
        return *d ? 1 : 0;
    default:
        BadRead();
    }
}

double Cursor::AsDouble(int index) const {
    const ColumnPlace& p = impl_->Place(index);
    if (IsNull(index))
        return 0;
    const unsigned char* d = impl_->Data(index);
    switch (p.type) {
    case SQL_FLOAT:
        return Read<float>(d);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return Read<double>(d);
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return static_cast<double>(AsInteger(index)) /
               static_cast<double>(Pow10(impl_->columns[static_cast<size_t>(index)].scale));
    default:
        BadRead();
    }
}

QDate Cursor::AsDate(int index) const {
    const ColumnPlace& p = impl_->Place(index);
    if (IsNull(index))
        return QDate();
    const unsigned char* d = impl_->Data(index);
    if (p.type == SQL_TYPE_DATE)
        return DecodeDate(Read<ISC_DATE>(d));
    if (p.type == SQL_TIMESTAMP)
        return DecodeDate(Read<ISC_TIMESTAMP>(d).timestamp_date);
    BadRead();
}

QTime Cursor::AsTime(int index) const {
    const ColumnPlace& p = impl_->Place(index);
    if (IsNull(index))
        return QTime();
    const unsigned char* d = impl_->Data(index);
    if (p.type == SQL_TYPE_TIME)
        return DecodeTime(Read<ISC_TIME>(d));
    if (p.type == SQL_TIMESTAMP)
        return DecodeTime(Read<ISC_TIMESTAMP>(d).timestamp_time);
    BadRead();
}

QDateTime Cursor::AsTimestamp(int index) const {
    const ColumnPlace& p = impl_->Place(index);
    if (IsNull(index))
        return QDateTime();
    if (p.type != SQL_TIMESTAMP && p.type != SQL_TYPE_DATE)
        BadRead();
    const QTime time = p.type == SQL_TIMESTAMP ? AsTime(index) : QTime(0, 0);
    return QDateTime(AsDate(index), time, Qt::UTC);
}

bool Cursor::AsBoolean(int index) const {
    const ColumnPlace& p = impl_->Place(index);
    if (IsNull(index))
        return false;
    if (p.type == SQL_BOOLEAN)
        return *impl_->Data(index) != 0;
    return AsInteger(index) != 0;
}

} // namespace Driver
