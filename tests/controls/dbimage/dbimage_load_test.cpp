// The image control bound to a client dataset opened from a Firebird table
// of blobs: what each record change loads, and what SaveToFile writes.

#include "dbimage_fixture.h"
#include "imaging/graphics/bitmap.h"
#include "imaging/jpeg/jpeg_image.h"
#include "platform/system/file_write.h"
#include "tests/imaging/support/test_images.h"
#include "tests/imaging/support/test_jpeg_writer.h"

#include <ostream>

namespace {

QByteArray Noise(int size, uint32_t seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(seed >> 24);
    }
    return bytes;
}

const QByteArray kJpeg = WriteTestJpeg(TestPattern(40, 30));
const QByteArray kBmp = BmpFile(Solid(6, 4, qRgb(255, 0, 0)));

struct Row {
    const char* name;
    std::optional<QByteArray> blob;
    const char* graphic; // the class loaded, "" for none
};

// Every record change loads the picture and sets the flag, whatever the blob
// holds, so every record's blob is written byte for byte.
TEST_F(DbImageTest, EachRecordLoadsItsPictureAndSavesItsBytes) {
    QByteArray big = kJpeg; // a photograph of 2 MB: a JPEG header, then bytes
    big += Noise(2 * 1024 * 1024 - int(kJpeg.size()), 7);
    QByteArray blobBitmap = QByteArray("\x01\x00\x00\x01", 4);
    for (const uint32_t size = uint32_t(kBmp.size()); int shift : {0, 8, 16, 24})
        blobBitmap += static_cast<char>(size >> shift);
    blobBitmap += kBmp;
    const std::vector<Row> rows = {
        {"jpeg", kJpeg, "TJPEGImage"},
        {"png, not recognised", PngFile(Solid(5, 5, qRgb(1, 2, 3))), ""},
        {"random bytes", QByteArray("\x5A\x17") + Noise(3000, 1), ""},
        {"two bytes", QByteArray("\xFF\xD8"), ""},
        {"null", std::nullopt, ""},
        {"zero bytes", QByteArray(), ""},
        {"a few bytes", QByteArray("\xFF\xD8\xFF\xE0\x00"), ""},
        {"2 MB", big, "TJPEGImage"},
        {"unreadable jpeg", QByteArray("\xFF\xD8") + Noise(500, 3), ""},
        {"bmp", kBmp, "TBitmap"},
        {"01 00 bitmap", blobBitmap, "TBitmap"},
        {"icon", IcoFile(Solid(16, 16, qRgb(0, 0, 255))), "TIcon"},
        {"metafile", PlaceableMetafile(), "TMetafile"},
    };
    for (size_t i = 0; i < rows.size(); ++i)
        Insert(int(i) + 1, rows[i].blob);
    ReadWindow();
    cds_->Open();
    for (size_t i = 0; i < rows.size(); ++i, cds_->Next()) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.name);
        ASSERT_EQ(cds_->FieldByName(QStringLiteral("ID")).AsInteger(), qint64(i) + 1);
        EXPECT_TRUE(image_->PictureLoaded());
        EXPECT_EQ(GraphicClass(), QLatin1String(row.graphic));
        if (auto* jpeg = dynamic_cast<TJPEGImage*>(image_->Picture().Graphic())) {
            EXPECT_EQ(jpeg->Width(), 40);
            EXPECT_FALSE(jpeg->DecodeTried()) << "a hidden control never decodes";
        }
        const QString file = Path(QStringLiteral("1-%1.jpg").arg(i));
        image_->SaveToFile(file);
        EXPECT_EQ(Read(file), row.blob.value_or(QByteArray()));
    }
    EXPECT_TRUE(cds_->Eof());
    EXPECT_EQ(Files().size(), rows.size())
        << "temporaries left: " << Files().join(u' ').toStdString();

    // Back to a record already passed: loaded again from its blob.
    cds_->First();
    EXPECT_EQ(GraphicClass(), QStringLiteral("TJPEGImage"));
}

TEST_F(DbImageTest, SavingReplacesTheWholeOldFile) {
    Insert(1, QByteArray("\xFF\xD8 short"));
    ReadWindow();
    cds_->Open();
    const QString file = Path(QStringLiteral("1-ABC.jpg"));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(Noise(50000, 9));
    old.close();
    image_->SaveToFile(file);
    EXPECT_EQ(Read(file), QByteArray("\xFF\xD8 short"));
    EXPECT_EQ(Files(), QStringList{QStringLiteral("1-ABC.jpg")});
}

TEST_F(DbImageTest, WithoutAutoDisplayNothingLoadsUntilLoadPicture) {
    Insert(1, kJpeg);
    Insert(2, kBmp);
    ReadWindow(QStringLiteral("    AutoDisplay = False\n"));
    cds_->Open();
    const QString file = Path(QStringLiteral("a.jpg"));
    for (int record = 1; record <= 2; ++record, cds_->Next()) {
        EXPECT_FALSE(image_->PictureLoaded());
        EXPECT_EQ(image_->Picture().Graphic(), nullptr);
        image_->SaveToFile(file);
        EXPECT_FALSE(Read(file)) << "written without a loaded picture";
    }
    cds_->First();
    image_->LoadPicture();
    EXPECT_TRUE(image_->PictureLoaded());
    EXPECT_EQ(GraphicClass(), QStringLiteral("TJPEGImage"));
    image_->SaveToFile(file);
    EXPECT_EQ(Read(file), kJpeg);

    // Switching AutoDisplay on loads at once.
    cds_->Next();
    EXPECT_FALSE(image_->PictureLoaded());
    image_->SetAutoDisplay(true);
    EXPECT_TRUE(image_->PictureLoaded());
    EXPECT_EQ(GraphicClass(), QStringLiteral("TBitmap"));
}

TEST_F(DbImageTest, AFieldThatIsNoBlobNeverLoadsNorWrites) {
    Insert(1, kJpeg);
    Insert(2, kJpeg);
    ReadWindow(QStringLiteral("    DataField = \"NOMBRE\"\n"));
    cds_->Open();
    const QString file = Path(QStringLiteral("n.jpg"));
    for (int record = 1; record <= 2; ++record, cds_->Next()) {
        image_->LoadPicture();
        EXPECT_FALSE(image_->PictureLoaded());
        image_->SaveToFile(file);
        EXPECT_FALSE(Read(file));
    }
}

// A blob that starts 01 00 is loaded by the picture itself; when it holds no
// valid bitmap the error reaches whoever made its record current, and the
// photograph is not written. A short one is held in memory, a long one read
// back from the rows' temporary file.
TEST_F(DbImageTest, ABlobBitmapThatIsNotValidRaisesWhenItsRecordBecomesCurrent) {
    const QByteArray bad("\x01\x00 is not a bitmap", 18);
    Insert(1, kJpeg);
    Insert(2, bad);
    Insert(3, kBmp);
    Insert(4, bad + Noise(5000, 9));
    Insert(5, kBmp);
    ReadWindow();
    cds_->Open();
    for (int id : {2, 4}) {
        SCOPED_TRACE(id);
        try {
            cds_->Next();
            FAIL() << "no error";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Bitmap image is not valid"));
        }
        EXPECT_EQ(cds_->FieldByName(QStringLiteral("ID")).AsInteger(), id);
        EXPECT_FALSE(image_->PictureLoaded());
        image_->SaveToFile(Path(QStringLiteral("%1.jpg").arg(id)));
        EXPECT_TRUE(Files().isEmpty());

        cds_->Next();
        EXPECT_EQ(GraphicClass(), QStringLiteral("TBitmap"));
    }

    // The first record of an opening dataset raises from Open.
    cds_->Close();
    db_.Run(QStringLiteral("delete from FOTOS where ID = 1"));
    EXPECT_THROW(cds_->Open(), EInvalidGraphic);
}

TEST_F(DbImageTest, AFileThatCannotBeCreatedRaisesAndLeavesNothing) {
    Insert(1, kJpeg);
    ReadWindow();
    cds_->Open();
    const QString file = Path(QStringLiteral("imgarti/1-ABC.jpg"));
    try {
        image_->SaveToFile(file);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Cannot create file \"%1\". No such file or directory").arg(file));
    }
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(DbImageTest, ClosingTheDatasetOrLosingTheSourceLeavesNothingToWrite) {
    Insert(1, kJpeg);
    ReadWindow();
    cds_->Open();
    ASSERT_NE(image_->Field(), nullptr);
    cds_->Close();
    EXPECT_EQ(image_->Field(), nullptr);
    EXPECT_EQ(image_->Picture().Graphic(), nullptr);
    EXPECT_TRUE(image_->PictureLoaded());
    image_->SaveToFile(Path(QStringLiteral("c.jpg")));
    EXPECT_TRUE(Files().isEmpty());

    cds_->Open();
    EXPECT_EQ(GraphicClass(), QStringLiteral("TJPEGImage"));
    delete source_;
    EXPECT_EQ(image_->DataSource(), nullptr);
    EXPECT_EQ(image_->Field(), nullptr);
    image_->SaveToFile(Path(QStringLiteral("c.jpg")));
    EXPECT_TRUE(Files().isEmpty());
}

// ---- Blobs the control does not recognise ---------------------------------------------

struct CustomCase {
    const char* name;
    QByteArray blob;
    bool handlerRaises;
    bool handlerCalled;
    const char* graphic;
};

void PrintTo(const CustomCase& c, std::ostream* os) {
    *os << c.name;
}

class DbImageCustomTest : public DbImageTest, public testing::WithParamInterface<CustomCase> {};

TEST_P(DbImageCustomTest, OnLoadCustomImageGetsWhatTheControlCannotRead) {
    const CustomCase& c = GetParam();
    Insert(1, c.blob);
    int calls = 0;
    THandlerTable handlers;
    handlers.Add(QStringLiteral("LoadPng"),
                 TLoadCustomImageEvent([&](std::unique_ptr<TGraphic>& B, TMemoryStream& Stream) {
                     ++calls;
                     EXPECT_EQ(B, nullptr);
                     EXPECT_EQ(Stream.Position(), 0);
                     EXPECT_EQ(Stream.View(), c.blob);
                     QImage image;
                     if (image.loadFromData(Stream.View(), "PNG"))
                         B = std::make_unique<TBitmap>(image);
                     if (c.handlerRaises)
                         throw Exception(QStringLiteral("no such format"));
                 }));
    ReadWindow(QStringLiteral("    OnLoadCustomImage = LoadPng\n"), handlers);
    cds_->Open();
    EXPECT_EQ(calls, c.handlerCalled ? 1 : 0);
    EXPECT_TRUE(image_->PictureLoaded());
    EXPECT_EQ(GraphicClass(), QLatin1String(c.graphic));
}

INSTANTIATE_TEST_SUITE_P(
    Custom, DbImageCustomTest,
    testing::Values(
        CustomCase{"png", PngFile(Solid(3, 3, qRgb(1, 1, 1))), false, true, "TBitmap"},
        CustomCase{"handler_raises", PngFile(Solid(3, 3, qRgb(1, 1, 1))), true, true, ""},
        CustomCase{"unreadable_jpeg", QByteArray("\xFF\xD8\xFF\x00 junk"), false, true, ""},
        CustomCase{"jpeg", kJpeg, false, false, "TJPEGImage"},
        CustomCase{"two_bytes", QByteArray("ab"), false, true, ""}),
    [](const testing::TestParamInfo<CustomCase>& info) { return std::string(info.param.name); });

} // namespace
