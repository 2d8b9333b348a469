#include "data/dataset/engine/packet.h"

#include "platform/core/exception.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr char Magic[8] = {'A', 'M', 'Q', 'B', 'D', 'P', '0', '1'};

[[noreturn]] void InvalidPacket() {
    throw Exception(QStringLiteral("Invalid data packet"));
}

class TWriter {
public:
    explicit TWriter(QByteArray& out) : out_(out) {}
    void Raw(const void* data, size_t size) {
        out_.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
    void U8(uint8_t v) { Raw(&v, 1); }
    void U16(uint16_t v) { Le(v, 2); }
    void U32(uint32_t v) { Le(v, 4); }
    void Text(const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        U32(static_cast<uint32_t>(utf8.size()));
        Raw(utf8.constData(), static_cast<size_t>(utf8.size()));
    }

private:
    void Le(uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            U8(static_cast<uint8_t>(v >> (8 * i)));
    }
    QByteArray& out_;
};

// Reads with bounds checks; any overrun is an invalid packet.
class TReader {
public:
    explicit TReader(const QByteArray& in)
        : p_(reinterpret_cast<const uint8_t*>(in.constData())), left_(size_t(in.size())) {}
    const uint8_t* Take(size_t size) {
        if (size > left_)
            InvalidPacket();
        const uint8_t* at = p_;
        p_ += size;
        left_ -= size;
        return at;
    }
    uint8_t U8() { return *Take(1); }
    uint16_t U16() { return static_cast<uint16_t>(Le(2)); }
    uint32_t U32() { return Le(4); }
    QString Text() {
        const uint32_t size = U32();
        return QString::fromUtf8(reinterpret_cast<const char*>(Take(size)), qsizetype(size));
    }
    bool AtEnd() const { return left_ == 0; }
    size_t Left() const { return left_; }

private:
    uint32_t Le(int bytes) {
        const uint8_t* at = Take(size_t(bytes));
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= uint32_t(at[i]) << (8 * i);
        return v;
    }
    const uint8_t* p_;
    size_t left_;
};

} // namespace

TDataPacket::TDataPacket(std::vector<TPacketColumn> columns)
    : columns_(std::move(columns)), layout_(std::make_unique<TRowLayout>(columns_)),
      writer_(std::make_unique<TRowWriter>(*layout_)) {}

TRowWriter& TDataPacket::BeginRow() {
    writer_->Clear();
    return *writer_;
}

void TDataPacket::EndRow() {
    rows_.push_back(arena_.Store(writer_->Compose(blobs_)));
}

void TDataPacket::AppendRow(std::span<const TValue> values) {
    TRowWriter& row = BeginRow();
    const int count = std::min(static_cast<int>(values.size()), layout_->ColumnCount());
    for (int col = 0; col < count; ++col)
        row.SetValue(col, values[col]);
    EndRow();
}

QByteArray TDataPacket::ToBytes() const {
    QByteArray out;
    TWriter w(out);
    w.Raw(Magic, sizeof Magic);
    w.U8(last_ ? 1 : 0);
    w.U32(lcid_);
    w.U16(static_cast<uint16_t>(columns_.size()));
    for (const TPacketColumn& c : columns_) {
        w.Text(c.name);
        w.U8(static_cast<uint8_t>(c.type));
        w.U32(static_cast<uint32_t>(c.size));
        w.U16(static_cast<uint16_t>(c.precision));
        w.U16(static_cast<uint16_t>(c.scale));
        w.U8(static_cast<uint8_t>((c.required ? 1 : 0) | (c.readOnly ? 2 : 0)));
        w.U8(c.provFlags);
        w.Text(c.origin);
    }
    w.U32(static_cast<uint32_t>(blobs_.size()));
    for (const TBlob& blob : blobs_) {
        // A deferred blob is read: the byte form stands on its own.
        const QByteArray& bytes = blob.Bytes();
        w.U32(static_cast<uint32_t>(bytes.size()));
        w.Raw(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    w.U32(static_cast<uint32_t>(rows_.size()));
    for (const uint8_t* row : rows_) {
        const uint32_t size = layout_->RowSize(row);
        w.U32(size);
        w.Raw(row, size);
    }
    return out;
}

TDataPacket TDataPacket::FromBytes(const QByteArray& bytes) {
    if (bytes.size() < MinPacketBytes)
        InvalidPacket();
    TReader r(bytes);
    if (std::memcmp(r.Take(sizeof Magic), Magic, sizeof Magic) != 0)
        InvalidPacket();
    const uint8_t flags = r.U8();
    const uint32_t lcid = r.U32();
    const uint16_t columnCount = r.U16();
    if (columnCount == 0 || flags > 1)
        InvalidPacket();
    std::vector<TPacketColumn> columns(columnCount);
    for (TPacketColumn& c : columns) {
        c.name = r.Text();
        const uint8_t type = r.U8();
        if (type > ftFMTBcd)
            InvalidPacket();
        c.type = static_cast<TFieldType>(type);
        c.size = static_cast<int>(r.U32());
        c.precision = static_cast<int16_t>(r.U16());
        c.scale = static_cast<int16_t>(r.U16());
        const uint8_t attrs = r.U8();
        c.required = attrs & 1;
        c.readOnly = attrs & 2;
        c.provFlags = r.U8();
        c.origin = r.Text();
    }
    std::optional<TDataPacket> packet;
    try {
        packet.emplace(std::move(columns));
    } catch (const Exception&) {
        InvalidPacket();
    }
    packet->last_ = flags & 1;
    packet->lcid_ = lcid;
    const uint32_t blobCount = r.U32();
    // Each entry takes at least 4 bytes, which bounds the reservations.
    if (blobCount > r.Left() / 4)
        InvalidPacket();
    packet->blobs_.reserve(blobCount);
    for (uint32_t i = 0; i < blobCount; ++i) {
        const uint32_t size = r.U32();
        packet->blobs_.emplace_back(
            QByteArray(reinterpret_cast<const char*>(r.Take(size)), qsizetype(size)));
    }
    const uint32_t rowCount = r.U32();
    if (rowCount > r.Left() / 4)
        InvalidPacket();
    packet->rows_.reserve(rowCount);
    for (uint32_t i = 0; i < rowCount; ++i) {
        const uint32_t size = r.U32();
        const std::span<const uint8_t> row(r.Take(size), size);
        if (!packet->layout_->Validate(row, blobCount))
            InvalidPacket();
        packet->rows_.push_back(packet->arena_.Store(row));
    }
    if (!r.AtEnd())
        InvalidPacket();
    return std::move(*packet);
}
