#include "forms/company_number.h"
#include "platform/core/exception.h"
#include "tests/support/raised.h"

#include <gtest/gtest.h>

namespace {

TEST(CompanyNumber, DigitsGoThroughExactlyAsTyped) {
    for (const char* text : {"1", "007", "1234567890123"})
        EXPECT_EQ(CheckedCompanyNumber(QString::fromLatin1(text)), QString::fromLatin1(text));
}

class NotACompanyNumber : public testing::TestWithParam<const char*> {};

TEST_P(NotACompanyNumber, IsRefusedWithTheTextInQuotes) {
    const QString text = QString::fromUtf8(GetParam());
    EXPECT_EQ(Raised<Exception>([&] { CheckedCompanyNumber(text); }).Message(),
              QStringLiteral("El número de compañía no es válido: \"") + text +
                  QStringLiteral("\""));
}

// Arabic-Indic and full-width digits are digits to Unicode, not to SQL.
INSTANTIATE_TEST_SUITE_P(Texts, NotACompanyNumber,
                         testing::Values("", "1 OR 1=1", "1;", " 1", "1 ", "-1", "+1", " ", "1.0",
                                         "0x1", "1\n", "\xD9\xA1", "\xEF\xBC\x91"));

} // namespace
