#include "controls/timeedit/register_time_edit_classes.h"
#include "platform/formfile/form_error.h"
#include "platform/formfile/form_reader.h"
#include "time_edit_fixture.h"

namespace {

class RegisterTest : public testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTimeEditClasses(); }
    void SetUp() override { LoadFromLocale(QLocale::c()); }
    void Read(const char* body) {
        ReadComponentText(form_, {}, QStringLiteral("TForm w\n") + QString::fromLatin1(body),
                          QStringLiteral("test.form"));
    }
    TForm form_{nullptr};
};

TEST_F(RegisterTest, AFormDescriptionCreatesTheLoginWindowsTimeBox) {
    Read("  TDBDateTimeEditEh EHora\n"
         "    Left = 136\n"
         "    Top = 72\n"
         "    Width = 63\n"
         "    Height = 21\n"
         "    TabOrder = 2\n"
         "    Kind = dtkTimeEh\n"
         "    EditButton.Style = ebsDropDownEh\n");
    auto* box = FindRequired<TDBDateTimeEditEh>(form_, QStringLiteral("EHora"));
    EXPECT_EQ(box->ClassName(), "TDBDateTimeEditEh");
    EXPECT_EQ(box->Parent(), &form_);
    EXPECT_EQ(box->Width(), 63);
    EXPECT_EQ(box->TabOrder(), 2);
    EXPECT_EQ(box->Kind(), TDateTimeKindEh::dtkTimeEh);
    EXPECT_EQ(box->Text(), "  :  :  ");
    EXPECT_TRUE(box->EditButtons().empty());
}

TEST_F(RegisterTest, ButtonsAndPatternsComeFromTheDescriptionToo) {
    Read("  TDBDateTimeEditEh E\n"
         "    EditFormat = \"HH:NN\"\n"
         "    EditButton.ShortCut = \"F4\"\n"
         "    EditButtons = items\n"
         "      item\n"
         "        Style = ebsUpDownEh\n"
         "        Width = 12\n");
    auto* box = FindRequired<TDBDateTimeEditEh>(form_, QStringLiteral("E"));
    EXPECT_EQ(box->Kind(), TDateTimeKindEh::dtkCustomEh);
    EXPECT_EQ(box->Text(), "  :  ");
    EXPECT_EQ(box->EditButton().ShortCut(), QKeyCombination(Qt::Key_F4));
    ASSERT_EQ(box->EditButtons().size(), 1u);
    EXPECT_EQ(box->EditButtons()[0]->Style(), TEditButtonStyleEh::ebsUpDownEh);
    EXPECT_EQ(box->EditButtons()[0]->Width(), 12);
}

TEST_F(RegisterTest, ABadValueIsReportedWithTheLine) {
    EXPECT_THROW(Read("  TDBDateTimeEditEh E\n"
                      "    Kind = dtkWeekEh\n"),
                 EFormError);
    EXPECT_THROW(Read("  TDBDateTimeEditEh F\n"
                      "    EditFormat = \"HHH\"\n"),
                 EFormError);
}

} // namespace
