#include "data/driver/input_message.h"

#include "data/driver/blob.h"

#include <cstring>

using namespace Firebird;

namespace Driver {

namespace {

const QDate kFbEpoch(1858, 11, 17); // day 0 of ISC_DATE

ISC_DATE EncodeDate(QDate d) {
    return static_cast<ISC_DATE>(kFbEpoch.daysTo(d));
}
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
    case DataType::Varchar:
        return {SQL_VARYING, static_cast<unsigned>(p.bytes.size()), 0};
    case DataType::Char:
        return {SQL_TEXT, static_cast<unsigned>(p.bytes.size()), 0};
    case DataType::SmallInt:
        return {SQL_SHORT, sizeof(ISC_SHORT), 0};
    case DataType::Integer:
        return {SQL_LONG, sizeof(ISC_LONG), 0};
    case DataType::BigInt:
        return {SQL_INT64, sizeof(ISC_INT64), 0};
    case DataType::Decimal:
        return {SQL_INT64, sizeof(ISC_INT64), -p.scale};
    case DataType::Float:
        return {SQL_FLOAT, sizeof(float), 0};
    case DataType::Double:
        return {SQL_DOUBLE, sizeof(double), 0};
    case DataType::Date:
        return {SQL_TYPE_DATE, sizeof(ISC_DATE), 0};
    case DataType::Time:
        return {SQL_TYPE_TIME, sizeof(ISC_TIME), 0};
    case DataType::Timestamp:
        return {SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP), 0};
    case DataType::Blob:
        return {SQL_BLOB, sizeof(ISC_QUAD), 0};
    case DataType::Boolean:
        return {SQL_BOOLEAN, 1, 0};
    case DataType::Unknown:
        break;
    }
    return {0, 0, 0};
}

bool IsText(unsigned sqlType) {
    return sqlType == SQL_VARYING || sqlType == SQL_TEXT;
}

template <typename T> void Put(unsigned char* data, T value) {
    std::memcpy(data, &value, sizeof value);
}

// A blob value for a blob place goes as text when it fits one, and the
// server makes the blob: creating, writing and closing a blob from the
// client costs waits of their own.
constexpr qsizetype kMaxTextBlob = 32765;

} // namespace

InputMessage::InputMessage(StatementImpl& statement) : s_(statement) {
    if (s_.params.empty())
        return;
    ConnectionImpl& c = *s_.conn;
    wire_.resize(s_.params.size());
    blobAsText_.assign(s_.params.size(), false);
    FbStatus st(c.master);
    FbRef<IMetadataBuilder> builder(s_.inMeta->getBuilder(&st));
    st.Check(Status::ServerError, c.util);
    for (unsigned i = 0; i < s_.params.size(); ++i) {
        const Param& p = s_.params[i];
        if (!p.bound)
            throw Error(Status::ParameterNotSet, QString());
        const unsigned placeType = s_.inMeta->getType(&st, i) & ~1u;
        const unsigned placeCharSet = s_.inMeta->getCharSet(&st, i);
        if (p.type == DataType::Unknown) // a null of no type takes the place's
            continue;
        Wire w = WireOf(p);
        const int placeSubType = s_.inMeta->getSubType(&st, i);
        if (p.type == DataType::Blob && placeType == SQL_BLOB && p.bytes.size() <= kMaxTextBlob) {
            // The bytes unchanged: a text blob takes them in its own character
            // set (checked by the server as a blob of the client's would be),
            // any other blob as octets.
            blobAsText_[i] = true;
            wire_[i] = p.bytes;
            builder->setType(&st, i, SQL_VARYING | 1u);
            builder->setSubType(&st, i, 0);
            builder->setCharSet(&st, i, placeSubType == 1 ? placeCharSet : 1u);
            builder->setLength(&st, i, static_cast<unsigned>(qMax<qsizetype>(p.bytes.size(), 1)));
            builder->setScale(&st, i, 0);
            continue;
        }
        if (p.type == DataType::Varchar || p.type == DataType::Char) {
            unsigned cs = 0;
            if (p.octets) {
                wire_[i] = p.bytes;
                cs = IsText(placeType) && placeCharSet != 0 ? placeCharSet : 1u; // OCTETS
            } else {
                // Text goes in the place's character set (NONE for a place of another type).
                cs = IsText(placeType) ? placeCharSet : (c.utf8 ? 4u : 0u);
                wire_[i] = c.Encode(p.text, cs);
            }
            builder->setCharSet(&st, i, cs);
            w.length = static_cast<unsigned>(qMax<qsizetype>(wire_[i].size(), 1));
        }
        builder->setType(&st, i, w.type | 1u);
        if (p.type == DataType::Blob && placeType == SQL_BLOB) {
            builder->setSubType(&st, i, s_.inMeta->getSubType(&st, i));
            builder->setCharSet(&st, i, placeCharSet);
        }
        builder->setLength(&st, i, w.length);
        builder->setScale(&st, i, w.scale);
    }
    meta_.reset(builder->getMetadata(&st));
    st.Check(Status::ServerError, c.util);
    message_.assign(meta_->getMessageLength(&st), 0);
    st.Check(Status::ServerError, c.util);
}

void InputMessage::Encode(ITransaction* tra) {
    if (!meta_)
        return;
    ConnectionImpl& c = *s_.conn;
    FbStatus st(c.master);
    for (unsigned i = 0; i < s_.params.size(); ++i) {
        const Param& p = s_.params[i];
        const unsigned offset = meta_->getOffset(&st, i);
        const unsigned nullOffset = meta_->getNullOffset(&st, i);
        st.Check(Status::ServerError, c.util);
        Put<ISC_SHORT>(message_.data() + nullOffset, p.null ? -1 : 0);
        if (!p.null && p.type != DataType::Unknown)
            EncodeValue(i, message_.data() + offset, tra);
    }
}

void InputMessage::EncodeValue(unsigned index, unsigned char* data, ITransaction* tra) {
    const Param& p = s_.params[index];
    const QByteArray& bytes = wire_[index];
    switch (p.type) {
    case DataType::Varchar:
        Put(data, static_cast<ISC_USHORT>(bytes.size()));
        std::memcpy(data + sizeof(ISC_USHORT), bytes.constData(),
                    static_cast<size_t>(bytes.size()));
        break;
    case DataType::Char:
        std::memcpy(data, bytes.constData(), static_cast<size_t>(bytes.size()));
        break;
    case DataType::SmallInt:
        Put(data, static_cast<ISC_SHORT>(p.integer));
        break;
    case DataType::Integer:
        Put(data, static_cast<ISC_LONG>(p.integer));
        break;
    case DataType::BigInt:
    case DataType::Decimal:
        Put<ISC_INT64>(data, p.integer);
        break;
    case DataType::Float:
        Put(data, static_cast<float>(p.real));
        break;
    case DataType::Double:
        Put(data, p.real);
        break;
    case DataType::Date:
        Put(data, EncodeDate(p.date));
        break;
    case DataType::Time:
        Put(data, EncodeTime(p.time));
        break;
    case DataType::Timestamp: {
        ISC_TIMESTAMP v;
        v.timestamp_date = EncodeDate(p.date);
        v.timestamp_time = EncodeTime(p.time);
        Put(data, v);
        break;
    }
    case DataType::Boolean:
        *data = p.integer ? 1 : 0;
        break;
    case DataType::Blob: {
        if (blobAsText_[index]) {
            Put(data, static_cast<ISC_USHORT>(bytes.size()));
            std::memcpy(data + sizeof(ISC_USHORT), bytes.constData(),
                        static_cast<size_t>(bytes.size()));
            break;
        }
        ISC_QUAD id{};
        Blob::Create(*s_.conn, tra, id).WriteAll(p.bytes);
        Put(data, id);
        break;
    }
    case DataType::Unknown:
        break;
    }
}

} // namespace Driver
