#pragma once
// Little-endian numbers in the headers of the Windows image formats. The
// caller checks that the bytes are there.

#include <QByteArrayView>
#include <cstdint>

inline uint16_t ReadLE16(QByteArrayView bytes, qsizetype at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 static_cast<uint8_t>(bytes[at + 1]) << 8);
}

inline uint32_t ReadLE32(QByteArrayView bytes, qsizetype at) {
    return static_cast<uint32_t>(ReadLE16(bytes, at)) |
           static_cast<uint32_t>(ReadLE16(bytes, at + 2)) << 16;
}
