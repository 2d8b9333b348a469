#include "imaging/jpeg/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

// libjpeg reports an error by calling error_exit, which must not return. Ours
// jumps back with longjmp to the setjmp of the guarded function that made the
// libjpeg call. Only libjpeg's C frames lie between the two, so no destructor
// is skipped: the guarded functions below hold nothing but plain values, and
// the decompressor object that owns libjpeg's state lives in their caller,
// which turns a failed call into an EJPEG exception.

namespace {

struct ErrorManager {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer is ours too
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    int code;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = err->pub.msg_code;
    (*err->pub.format_message)(cinfo, err->message);
    JumpBack(cinfo);
}

void OutputMessage(j_common_ptr) {}

// The source: the bytes in memory. Past their end it gives an end-of-image
// marker, as a truncated file must end somewhere.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kEndOfImage;
    cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) >= src->bytes_in_buffer) {
        FillInputBuffer(cinfo);
        return;
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
}

struct ProgressMonitor {
    jpeg_progress_mgr pub; // first, as with the error manager
    int maxScans;
};

// Ends the decoding of progressive data with too many scans.
void MonitorProgress(j_common_ptr cinfo) {
    auto* progress = reinterpret_cast<ProgressMonitor*>(cinfo->progress);
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number <= progress->maxScans)
        return;
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = 0;
    std::snprintf(err->message, sizeof err->message, "More than %d scans", progress->maxScans);
    JumpBack(cinfo);
}

// libjpeg's decompression state over bytes in memory; destroyed with the object.
struct Decompressor {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_source_mgr src;
    ProgressMonitor progress;
    bool created = false;

    Decompressor(QByteArrayView bytes, int maxScans);
    ~Decompressor() {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    [[noreturn]] void Raise() const {
        throw EJPEG(
            QStringLiteral("JPEG error #%1: %2").arg(err.code).arg(QLatin1String(err.message)));
    }
};

// ---- Guarded calls: nothing with a destructor in these frames ---------------------

bool CreateGuarded(Decompressor* d) {
    if (setjmp(d->err.jump))
        return false;
    jpeg_create_decompress(&d->cinfo);
    return true;
}

bool ReadHeaderGuarded(Decompressor* d) {
    if (setjmp(d->err.jump))
        return false;
    jpeg_read_header(&d->cinfo, TRUE);
    return true;
}

bool StartGuarded(Decompressor* d) {
    if (setjmp(d->err.jump))
        return false;
    jpeg_start_decompress(&d->cinfo);
    return true;
}

bool ReadRowsGuarded(Decompressor* d, unsigned char* bits, qsizetype stride) {
    if (setjmp(d->err.jump))
        return false;
    while (d->cinfo.output_scanline < d->cinfo.output_height) {
        JSAMPROW row = bits + qsizetype(d->cinfo.output_scanline) * stride;
        if (jpeg_read_scanlines(&d->cinfo, &row, 1) != 1)
            break;
    }
    return true;
}

// ------------------------------------------------------------------------------------

Decompressor::Decompressor(QByteArrayView bytes, int maxScans) {
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&err, 0, sizeof err);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = OutputMessage;
    created = CreateGuarded(this);
    if (!created)
        Raise();
    src.next_input_byte = reinterpret_cast<const JOCTET*>(bytes.data());
    src.bytes_in_buffer = static_cast<size_t>(bytes.size());
    src.init_source = InitSource;
    src.fill_input_buffer = FillInputBuffer;
    src.skip_input_data = SkipInputData;
    src.resync_to_restart = jpeg_resync_to_restart;
    src.term_source = TermSource;
    cinfo.src = &src;
    progress.pub = {};
    progress.pub.progress_monitor = MonitorProgress;
    progress.maxScans = maxScans;
    cinfo.progress = &progress.pub;
}

// CMYK as JPEG holds it to RGB. Adobe's files store the inks inverted.
void CmykToRgb(QImage& image, bool inverted) {
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        auto* out = reinterpret_cast<QRgb*>(line);
        for (int x = 0; x < image.width(); ++x) {
            const uchar* p = line + 4 * x;
            int c = p[0], m = p[1], yl = p[2], k = p[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                yl = 255 - yl;
                k = 255 - k;
            }
            out[x] = qRgb(c * k / 255, m * k / 255, yl * k / 255);
        }
    }
}

} // namespace

TJpegHeader ReadJpegHeader(QByteArrayView bytes) {
    Decompressor d(bytes, TJpegLimits().maxScans);
    if (!ReadHeaderGuarded(&d))
        d.Raise();
    TJpegHeader header;
    header.width = static_cast<int>(d.cinfo.image_width);
    header.height = static_cast<int>(d.cinfo.image_height);
    header.components = d.cinfo.num_components;
    header.grayscale = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;
    header.progressive = d.cinfo.progressive_mode != 0;
    return header;
}

QImage DecodeJpeg(QByteArrayView bytes, const TJpegLimits& limits) {
    Decompressor d(bytes, limits.maxScans);
    if (!ReadHeaderGuarded(&d))
        d.Raise();
    jpeg_decompress_struct& c = d.cinfo;
    if (qint64(c.image_width) * c.image_height > limits.maxPixels)
        throw EJPEG(QStringLiteral("JPEG image of %1 x %2 pixels is too large to draw")
                        .arg(c.image_width)
                        .arg(c.image_height));
    QImage::Format format = QImage::Format_RGB888;
    bool cmyk = false;
    switch (c.jpeg_color_space) {
    case JCS_GRAYSCALE:
        c.out_color_space = JCS_GRAYSCALE;
        format = QImage::Format_Grayscale8;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        c.out_color_space = JCS_CMYK;
        format = QImage::Format_RGB32; // 4 bytes a pixel, converted in place below
        cmyk = true;
        break;
    default:
        c.out_color_space = JCS_RGB;
        break;
    }
    if (!StartGuarded(&d))
        d.Raise();
    QImage image(static_cast<int>(c.output_width), static_cast<int>(c.output_height), format);
    if (image.isNull())
        throw EJPEG(QStringLiteral("Not enough memory to draw the JPEG image"));
    if (!ReadRowsGuarded(&d, image.bits(), image.bytesPerLine()))
        d.Raise();
    if (cmyk)
        CmykToRgb(image, c.saw_Adobe_marker);
    return image;
}
