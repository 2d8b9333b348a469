#include "platform/system/command_line.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct SplitCase {
    const char16_t* text;
    QStringList arguments;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << QString::fromUtf16(c.text).toStdString();
}

class SplitCommandLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, Splits) {
    EXPECT_EQ(SplitCommandLine(QStringView(GetParam().text)), GetParam().arguments);
}

using L = QStringList;

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    testing::Values(
        SplitCase{u"", L{}}, SplitCase{u"   \t ", L{}}, SplitCase{u"prog", L{"prog"}},
        SplitCase{u"  prog   a  b ", L{"prog", "a", "b"}},
        SplitCase{u"prog\ta\r\nb\x01"
                  u"c",
                  L{"prog", "a", "b", "c"}},
        SplitCase{u"prog \"a b\" c", L{"prog", "a b", "c"}},
        SplitCase{u"prog a\"b c\"d", L{"prog", "ab cd"}},
        SplitCase{u"prog x\"\"y", L{"prog", "xy"}},
        // A bare pair of quotes takes no position.
        SplitCase{u"prog a \"\" b", L{"prog", "a", "b"}}, SplitCase{u"prog a \"\"", L{"prog", "a"}},
        SplitCase{u"prog \"\"x", L{"prog", "x"}},
        SplitCase{u"prog \"\" \"\"\"\" a", L{"prog", "a"}}, SplitCase{u"\"\" prog", L{"prog"}},
        // A quoted blank is an argument; a quote left open runs to the end.
        SplitCase{u"prog \" \" a", L{"prog", " ", "a"}},
        SplitCase{u"prog \"a  b", L{"prog", "a  b"}}, SplitCase{u"prog a \"", L{"prog", "a"}},
        SplitCase{u"\"C:\\Program Files\\t.exe\" /x", L{"C:\\Program Files\\t.exe", "/x"}},
        SplitCase{u"prog año €", L{"prog", "año", "€"}}));

TEST(SplitCommandLine, StopsAtANulCharacter) {
    const char16_t text[] = u"prog a\0b c";
    EXPECT_EQ(SplitCommandLine(QStringView(text, std::size(text) - 1)), (L{"prog", "a"}));
}

struct RebuildCase {
    QStringList argv;
    const char16_t* commandLine;
    QStringList arguments; // what the program then reads
};

void PrintTo(const RebuildCase& c, std::ostream* os) {
    *os << c.argv.join(u' ').toStdString();
}

class CommandLineFromArgumentsTest : public testing::TestWithParam<RebuildCase> {};

TEST_P(CommandLineFromArgumentsTest, RebuildsWhatWindowsWouldHold) {
    const RebuildCase& c = GetParam();
    const QString text = CommandLineFromArguments(c.argv);
    EXPECT_EQ(text, QString::fromUtf16(c.commandLine));
    EXPECT_EQ(SplitCommandLine(text), c.arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineFromArgumentsTest,
    testing::Values(
        RebuildCase{L{"prog", "a", "b"}, u"prog a b", L{"prog", "a", "b"}},
        RebuildCase{L{"/opt/my prog", "srv:/d b", "u"}, u"\"/opt/my prog\" \"srv:/d b\" u",
                    L{"/opt/my prog", "srv:/d b", "u"}},
        // An empty element is a bare pair of quotes: it takes no position.
        RebuildCase{L{"prog", "a", "", "b", ""}, u"prog a \"\" b \"\"", L{"prog", "a", "b"}},
        RebuildCase{L{"prog", "\t", " x "}, u"prog \"\t\" \" x \"", L{"prog", "\t", " x "}},
        // Quotes inside an element cannot be expressed; dropping them keeps
        // the following elements in their positions.
        RebuildCase{L{"prog", "pa\"ss", "x\" y", "next"}, u"prog pass \"x y\" next",
                    L{"prog", "pass", "x y", "next"}},
        RebuildCase{L{"prog", "\"", "a"}, u"prog \"\" a", L{"prog", "a"}},
        RebuildCase{L{}, u"", L{}}));

TEST(ParamStr, ReadsThePositionsOfMainsArguments) {
    InitCommandLine(L{"articulosmqb", "localhost:/data", "sysdba", "clave secreta", "7", "5", "6",
                      "7", "8", "9", "S", "S"});
    EXPECT_EQ(ParamCount(), 11);
    EXPECT_EQ(ParamStr(0), QStringLiteral("articulosmqb"));
    EXPECT_EQ(ParamStr(1), QStringLiteral("localhost:/data"));
    EXPECT_EQ(ParamStr(3), QStringLiteral("clave secreta"));
    EXPECT_EQ(ParamStr(11), QStringLiteral("S"));
    EXPECT_EQ(ParamStr(12), QString());
    EXPECT_EQ(ParamStr(-1), QString());
    EXPECT_EQ(CmdLine(), QStringLiteral("articulosmqb localhost:/data sysdba \"clave secreta\" 7 "
                                        "5 6 7 8 9 S S"));
}

TEST(ParamStr, AnEmptyArgumentMovesTheFollowingOnesDown) {
    InitCommandLine(L{"articulosmqb", "srv", "u", "", "p", "1", "5", "6", "7", "8", "9", "S"});
    EXPECT_EQ(ParamCount(), 10);
    EXPECT_EQ(ParamStr(3), QStringLiteral("p"));
    EXPECT_EQ(ParamStr(10), QStringLiteral("S"));
    EXPECT_EQ(ParamStr(11), QString());
}

TEST(ParamStr, NoArgumentsAtAll) {
    InitCommandLine(L{});
    EXPECT_EQ(ParamCount(), 0);
    EXPECT_EQ(ParamStr(0), QString());
}

} // namespace
