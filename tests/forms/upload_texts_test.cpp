#include "forms/upload_texts.h"
#include "platform/core/exception.h"
#include "tests/support/raised.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace {

TEST(UploadTexts, ValuesAreQuotedWithTheirQuotesDoubled) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "''"},
        {"14:05:09", "'14:05:09'"},
        {"  :  :  ", "'  :  :  '"},
        {"o'clock", "'o''clock'"},
        {"''", "''''''"},
        {"x'); drop table ARTICULOS; --", "'x''); drop table ARTICULOS; --'"},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(QuotedStr(QString::fromUtf8(text)), QString::fromUtf8(quoted)) << text;
}

TEST(UploadTexts, TheStatementsCarryTheBoundAndTheCompany) {
    EXPECT_EQ(ChangedArticlesStatement("05/04/2020", "10:00:00"),
              "SELECT * FROM ARTICULOS_MIQUELBO('05/04/2020','10:00:00')");
    EXPECT_EQ(ChangedArticlesStatement("04/05/2020", "it's"),
              "SELECT * FROM ARTICULOS_MIQUELBO('04/05/2020','it''s')");
    // The date in the one form the server reads alike everywhere.
    EXPECT_EQ(CompanyStampStatement(EncodeDate(2020, 4, 5), "  :  :  ", "12"),
              "UPDATE COMPANIA SET COMP_FECACT = '2020-04-05', COMP_HORACT = '  :  :  ' WHERE "
              "COMP_ID = 12");
    EXPECT_EQ(CompanyStampStatement(EncodeDate(1899, 12, 30), "09:00:00", "1"),
              "UPDATE COMPANIA SET COMP_FECACT = '1899-12-30', COMP_HORACT = '09:00:00' WHERE "
              "COMP_ID = 1");
}

TEST(UploadTexts, CodesThatCannotNameAFileAreRefused) {
    const char* const bad[] = {"",     "A/B", "A\\B", "..\\..\\x", "C:x",  "A*",   "A?",
                               "A\"B", "<A",  "A>",   "A|B",       "A\tB", "A\nB", "\x1f"};
    for (const char* code : bad) {
        const QString text = QString::fromUtf8(code);
        EXPECT_EQ(Raised<Exception>([&] { CheckedPhotoCode(text); }).Message(),
                  QStringLiteral("El código de artículo no sirve como nombre de archivo: \"") +
                      text + u'"')
            << code;
    }
    // Prefixed with the company, none of these leaves the folder.
    const char* const good[] = {"A1", "TORN-14", "a b", "Ñandú.x", "..", "A.", "#1", "%20", "~"};
    for (const char* code : good)
        EXPECT_EQ(CheckedPhotoCode(QString::fromUtf8(code)), QString::fromUtf8(code)) << code;
}

// The address carries every character a URL path cannot carry as it is
// percent-encoded (in UTF-8), so that it names the file written.
TEST(UploadTexts, ThePhotographsAddressNamesItsFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"B2", "1-B2.jpg"},
        {"A-1_b.~", "1-A-1_b.~.jpg"},
        {"a b", "1-a%20b.jpg"},
        {"#1", "1-%231.jpg"},
        {"%20", "1-%2520.jpg"},
        {"a+b&c=d;e,f", "1-a%2Bb%26c%3Dd%3Be%2Cf.jpg"},
        {"O'Hara (2)", "1-O%27Hara%20%282%29.jpg"},
        {"Ñandú", "1-%C3%91and%C3%BA.jpg"},
        {"€5", "1-%E2%82%AC5.jpg"}, // the euro sign, 0x80 in Windows-1252
        {"..", "1-...jpg"},
    };
    const QString kBase = QStringLiteral("https://fotos.example.test");
    const QString folder = kBase + QStringLiteral("/trevola/imgarti/");
    for (const auto& [code, name] : cases) {
        const QString text = QString::fromUtf8(code);
        SCOPED_TRACE(code);
        EXPECT_EQ(PhotoAddress(kBase, "1", text), folder + QString::fromUtf8(name));
        const QUrl url(PhotoAddress(kBase, "1", text), QUrl::StrictMode);
        ASSERT_TRUE(url.isValid());
        EXPECT_EQ(url.path(QUrl::FullyDecoded),
                  QStringLiteral("/trevola/imgarti/") + PhotoFile("1", text).section(u'\\', -1));
    }
}

TEST(UploadTexts, ThePhotographIsNamedAfterCompanyAndCode) {
    EXPECT_EQ(PhotoAddress("http://www.trevola.invalid", "1", "B2"),
              "http://www.trevola.invalid/trevola/imgarti/1-B2.jpg");
    EXPECT_EQ(PhotoFolderAddress("http://www.trevola.invalid"),
              "http://www.trevola.invalid/trevola/imgarti");
    EXPECT_EQ(PhotoFile("1", "B2"), "c:\\wamp\\www\\trevola\\imgarti\\1-B2.jpg");
    EXPECT_EQ(PhotoFile("12", "Ñ 1"), "c:\\wamp\\www\\trevola\\imgarti\\12-Ñ 1.jpg");
}

} // namespace
