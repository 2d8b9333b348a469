// Editing through the image control: the keys and the clipboard, writing the
// picture back into the field when the record is posted or the control is
// left.

#include "dbimage_fixture.h"
#include "imaging/graphics/bitmap.h"
#include "tests/imaging/support/test_images.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>
#include <ostream>

namespace {

const QByteArray kBmp = BmpFile(Solid(6, 4, qRgb(255, 0, 0)));

// The width of the bitmap a field holds; 0 for a null field.
int FieldBitmapWidth(const TField& field) {
    if (field.IsNull())
        return 0;
    TBitmap bitmap;
    bitmap.LoadFromBytes(field.AsBytes());
    return bitmap.Width();
}

int ClipboardWidth() {
    return QGuiApplication::clipboard()->image().width();
}

class DbImageEditTest : public DbImageTest {
protected:
    void SetUp() override {
        DbImageTest::SetUp();
        Insert(1, kBmp);
        QGuiApplication::clipboard()->setImage(Solid(3, 3, qRgb(0, 255, 0)));
    }
    TField& Foto() const { return cds_->FieldByName(QStringLiteral("FOTO")); }
};

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool autoDisplay;
    bool pasteFirst;  // a change to discard
    int pictureWidth; // after the key; 0 for none
    int clipboardWidth;
    int postedWidth; // the field's bitmap after Post; 0 for null
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class DbImageKeyTest : public DbImageEditTest, public testing::WithParamInterface<KeyCase> {};

// The record holds a 6 x 4 bitmap, the clipboard a 3 x 3 image.
TEST_P(DbImageKeyTest, EditingKeys) {
    const KeyCase& c = GetParam();
    ReadWindow(c.autoDisplay ? QString() : QStringLiteral("    AutoDisplay = False\n"));
    cds_->Open();
    if (c.pasteFirst)
        image_->PasteFromClipboard();
    QTest::keyClick(image_->Widget(), c.key, c.modifiers);
    EXPECT_EQ(image_->Picture().Width(), c.pictureWidth);
    EXPECT_EQ(ClipboardWidth(), c.clipboardWidth);
    cds_->CheckBrowseMode();
    EXPECT_EQ(FieldBitmapWidth(Foto()), c.postedWidth);
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kShift = Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, DbImageKeyTest,
    testing::Values(KeyCase{"CtrlC_copies", Qt::Key_C, kCtrl, true, false, 6, 6, 6},
                    KeyCase{"CtrlInsert_copies", Qt::Key_Insert, kCtrl, true, false, 6, 6, 6},
                    KeyCase{"CtrlX_cuts", Qt::Key_X, kCtrl, true, false, 0, 6, 0},
                    KeyCase{"ShiftDelete_cuts", Qt::Key_Delete, kShift, true, false, 0, 6, 0},
                    KeyCase{"CtrlV_pastes", Qt::Key_V, kCtrl, true, false, 3, 3, 3},
                    KeyCase{"ShiftInsert_pastes", Qt::Key_Insert, kShift, true, false, 3, 3, 3},
                    KeyCase{"CtrlDelete_clears", Qt::Key_Delete, kCtrl, true, false, 0, 3, 0},
                    KeyCase{"Escape_undoes", Qt::Key_Escape, kNone, true, true, 6, 3, 6},
                    KeyCase{"CtrlZ_undoes", Qt::Key_Z, kCtrl, true, true, 6, 3, 6},
                    KeyCase{"Enter_loads", Qt::Key_Return, kNone, false, false, 6, 3, 6},
                    KeyCase{"Delete_alone_does_nothing", Qt::Key_Delete, kNone, true, false, 6, 3,
                            6}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(DbImageEditTest, AReadOnlyControlDoesNotEdit) {
    ReadWindow(QStringLiteral("    ReadOnly = True\n"));
    cds_->Open();
    image_->PasteFromClipboard();
    image_->ClearPicture();
    image_->CutToClipboard();
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(image_->Picture().Width(), 6);
}

// Writing back: the graphic saves itself in its own format into the field;
// a picture that cannot save clears the field.
TEST_F(DbImageEditTest, PostingWritesThePictureBack) {
    ReadWindow();
    cds_->Open();
    image_->PasteFromClipboard();
    ASSERT_EQ(cds_->State(), dsEdit);
    cds_->Post();
    EXPECT_TRUE(Foto().AsBytes().startsWith("BM"));
    EXPECT_EQ(FieldBitmapWidth(Foto()), 3);

    // Posting without a change leaves the field alone.
    const QByteArray posted = Foto().AsBytes();
    cds_->Edit();
    cds_->Post();
    EXPECT_EQ(Foto().AsBytes(), posted);

    cds_->Edit();
    image_->Picture().Clear();
    cds_->Post();
    EXPECT_TRUE(Foto().IsNull());
}

// Leaving the control while the dataset edits writes the picture into the field.
TEST_F(DbImageEditTest, LeavingTheControlWritesThePictureIntoTheField) {
    ReadWindow(QStringLiteral("    Visible = True\n"));
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    image_->Widget()->setParent(&window);
    layout->addWidget(image_->Widget());
    auto* other = new QLineEdit(&window);
    layout->addWidget(other);
    window.show();
    image_->Widget()->show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    cds_->Open();
    image_->SetFocus();
    ASSERT_TRUE(image_->Focused());
    image_->PasteFromClipboard();
    ASSERT_EQ(cds_->State(), dsEdit);

    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(cds_->State(), dsEdit);
    EXPECT_EQ(FieldBitmapWidth(Foto()), 3);
    image_->Widget()->setParent(nullptr);
}

} // namespace
