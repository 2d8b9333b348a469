#include "data/dataset/engine/row_layout.h"

#include "platform/core/exception.h"
#include "platform/system/ansi.h"
#include "platform/system/convert_error.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

template <class T> T Load(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

TCellKind KindOf(const TPacketColumn& column) {
    switch (column.type) {
    case ftSmallint:
        return TCellKind::Int16;
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return TCellKind::Int32;
    case ftLargeint:
        return TCellKind::Int64;
    case ftBoolean:
        return TCellKind::Boolean;
    case ftFloat:
    case ftCurrency:
        return TCellKind::Float;
    case ftBCD:
    case ftFMTBcd:
        return TCellKind::Bcd;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
        return TCellKind::DateTime;
    case ftString:
    case ftFixedChar:
    case ftGuid:
        return TCellKind::Text;
    case ftWideString:
        return TCellKind::WideText;
    case ftBytes:
    case ftVarBytes:
        return TCellKind::Bytes;
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
        return TCellKind::Memo;
    default:
        if (IsBlobType(column.type))
            return TCellKind::Blob;
        throw Exception(QStringLiteral("Field '%1' of type %2 cannot be held by a client dataset")
                            .arg(column.name, FieldTypeName(column.type)));
    }
}

int SlotSize(TCellKind kind) {
    switch (kind) {
    case TCellKind::Int16:
        return 2;
    case TCellKind::Boolean:
        return 1;
    case TCellKind::Int32:
    case TCellKind::Blob:
    case TCellKind::Memo:
        return 4;
    case TCellKind::Text:
    case TCellKind::WideText:
    case TCellKind::Bytes:
        return 4; // end offset of the cell's bytes
    default:
        return 8;
    }
}

bool IsVariableKind(TCellKind kind) {
    return kind == TCellKind::Text || kind == TCellKind::WideText || kind == TCellKind::Bytes;
}

[[noreturn]] void OutOfRange(const QString& name, qint64 value) {
    throw EConvertError(
        QStringLiteral("%1 is not a valid value for field '%2'").arg(value).arg(name));
}

} // namespace

// ---- TRowLayout ----------------------------------------------------------------

TRowLayout::TRowLayout(const std::vector<TPacketColumn>& columns) {
    bitmapSize_ = static_cast<int>((columns.size() + 7) / 8);
    uint32_t offset = static_cast<uint32_t>(bitmapSize_);
    cells_.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        const TCellKind kind = KindOf(columns[i]);
        const int scale = kind == TCellKind::Bcd ? columns[i].scale : 0;
        if (scale < 0 || scale > 18)
            throw Exception(
                QStringLiteral("Invalid scale %1 of field '%2'").arg(scale).arg(columns[i].name));
        cells_.push_back(Cell{kind, IsVariableKind(kind), scale, offset});
        names_.push_back(columns[i].name);
        if (IsVariableKind(kind))
            lastVariable_ = static_cast<int>(i);
        offset += static_cast<uint32_t>(SlotSize(kind));
    }
    fixedSize_ = static_cast<int>(offset);
}

uint32_t TRowLayout::RowSize(const uint8_t* row) const {
    if (lastVariable_ < 0)
        return static_cast<uint32_t>(fixedSize_);
    return Load<uint32_t>(row + cells_[lastVariable_].offset);
}

QByteArrayView TRowLayout::VarBytes(const uint8_t* row, int col) const {
    // A variable cell starts where the previous variable cell ended.
    uint32_t start = static_cast<uint32_t>(fixedSize_);
    for (int c = col - 1; c >= 0; --c) {
        if (cells_[c].variable) {
            start = Load<uint32_t>(row + cells_[c].offset);
            break;
        }
    }
    const uint32_t end = Load<uint32_t>(row + cells_[col].offset);
    return QByteArrayView(reinterpret_cast<const char*>(row) + start, end - start);
}

uint32_t TRowLayout::BlobIndex(const uint8_t* row, int col) const {
    return Load<uint32_t>(row + cells_[col].offset);
}

TValue TRowLayout::Read(const uint8_t* row, int col, const TBlobTable& blobs) const {
    if (IsNull(row, col))
        return TValue();
    const uint8_t* slot = row + cells_[col].offset;
    switch (cells_[col].kind) {
    case TCellKind::Int16:
        return TValue(static_cast<qint64>(Load<int16_t>(slot)));
    case TCellKind::Int32:
        return TValue(static_cast<qint64>(Load<int32_t>(slot)));
    case TCellKind::Int64:
        return TValue(static_cast<qint64>(Load<int64_t>(slot)));
    case TCellKind::Boolean:
        return TValue(*slot != 0);
    case TCellKind::Float:
        return TValue(Load<double>(slot));
    case TCellKind::Bcd:
        return TValue(TBcd{Load<int64_t>(slot), cells_[col].scale});
    case TCellKind::DateTime:
        return TValue(TDateTime(Load<double>(slot)));
    case TCellKind::Text:
        return TValue(FromAnsi(VarBytes(row, col)));
    case TCellKind::WideText:
        return TValue(QString::fromUtf8(VarBytes(row, col)));
    case TCellKind::Bytes:
        return TValue(VarBytes(row, col).toByteArray());
    case TCellKind::Blob:
        return blobs[Load<uint32_t>(slot)].Value();
    case TCellKind::Memo:
        return TValue(FromAnsi(blobs[Load<uint32_t>(slot)].Bytes()));
    }
    return TValue();
}

qint64 TRowLayout::ValueBytes(const uint8_t* row, int col, const TBlobTable& blobs) const {
    if (IsNull(row, col))
        return 0;
    switch (cells_[col].kind) {
    case TCellKind::Text:
    case TCellKind::WideText:
    case TCellKind::Bytes:
        return VarBytes(row, col).size();
    case TCellKind::Blob:
    case TCellKind::Memo: {
        const TBlob& blob = blobs[BlobIndex(row, col)];
        return blob.Pending() ? 0 : blob.Bytes().size();
    }
    default:
        return SlotSize(cells_[col].kind);
    }
}

bool TRowLayout::BlobPending(const uint8_t* row, int col, const TBlobTable& blobs) const {
    const TCellKind kind = cells_[col].kind;
    return (kind == TCellKind::Blob || kind == TCellKind::Memo) && !IsNull(row, col) &&
           blobs[BlobIndex(row, col)].Pending();
}

bool TRowLayout::CellEquals(const uint8_t* a, const TBlobTable& blobsA, const uint8_t* b,
                            const TBlobTable& blobsB, int col, bool read) const {
    const bool nullA = IsNull(a, col);
    if (nullA != IsNull(b, col))
        return false;
    if (nullA)
        return true;
    const Cell& cell = cells_[col];
    if (cell.variable)
        return VarBytes(a, col) == VarBytes(b, col);
    if (cell.kind == TCellKind::Blob || cell.kind == TCellKind::Memo) {
        const TBlob& x = blobsA[BlobIndex(a, col)];
        const TBlob& y = blobsB[BlobIndex(b, col)];
        if (x.SameSource(y))
            return true;
        if (!read && (x.Pending() || y.Pending()))
            return false;
        return x.Bytes() == y.Bytes();
    }
    if (cell.kind == TCellKind::Float || cell.kind == TCellKind::DateTime)
        return Load<double>(a + cell.offset) == Load<double>(b + cell.offset);
    return std::memcmp(a + cell.offset, b + cell.offset, SlotSize(cell.kind)) == 0;
}

bool TRowLayout::Validate(std::span<const uint8_t> row, size_t blobCount) const {
    if (row.size() < static_cast<size_t>(fixedSize_))
        return false;
    // Padding bits of the bitmap stay clear.
    const int unused = bitmapSize_ * 8 - ColumnCount();
    if (unused > 0 && (row[bitmapSize_ - 1] >> (8 - unused)) != 0)
        return false;
    uint32_t end = static_cast<uint32_t>(fixedSize_);
    for (int col = 0; col < ColumnCount(); ++col) {
        const Cell& cell = cells_[col];
        if (cell.variable) {
            const uint32_t next = Load<uint32_t>(row.data() + cell.offset);
            if (next < end || next > row.size() || (IsNull(row.data(), col) && next != end))
                return false;
            end = next;
        } else if ((cell.kind == TCellKind::Blob || cell.kind == TCellKind::Memo) &&
                   !IsNull(row.data(), col) &&
                   Load<uint32_t>(row.data() + cell.offset) >= blobCount) {
            return false;
        }
    }
    return end == row.size();
}

TValue TRowLayout::Normalize(int col, const TValue& value) const {
    if (value.IsNull())
        return TValue();
    const Cell& cell = cells_[col];
    switch (cell.kind) {
    case TCellKind::Int16: {
        const qint64 v = value.AsInteger();
        if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
            OutOfRange(names_[col], v);
        return TValue(v);
    }
    case TCellKind::Int32: {
        const qint64 v = value.AsInteger();
        if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
            OutOfRange(names_[col], v);
        return TValue(v);
    }
    case TCellKind::Int64:
        return TValue(value.AsInteger());
    case TCellKind::Boolean:
        return TValue(value.AsBoolean());
    case TCellKind::Float:
        return TValue(value.AsFloat());
    case TCellKind::Bcd:
        return TValue(value.AsBcd().Rescaled(cell.scale));
    case TCellKind::DateTime:
        return TValue(value.AsDateTime());
    case TCellKind::Text:
    case TCellKind::WideText:
    case TCellKind::Memo:
        return TValue(value.AsString());
    case TCellKind::Bytes:
        return TValue(value.AsBytes());
    case TCellKind::Blob:
        return value.Deferred() ? value : TValue(value.AsBytes());
    }
    return TValue();
}

// ---- TRowWriter ----------------------------------------------------------------

TRowWriter::TRowWriter(const TRowLayout& layout)
    : layout_(&layout), fixed_(static_cast<size_t>(layout.FixedSize())),
      var_(static_cast<size_t>(layout.ColumnCount())),
      deferred_(static_cast<size_t>(layout.ColumnCount())) {
    Clear();
}

void TRowWriter::Clear() {
    std::fill(fixed_.begin(), fixed_.end(), uint8_t(0));
    for (int col = 0; col < layout_->ColumnCount(); ++col) {
        fixed_[col >> 3] |= static_cast<uint8_t>(1u << (col & 7));
        if (!var_[col].isEmpty())
            var_[col].resize(0);
        deferred_[col].reset();
    }
}

void TRowWriter::MarkNotNull(int col) {
    fixed_[col >> 3] &= static_cast<uint8_t>(~(1u << (col & 7)));
}

void TRowWriter::SetNull(int col) {
    fixed_[col >> 3] |= static_cast<uint8_t>(1u << (col & 7));
    std::memset(fixed_.data() + layout_->cells_[col].offset, 0,
                SlotSize(layout_->cells_[col].kind));
    if (!var_[col].isEmpty())
        var_[col].resize(0);
    deferred_[col].reset();
}

template <class T> void TRowWriter::PutFixed(int col, T value) {
    std::memcpy(fixed_.data() + layout_->cells_[col].offset, &value, sizeof value);
    MarkNotNull(col);
}

void TRowWriter::SetInteger(int col, qint64 value) {
    switch (layout_->Kind(col)) {
    case TCellKind::Int16:
        if (value < std::numeric_limits<int16_t>::min() ||
            value > std::numeric_limits<int16_t>::max())
            OutOfRange(layout_->names_[col], value);
        PutFixed(col, static_cast<int16_t>(value));
        break;
    case TCellKind::Int32:
        if (value < std::numeric_limits<int32_t>::min() ||
            value > std::numeric_limits<int32_t>::max())
            OutOfRange(layout_->names_[col], value);
        PutFixed(col, static_cast<int32_t>(value));
        break;
    case TCellKind::Int64:
        PutFixed(col, static_cast<int64_t>(value));
        break;
    default:
        SetValue(col, TValue(value));
    }
}

void TRowWriter::SetFloat(int col, double value) {
    if (layout_->Kind(col) == TCellKind::Float)
        PutFixed(col, value);
    else
        SetValue(col, TValue(value));
}

void TRowWriter::SetBcd(int col, TBcd value) {
    if (layout_->Kind(col) == TCellKind::Bcd)
        PutFixed(col, static_cast<int64_t>(value.Rescaled(layout_->Scale(col)).scaled));
    else
        SetValue(col, TValue(value));
}

void TRowWriter::SetBoolean(int col, bool value) {
    if (layout_->Kind(col) == TCellKind::Boolean)
        PutFixed(col, static_cast<uint8_t>(value ? 1 : 0));
    else
        SetValue(col, TValue(value));
}

void TRowWriter::SetDateTime(int col, TDateTime value) {
    if (layout_->Kind(col) == TCellKind::DateTime)
        PutFixed(col, value.Value());
    else
        SetValue(col, TValue(value));
}

void TRowWriter::SetText(int col, QStringView value) {
    switch (layout_->Kind(col)) {
    case TCellKind::Text:
    case TCellKind::Memo:
        SetBytes(col, ToAnsi(value));
        break;
    case TCellKind::WideText:
        SetBytes(col, value.toUtf8());
        break;
    default:
        SetValue(col, TValue(value.toString()));
    }
}

void TRowWriter::SetBytes(int col, QByteArrayView value) {
    switch (layout_->Kind(col)) {
    case TCellKind::Text:
    case TCellKind::WideText:
    case TCellKind::Bytes:
    case TCellKind::Blob:
    case TCellKind::Memo:
        var_[col].resize(0);
        var_[col].append(value);
        deferred_[col].reset();
        MarkNotNull(col);
        break;
    default:
        SetValue(col, TValue(value.toByteArray()));
    }
}

void TRowWriter::SetBlob(int col, const QByteArray& value) {
    const TCellKind kind = layout_->Kind(col);
    if (kind == TCellKind::Blob || kind == TCellKind::Memo) {
        var_[col] = value;
        deferred_[col].reset();
        MarkNotNull(col);
    } else {
        SetBytes(col, value);
    }
}

void TRowWriter::SetDeferredBlob(int col, const TDeferredBytes& value) {
    if (layout_->Kind(col) != TCellKind::Blob) {
        SetBytes(col, value.Bytes());
        return;
    }
    if (!var_[col].isEmpty())
        var_[col].resize(0);
    deferred_[col] = value;
    MarkNotNull(col);
}

void TRowWriter::SetValue(int col, const TValue& value) {
    const TValue v = layout_->Normalize(col, value);
    if (v.IsNull()) {
        SetNull(col);
        return;
    }
    switch (layout_->Kind(col)) {
    case TCellKind::Int16:
    case TCellKind::Int32:
    case TCellKind::Int64:
        SetInteger(col, v.AsInteger());
        break;
    case TCellKind::Boolean:
        SetBoolean(col, v.AsBoolean());
        break;
    case TCellKind::Float:
        SetFloat(col, v.AsFloat());
        break;
    case TCellKind::Bcd:
        SetBcd(col, v.AsBcd());
        break;
    case TCellKind::DateTime:
        SetDateTime(col, v.AsDateTime());
        break;
    case TCellKind::Text:
    case TCellKind::WideText:
    case TCellKind::Memo:
        SetText(col, *v.StringPtr());
        break;
    case TCellKind::Bytes:
        SetBytes(col, *v.BytesPtr());
        break;
    case TCellKind::Blob:
        if (const TDeferredBytes* deferred = v.Deferred())
            SetDeferredBlob(col, *deferred);
        else
            SetBlob(col, *v.BytesPtr());
        break;
    }
}

std::span<const uint8_t> TRowWriter::Compose(TBlobTable& blobs) {
    row_.assign(fixed_.begin(), fixed_.end());
    for (int col = 0; col < layout_->ColumnCount(); ++col) {
        const TRowLayout::Cell& cell = layout_->cells_[col];
        if (cell.variable) {
            if (!layout_->IsNull(fixed_.data(), col))
                row_.insert(row_.end(), var_[col].cbegin(), var_[col].cend());
            const auto end = static_cast<uint32_t>(row_.size());
            std::memcpy(row_.data() + cell.offset, &end, sizeof end);
        } else if ((cell.kind == TCellKind::Blob || cell.kind == TCellKind::Memo) &&
                   !layout_->IsNull(fixed_.data(), col)) {
            const auto index = static_cast<uint32_t>(blobs.size());
            if (deferred_[col])
                blobs.emplace_back(*deferred_[col]);
            else
                blobs.emplace_back(var_[col]);
            std::memcpy(row_.data() + cell.offset, &index, sizeof index);
        }
    }
    return row_;
}
