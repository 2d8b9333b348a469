// Writes the seed corpus of the JPEG fuzz target into the folder given as
// its argument: small baseline, progressive, grey-scale, CMYK and
// restart-marker files made by libjpeg.

#include "tests/imaging/support/test_jpeg_writer.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: jpeg_seed_writer FOLDER\n");
        return 2;
    }
    struct Seed {
        const char* name;
        int width, height;
        TestJpegOptions options;
    };
    const Seed seeds[] = {
        {"baseline_16x16.jpg", 16, 16, {}},
        {"baseline_odd_13x7.jpg", 13, 7, {.quality = 50}},
        {"progressive_24x16.jpg", 24, 16, {.progressive = true}},
        {"grey_16x8.jpg", 16, 8, {.grayscale = true}},
        {"grey_progressive_8x8.jpg", 8, 8, {.grayscale = true, .progressive = true}},
        {"cmyk_8x8.jpg", 8, 8, {.cmyk = true}},
        {"restarts_32x32.jpg", 32, 32, {.restartRows = 1}},
    };
    for (const Seed& seed : seeds) {
        QFile file(QString::fromLocal8Bit(argv[1]) + u'/' + QLatin1String(seed.name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(WriteTestJpeg(TestPattern(seed.width, seed.height), seed.options)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
