#include "imaging/graphics/icon.h"

#include "imaging/graphics/little_endian.h"

namespace {

constexpr qsizetype kDirectorySize = 6;
constexpr qsizetype kEntrySize = 16;

// Reserved 0, type 1 (an icon, not a cursor), at least one entry, and every
// entry's image inside the bytes.
bool ValidDirectory(QByteArrayView bytes) {
    if (bytes.size() < kDirectorySize || ReadLE16(bytes, 0) != 0 || ReadLE16(bytes, 2) != 1)
        return false;
    const qsizetype count = ReadLE16(bytes, 4);
    if (count == 0 || kDirectorySize + count * kEntrySize > bytes.size())
        return false;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype entry = kDirectorySize + i * kEntrySize;
        const quint64 size = ReadLE32(bytes, entry + 8);
        const quint64 offset = ReadLE32(bytes, entry + 12);
        if (size == 0 || offset < quint64(kDirectorySize + count * kEntrySize) ||
            offset + size > quint64(bytes.size()))
            return false;
    }
    return true;
}

} // namespace

void TIcon::LoadFromBytes(QByteArrayView bytes) {
    const QString invalid = QStringLiteral("Icon image is not valid");
    if (!ValidDirectory(bytes))
        throw EInvalidGraphic(invalid);
    Read(bytes, "ICO", invalid);
}

QByteArray TIcon::SaveToBytes() const {
    if (bytes_.isEmpty())
        throw EInvalidGraphic(QStringLiteral("Cannot save an empty icon"));
    return bytes_;
}
