#include "data/dataset/engine/sort_key.h"

#include <bit>
#include <cstring>

namespace {

template <class T> T Load(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Big-endian bytes of an unsigned value, so that memcmp orders like the value.
void PutBigEndian(uint64_t v, int bytes, std::vector<uint8_t>& out) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t OrderedDouble(double d) {
    if (d == 0.0)
        d = 0.0; // -0 and +0 are the same value
    const auto bits = std::bit_cast<uint64_t>(d);
    return (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
}

} // namespace

void AppendSortKey(const TRowLayout& layout, const uint8_t* row, int col, bool descending,
                   std::vector<uint8_t>& out, bool prefix) {
    const size_t start = out.size();
    if (layout.IsNull(row, col)) {
        out.push_back(0);
    } else {
        out.push_back(1);
        const uint8_t* slot = row + layout.SlotOffset(col);
        switch (layout.Kind(col)) {
        case TCellKind::Int16:
            PutBigEndian(static_cast<uint16_t>(Load<int16_t>(slot)) ^ 0x8000u, 2, out);
            break;
        case TCellKind::Int32:
            PutBigEndian(static_cast<uint32_t>(Load<int32_t>(slot)) ^ 0x80000000u, 4, out);
            break;
        case TCellKind::Int64:
        case TCellKind::Bcd:
            PutBigEndian(static_cast<uint64_t>(Load<int64_t>(slot)) ^ 0x8000000000000000ull, 8,
                         out);
            break;
        case TCellKind::Boolean:
            out.push_back(*slot != 0);
            break;
        case TCellKind::Float:
        case TCellKind::DateTime:
            PutBigEndian(OrderedDouble(Load<double>(slot)), 8, out);
            break;
        case TCellKind::Text:
        case TCellKind::WideText:
        case TCellKind::Bytes: {
            // Zero bytes are escaped as 00 FF and the text ends with 00 00, so
            // that a text sorts before its own extensions.
            const QByteArrayView bytes = layout.VarBytes(row, col);
            for (const char ch : bytes) {
                out.push_back(static_cast<uint8_t>(ch));
                if (ch == 0)
                    out.push_back(0xFF);
            }
            if (!prefix) {
                out.push_back(0);
                out.push_back(0);
            }
            break;
        }
        case TCellKind::Blob:
        case TCellKind::Memo:
            break; // refused when the index is created
        }
    }
    if (descending) {
        for (size_t i = start; i < out.size(); ++i)
            out[i] = static_cast<uint8_t>(~out[i]);
    }
}
