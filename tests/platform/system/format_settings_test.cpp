#include "platform/system/datetime.h"
#include "platform/system/format_settings.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The program's settings come from the system locale, which Qt reads from
// LC_ALL on first use; this runs before any test.
const bool systemLocaleChosen = [] {
    setenv("LC_ALL", "fi_FI.UTF-8", 1);
    return true;
}();

struct LocaleCase {
    const char* name;
    char16_t dateSeparator;
    char16_t timeSeparator;
    bool fourDigitYear;
    const char16_t* date; // 23 April 2020 in the short date format
    const char16_t* time; // 14:05:09 in the long time format
};

void PrintTo(const LocaleCase& c, std::ostream* os) {
    *os << c.name;
}

class FromLocaleTest : public testing::TestWithParam<LocaleCase> {};

TEST_P(FromLocaleTest, GivesTheLogLineTexts) {
    const LocaleCase& c = GetParam();
    const TFormatSettings s = TFormatSettings::FromLocale(QLocale(QString::fromLatin1(c.name)));
    EXPECT_EQ(s.DateSeparator, QChar(c.dateSeparator));
    EXPECT_EQ(s.TimeSeparator, QChar(c.timeSeparator));
    EXPECT_EQ(s.FourDigitYear(), c.fourDigitYear) << s.ShortDateFormat.toStdString();
    const TDateTime moment = EncodeDateTime(2020, 4, 23, 14, 5, 9, 0);
    EXPECT_EQ(FormatDateTime(s.ShortDateFormat, moment, s), QString::fromUtf16(c.date))
        << s.ShortDateFormat.toStdString();
    EXPECT_EQ(FormatDateTime(s.LongTimeFormat, moment, s), QString::fromUtf16(c.time))
        << s.LongTimeFormat.toStdString();
}

// AM/PM markers and time zones are dropped with the blanks and brackets
// around them; a day-first short date stays day-first; a two-digit year
// is widened to four digits.
INSTANTIATE_TEST_SUITE_P(
    Locales, FromLocaleTest,
    testing::Values(LocaleCase{"es_ES", u'/', u':', true, u"23/4/2020", u"14:05:09"},
                    LocaleCase{"es_MX", u'/', u':', true, u"23/04/2020", u"14:05:09"},
                    LocaleCase{"en_US", u'/', u':', true, u"4/23/2020", u"14:05:09"},
                    LocaleCase{"de_DE", u'.', u':', true, u"23.04.2020", u"14:05:09"},
                    LocaleCase{"fi_FI", u'.', u'.', true, u"23.4.2020", u"14.05.09"},
                    LocaleCase{"da_DK", u'.', u'.', true, u"23.04.2020", u"14.05.09"},
                    LocaleCase{"en_GB", u'/', u':', true, u"23/04/2020", u"14:05:09"},
                    LocaleCase{"sv_SE", u'-', u':', true, u"2020-04-23", u"14:05:09"},
                    LocaleCase{"hu_HU", u'.', u':', true, u"2020. 04. 23.", u"14:05:09"},
                    LocaleCase{"bg_BG", u'.', u':', true, u"23.04.2020 г.", u"14:05:09 ч."},
                    LocaleCase{"ko_KR", u'.', u':', true, u"2020. 4. 23.", u"14시 5분 9초"},
                    LocaleCase{"fr_CA", u'-', u':', true, u"2020-04-23", u"14 h 05 min 09 s"},
                    LocaleCase{"ar_EG", u'/', u':', true, u"23\u200f/4\u200f/2020", u"14:05:09"},
                    LocaleCase{"C", u'/', u':', true, u"04/23/2020", u"14:05:09"}));

TEST(FromLocale, UsesTheFormatterLetters) {
    const TFormatSettings es = TFormatSettings::FromLocale(QLocale(QStringLiteral("es_ES")));
    EXPECT_EQ(es.ShortDateFormat, QStringLiteral("d/M/yyyy"));
    EXPECT_EQ(es.LongTimeFormat, QStringLiteral("H:mm:ss"));
    const TFormatSettings fi = TFormatSettings::FromLocale(QLocale(QStringLiteral("fi_FI")));
    EXPECT_EQ(fi.ShortDateFormat, QStringLiteral("d/M/yyyy"));
    EXPECT_EQ(fi.LongTimeFormat, QStringLiteral("H:mm:ss"));
}

TEST(FourDigitYear, LooksForThreeOrMoreYearLetters) {
    TFormatSettings s;
    for (auto [format, expected] : {std::pair{"dd/MM/yy", false}, std::pair{"dd/MM/yyyy", true},
                                    std::pair{"YYY/MM", true}, std::pair{"d/M/Yy", false}}) {
        s.ShortDateFormat = QString::fromLatin1(format);
        EXPECT_EQ(s.FourDigitYear(), expected) << format;
    }
}

TEST(ProgramSettings, StartFromTheSystemLocaleAndCanBeReloaded) {
    ASSERT_TRUE(systemLocaleChosen);
    EXPECT_EQ(FormatSettings().TimeSeparator, QChar(u'.'));
    const TDateTime moment = EncodeDateTime(2020, 4, 23, 14, 5, 9, 0);
    EXPECT_EQ(FormatDateTime(FormatSettings().LongTimeFormat, moment), QStringLiteral("14.05.09"));

    LoadFromLocale(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(FormatDateTime(FormatSettings().ShortDateFormat, moment),
              QStringLiteral("23.04.2020"));
    EXPECT_EQ(FormatSettings().TimeSeparator, QChar(u':'));
    LoadFromLocale(QLocale::system());
}

} // namespace

TEST(FromLocale, TakesTheDecimalSeparator) {
    EXPECT_EQ(TFormatSettings::FromLocale(QLocale(QStringLiteral("es_ES"))).DecimalSeparator,
              QChar(u','));
    EXPECT_EQ(TFormatSettings::FromLocale(QLocale(QStringLiteral("es_MX"))).DecimalSeparator,
              QChar(u'.'));
    EXPECT_EQ(TFormatSettings::FromLocale(QLocale::c()).DecimalSeparator, QChar(u'.'));
}
