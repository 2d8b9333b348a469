#pragma once
// The errors of the PNG decoder: one class per way a PNG file can be refused,
// all derived from EPNGError so that callers can catch them together.

#include "platform/core/exception.h"

#include <string>

class EPNGError : public Exception {
public:
    explicit EPNGError(const std::string& message);
};

// The first eight bytes are not the PNG signature.
class EPNGInvalidSignature : public EPNGError {
public:
    EPNGInvalidSignature();
};

// The first chunk after the signature is not IHDR.
class EPNGMissingHeader : public EPNGError {
public:
    EPNGMissingHeader();
};

// IHDR holds values that the PNG format does not allow.
class EPNGInvalidHeader : public EPNGError {
public:
    explicit EPNGInvalidHeader(const std::string& detail);
};

// The image is larger than the decoder's limits allow.
class EPNGImageTooLarge : public EPNGError {
public:
    explicit EPNGImageTooLarge(const std::string& detail);
};

// A critical chunk that this decoder does not know.
class EPNGUnknownCriticalChunk : public EPNGError {
public:
    explicit EPNGUnknownCriticalChunk(const std::string& chunkType);
};

// The CRC stored after a chunk does not match its contents.
class EPNGCRCMismatch : public EPNGError {
public:
    explicit EPNGCRCMismatch(const std::string& chunkType);
};

// The data ends before the IEND chunk.
class EPNGUnexpectedEnd : public EPNGError {
public:
    EPNGUnexpectedEnd();
};

// IEND came without any IDAT chunk before it.
class EPNGMissingImageData : public EPNGError {
public:
    EPNGMissingImageData();
};

// The zlib stream of the IDAT chunks is corrupt or too short.
class EPNGInvalidCompressedData : public EPNGError {
public:
    explicit EPNGInvalidCompressedData(const std::string& detail);
};

// PLTE is missing, misplaced or of a wrong size.
class EPNGInvalidPalette : public EPNGError {
public:
    explicit EPNGInvalidPalette(const std::string& detail);
};

// A row of the image data starts with a filter type other than 0 to 4.
class EPNGInvalidFilterType : public EPNGError {
public:
    explicit EPNGInvalidFilterType(int filterType);
};

// A known chunk has a wrong length, is out of place or repeated.
class EPNGInvalidChunk : public EPNGError {
public:
    EPNGInvalidChunk(const std::string& chunkType, const std::string& detail);
};

// Width and height follow from the image; they cannot be set on their own.
class EPNGSizeNotSettable : public EPNGError {
public:
    EPNGSizeNotSettable();
};
