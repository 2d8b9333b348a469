#include "imaging/png/png_errors.h"

EPNGError::EPNGError(const std::string& message) : Exception(QString::fromStdString(message)) {}

EPNGInvalidSignature::EPNGInvalidSignature()
    : EPNGError("Invalid PNG image: the data does not start with the PNG signature") {}

EPNGMissingHeader::EPNGMissingHeader()
    : EPNGError("Invalid PNG image: the first chunk is not IHDR") {}

EPNGInvalidHeader::EPNGInvalidHeader(const std::string& detail)
    : EPNGError("Invalid PNG image header: " + detail) {}

EPNGImageTooLarge::EPNGImageTooLarge(const std::string& detail)
    : EPNGError("PNG image too large: " + detail) {}

EPNGUnknownCriticalChunk::EPNGUnknownCriticalChunk(const std::string& chunkType)
    : EPNGError("Invalid PNG image: unknown critical chunk \"" + chunkType + "\"") {}

EPNGCRCMismatch::EPNGCRCMismatch(const std::string& chunkType)
    : EPNGError("Invalid PNG image: CRC mismatch in chunk \"" + chunkType + "\"") {}

EPNGUnexpectedEnd::EPNGUnexpectedEnd()
    : EPNGError("Invalid PNG image: unexpected end of the data") {}

EPNGMissingImageData::EPNGMissingImageData()
    : EPNGError("Invalid PNG image: no image data (IDAT chunk)") {}

EPNGInvalidCompressedData::EPNGInvalidCompressedData(const std::string& detail)
    : EPNGError("Invalid PNG image: invalid compressed image data (" + detail + ")") {}

EPNGInvalidPalette::EPNGInvalidPalette(const std::string& detail)
    : EPNGError("Invalid PNG image: invalid palette (" + detail + ")") {}

EPNGInvalidFilterType::EPNGInvalidFilterType(int filterType)
    : EPNGError("Invalid PNG image: unknown row filter type " + std::to_string(filterType)) {}

EPNGInvalidChunk::EPNGInvalidChunk(const std::string& chunkType, const std::string& detail)
    : EPNGError("Invalid PNG image: chunk \"" + chunkType + "\" " + detail) {}

EPNGSizeNotSettable::EPNGSizeNotSettable()
    : EPNGError("The width and height of a PNG image cannot be set: load or assign another image") {
}
