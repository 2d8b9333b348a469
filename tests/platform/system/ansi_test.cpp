#include "platform/system/ansi.h"

#include <QSet>
#include <gtest/gtest.h>
#include <ostream>

namespace {

TEST(Ansi, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = FromAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(QSet<QChar>(text.cbegin(), text.cend()).size(), 256);
    EXPECT_EQ(ToAnsi(text), all);
}

struct CharCase {
    unsigned char byte;
    char16_t character;
};

void PrintTo(const CharCase& c, std::ostream* os) {
    *os << "byte " << static_cast<int>(c.byte);
}

class AnsiTableTest : public testing::TestWithParam<CharCase> {};

TEST_P(AnsiTableTest, MapsBothWays) {
    const CharCase& c = GetParam();
    const char byte = static_cast<char>(c.byte);
    EXPECT_EQ(FromAnsi(QByteArrayView(&byte, 1)), QString(QChar(c.character)));
    EXPECT_EQ(ToAnsi(QString(QChar(c.character))), QByteArray(1, byte));
}

INSTANTIATE_TEST_SUITE_P(
    Windows1252, AnsiTableTest,
    testing::Values(
        CharCase{0x80, u'€'}, CharCase{0x81, 0x0081}, CharCase{0x82, u'‚'}, CharCase{0x83, u'ƒ'},
        CharCase{0x84, u'„'}, CharCase{0x85, u'…'}, CharCase{0x86, u'†'}, CharCase{0x87, u'‡'},
        CharCase{0x88, u'ˆ'}, CharCase{0x89, u'‰'}, CharCase{0x8A, u'Š'}, CharCase{0x8B, u'‹'},
        CharCase{0x8C, u'Œ'}, CharCase{0x8D, 0x008D}, CharCase{0x8E, u'Ž'}, CharCase{0x8F, 0x008F},
        CharCase{0x90, 0x0090}, CharCase{0x91, u'‘'}, CharCase{0x92, u'’'}, CharCase{0x93, u'“'},
        CharCase{0x94, u'”'}, CharCase{0x95, u'•'}, CharCase{0x96, u'–'}, CharCase{0x97, u'—'},
        CharCase{0x98, u'˜'}, CharCase{0x99, u'™'}, CharCase{0x9A, u'š'}, CharCase{0x9B, u'›'},
        CharCase{0x9C, u'œ'}, CharCase{0x9D, 0x009D}, CharCase{0x9E, u'ž'}, CharCase{0x9F, u'Ÿ'},
        CharCase{0xA0, 0x00A0}, CharCase{0xD1, u'Ñ'}, CharCase{0xF1, u'ñ'}, CharCase{0xFF, u'ÿ'},
        CharCase{0x00, 0x0000}, CharCase{0x7F, 0x007F}));

TEST(Ansi, UnmappableCharactersBecomeQuestionMarks) {
    // The C1 controls that Windows-1252 fills with other characters, a letter
    // beyond Latin-1, a CJK character, a character outside the BMP (one mark,
    // not two) and a lone surrogate.
    const QString text = QStringLiteral("a\u0080b\u0100c\u4e2dd") +
                         QString::fromUcs4(U"\U0001F600") + QChar(0xD800) + QStringLiteral("e");
    EXPECT_EQ(ToAnsi(text), QByteArray("a?b?c?d??e"));
}

TEST(Ansi, SpanishText) {
    const QString text = QStringLiteral("Está borrando año ¿Qué? 5 €");
    const QByteArray bytes = ToAnsi(text);
    EXPECT_EQ(bytes, QByteArray("Est\xe1 borrando a\xf1o \xbfQu\xe9? 5 \x80"));
    EXPECT_EQ(FromAnsi(bytes), text);
}

} // namespace
