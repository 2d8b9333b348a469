// The image control in form descriptions: its class defaults and every
// published property it reads.

#include "dbimage_fixture.h"

namespace {

TEST(DbImageForm, ANewControlHasTheClassDefaults) {
    TEDBImage image;
    EXPECT_TRUE(image.AutoDisplay());
    EXPECT_EQ(image.BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_TRUE(image.Center());
    EXPECT_TRUE(image.DataField().isEmpty());
    EXPECT_EQ(image.DataSource(), nullptr);
    EXPECT_TRUE(image.QuickDraw());
    EXPECT_FALSE(image.ReadOnly());
    EXPECT_FALSE(image.ShrinkToFit());
    EXPECT_FALSE(image.ZoomToFit());
    EXPECT_TRUE(image.TabStop());
    EXPECT_FALSE(image.ParentColor());
    EXPECT_EQ(image.Width(), 105);
    EXPECT_EQ(image.Height(), 105);
    EXPECT_FALSE(image.PictureLoaded());
    EXPECT_EQ(image.Picture().Graphic(), nullptr);
    EXPECT_EQ(image.Widget()->focusPolicy(), Qt::StrongFocus);
}

TEST_F(DbImageTest, TheDescriptionSetsEveryPublishedProperty) {
    ReadWindow(QStringLiteral("    AutoDisplay = False\n"
                              "    BorderStyle = bsNone\n"
                              "    Center = False\n"
                              "    Color = \"#102030\"\n"
                              "    QuickDraw = False\n"
                              "    ReadOnly = True\n"
                              "    ShrinkToFit = True\n"
                              "    ZoomToFit = True\n"
                              "    TabStop = False\n"
                              "    Left = 8\n"
                              "    Top = 9\n"
                              "    Width = 120\n"
                              "    Height = 90\n"));
    EXPECT_FALSE(image_->AutoDisplay());
    EXPECT_EQ(image_->BorderStyle(), TBorderStyle::bsNone);
    EXPECT_FALSE(image_->Center());
    EXPECT_EQ(image_->Color(), QColor(0x10, 0x20, 0x30));
    EXPECT_FALSE(image_->QuickDraw());
    EXPECT_TRUE(image_->ReadOnly());
    EXPECT_TRUE(image_->ShrinkToFit());
    EXPECT_TRUE(image_->ZoomToFit());
    EXPECT_FALSE(image_->TabStop());
    EXPECT_FALSE(image_->Visible());
    EXPECT_EQ(QRect(image_->Left(), image_->Top(), image_->Width(), image_->Height()),
              QRect(8, 9, 120, 90));
    EXPECT_EQ(image_->DataSource(), source_);
    EXPECT_EQ(image_->DataField(), QStringLiteral("FOTO"));
    EXPECT_EQ(image_->DataLink().Control(), image_);
}

TEST_F(DbImageTest, ADataSourceReferenceMustNameADataSource) {
    EXPECT_THROW(ReadWindow(QStringLiteral("    DataSource = CArticulos\n")), Exception);
}

} // namespace
