#pragma once
// Image files in the Windows formats for tests: BMP, ICO and PNG written by
// Qt, placeable metafiles built byte by byte.

#include <QByteArray>
#include <QImage>
#include <cstdint>

QByteArray BmpFile(const QImage& image);
QByteArray IcoFile(const QImage& image);
QByteArray PngFile(const QImage& image);

// A w x h image of one colour.
QImage Solid(int width, int height, QRgb colour);

// The fields of a placeable metafile header; the defaults make a valid one
// of 1 x 0.5 inch (96 x 48 pixels).
struct MetafileHeader {
    uint32_t key = 0x9AC6CDD7;
    int16_t left = 0, top = 0, right = 1440, bottom = 720;
    uint16_t inch = 1440;
    int checksumDelta = 0; // added to the right checksum
    uint16_t type = 1;
    uint16_t headerWords = 9;
};

// The header, the metafile header and one end-of-file record.
QByteArray PlaceableMetafile(const MetafileHeader& header = {});
