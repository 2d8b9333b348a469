#include "platform/formfile/form_error.h"
#include "platform/formfile/form_parser.h"
#include "tests/support/raised.h"

#include <gtest/gtest.h>

namespace {

TEST(FormParser, ReadsEveryKindOfValue) {
    const FormNode root = ParseForm(R"(# comment
TRoot root
  S = "a \"b\" \\ c"
  I = -12
  F = 1.5
  Id = fdmqb.QBorrar
  Set = [akLeft, akTop]
  Empty = []
  L = lines
    "c:\\dorvan"
    ""
  B = bytes
    89504E47 0d0a
    1A0A
  C = items
    item
      Name = "COD"
      Value = "01"
    item
      Name = "X"
  TChild child
    Align = alTop
)",
                                    "t.form");
    EXPECT_EQ(root.className, "TRoot");
    EXPECT_EQ(root.name, "root");
    ASSERT_EQ(root.properties.size(), 9u);
    const auto& p = root.properties;
    EXPECT_EQ(p[0].value->kind, FormValue::Kind::String);
    EXPECT_EQ(p[0].value->text, R"(a "b" \ c)");
    EXPECT_EQ(p[1].value->integer, -12);
    EXPECT_EQ(p[2].value->kind, FormValue::Kind::Float);
    EXPECT_DOUBLE_EQ(p[2].value->number, 1.5);
    EXPECT_EQ(p[3].value->kind, FormValue::Kind::Identifier);
    EXPECT_EQ(p[3].value->text, "fdmqb.QBorrar");
    EXPECT_EQ(p[4].value->list, (QStringList{"akLeft", "akTop"}));
    EXPECT_TRUE(p[5].value->list.isEmpty());
    EXPECT_EQ(p[6].value->list, (QStringList{"c:\\dorvan", ""}));
    EXPECT_EQ(p[7].value->bytes, QByteArray::fromHex("89504E470D0A1A0A"));
    ASSERT_EQ(p[8].value->items.size(), 2u);
    EXPECT_EQ(p[8].value->items[0][1].value->text, "01");
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0].name, "child");
    EXPECT_EQ(root.children[0].line, 21);
}

struct BadForm {
    const char* text;
    int line;
    const char* what;
};

// Names a case in test listings.
void PrintTo(const BadForm& c, std::ostream* os) {
    *os << c.what;
}

class FormParserErrors : public testing::TestWithParam<BadForm> {};

TEST_P(FormParserErrors, NameFileAndLine) {
    const BadForm& c = GetParam();
    const auto e = Raised<EFormError>([&] { ParseForm(QString::fromUtf8(c.text), "bad.form"); });
    EXPECT_EQ(e.File(), "bad.form");
    EXPECT_EQ(e.Line(), c.line) << e.what();
    EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.what))) << e.what();
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("bad.form:%1: ").arg(c.line)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormParserErrors,
    testing::Values(BadForm{"", 1, "Empty"}, BadForm{"  TRoot root\n", 1, "indented"},
                    BadForm{"TRoot\n", 1, "component block"},
                    BadForm{"TRoot root\n  S = \"open\n", 2, "Unterminated"},
                    BadForm{"TRoot root\n  S = \"a\" x\n", 2, "after the string"},
                    BadForm{"TRoot root\n  S = \"\\q\"\n", 2, "escape"},
                    BadForm{"TRoot root\n  A = 1\n   B = 2\n", 3, "Inconsistent"},
                    BadForm{"TRoot root\n\tA = 1\n", 2, "Tabs"},
                    BadForm{"TRoot root\n  A =\n", 2, "Missing value"},
                    BadForm{"TRoot root\n  A = 12x\n", 2, "Bad number"},
                    BadForm{"TRoot root\n  A = [a b]\n", 2, "set element"},
                    BadForm{"TRoot root\n  A = bytes\n    ABC\n", 3, "odd"},
                    BadForm{"TRoot root\n  A = bytes\n    zz\n", 3, "hexadecimal"},
                    BadForm{"TRoot root\n  A = items\n    Name = 1\n", 3, "Expected item"},
                    BadForm{"TRoot root\nTRoot other\n", 2, "one root"}));

} // namespace
