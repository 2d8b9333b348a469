// Parameters and the parsing of ":NAME" parameters out of statement text.

#include "data/dataset/db_error.h"
#include "data/dataset/params.h"
#include "tests/support/database_error_of.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* sql;
    const char* text;
    QStringList names;
};

} // namespace

TEST(ParamParsing, FollowsTheRules) {
    const ParseCase cases[] = {
        {"SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD",
         "SELECT * FROM ARTICULOS WHERE ARTI_COD = ?",
         {"COD"}},
        {"select 1 from T", "select 1 from T", {}},
        {"where A = :A and B = :b_2", "where A = ? and B = ?", {"A", "b_2"}},
        // A repeated name gives two markers and one parameter.
        {"where A = :X or B = :X", "where A = ? or B = ?", {"X", "X"}},
        // Names end at anything that is not a letter, digit, '_' or '$'.
        {"values (:A,:B);", "values (?,?);", {"A", "B"}},
        {"where (C=:C)and D = :D$1||'x'", "where (C=?)and D = ?||'x'", {"C", "D$1"}},
        {"x = :1", "x = ?", {"1"}},
        // Colons inside quotes of both kinds are text.
        {"where A = ':NOT' and :YES = 1", "where A = ':NOT' and ? = 1", {"YES"}},
        {"select \"A:B\" from T where C = :C", "select \"A:B\" from T where C = ?", {"C"}},
        {"where A = 'it''s :NO' and B = :B", "where A = 'it''s :NO' and B = ?", {"B"}},
        {"where A = 'a\"b' and B = :B", "where A = 'a\"b' and B = ?", {"B"}},
        // A doubled colon is one literal colon.
        {"select '1' || '::' from T where A = a::b", "select '1' || '::' from T where A = a:b", {}},
        {"x = ::A", "x = :A", {}},
        // A colon before anything else stays.
        {"x = : A, y = :", "x = : A, y = :", {}},
        {"x := 1", "x := 1", {}},
        // A double-quoted name may hold any character.
        {"where A = :\"My Param\" and B = 2", "where A = ? and B = 2", {"My Param"}},
        // An unterminated quote keeps the rest as text.
        {"where A = 'open :X", "where A = 'open :X", {}},
        {"where A = :\"open", "where A = :\"open", {}},
        // Non-ASCII letters are letters.
        {"where A = :Año", "where A = ?", {"Año"}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.sql);
        const TParsedSql parsed = TParams::Parse(QString::fromUtf8(c.sql));
        EXPECT_EQ(parsed.text, QString::fromUtf8(c.text));
        EXPECT_EQ(parsed.names, c.names);
    }
}

TEST(ParamParsing, ParseSqlCreatesOneInputParameterPerName) {
    TParams params;
    params.CreateParam(ftString, QStringLiteral("OLD"), ptInput);
    const QString text = params.ParseSQL(QStringLiteral("where A = :A or B = :B or C = :a"), true);
    EXPECT_EQ(text, QStringLiteral("where A = ? or B = ? or C = ?"));
    ASSERT_EQ(params.Count(), 2);
    EXPECT_EQ(params[0].Name(), QStringLiteral("A"));
    EXPECT_EQ(params[1].Name(), QStringLiteral("B"));
    EXPECT_EQ(params[0].ParamType(), ptInput);
    EXPECT_EQ(params[0].DataType(), ftUnknown);
    // Without doCreate the list stays.
    params.ParseSQL(QStringLiteral("where X = :X"), false);
    EXPECT_EQ(params.Count(), 2);
}

TEST(Params, AreFoundByNameWithoutCase) {
    TParams params;
    params.CreateParam(ftString, QStringLiteral("COD"), ptInput).SetAsString(QStringLiteral("01"));
    EXPECT_EQ(params.FindParam(u"cod"), &params[0]);
    EXPECT_EQ(params.ParamByName(u"Cod").AsString(), QStringLiteral("01"));
    EXPECT_EQ(params.FindParam(u"other"), nullptr);
    EXPECT_EQ(DatabaseErrorOf([&] { params.ParamByName(u"other"); }),
              QStringLiteral("Parameter 'other' not found"));
}

TEST(Params, AssignValuesKeepsTheParametersOfTheSameName) {
    TParams old;
    old.CreateParam(ftString, QStringLiteral("COD"), ptInput).SetValue(QStringLiteral("01"));
    old.CreateParam(ftInteger, QStringLiteral("GONE"), ptInput).SetValue(5);
    TParams rebuilt;
    rebuilt.ParseSQL(QStringLiteral("where A = :cod and B = :NEW"), true);
    rebuilt.AssignValues(old);
    ASSERT_EQ(rebuilt.Count(), 2);
    EXPECT_EQ(rebuilt[0].Name(), QStringLiteral("cod"));
    EXPECT_EQ(rebuilt[0].DataType(), ftString);
    EXPECT_EQ(rebuilt[0].Value(), TValue(QStringLiteral("01")));
    EXPECT_TRUE(rebuilt[1].IsNull());
    EXPECT_EQ(rebuilt[1].DataType(), ftUnknown);
}

TEST(Params, CopiesAreDeepAndComparable) {
    TParams a;
    a.CreateParam(ftString, QStringLiteral("A"), ptInput).SetValue(QStringLiteral("x"));
    TParams b = a;
    EXPECT_TRUE(a.IsEqual(b));
    b[0].SetValue(QStringLiteral("y"));
    EXPECT_FALSE(a.IsEqual(b));
    EXPECT_EQ(a[0].AsString(), QStringLiteral("x"));
    b = a;
    b.CreateParam(ftInteger, QStringLiteral("B"), ptInput);
    EXPECT_FALSE(a.IsEqual(b));
}

TEST(Param, SettersSetTheDataType) {
    TParam p;
    p.SetAsInteger(3);
    EXPECT_EQ(p.DataType(), ftInteger);
    p.SetAsString(QStringLiteral("x"));
    EXPECT_EQ(p.DataType(), ftString);
    p.SetDataType(ftFixedChar);
    p.SetAsString(QStringLiteral("y"));
    EXPECT_EQ(p.DataType(), ftFixedChar);
    p.SetAsFMTBCD(TBcd{1250, 2});
    EXPECT_EQ(p.DataType(), ftFMTBcd);
    EXPECT_EQ(p.AsString(), QStringLiteral("12.50"));
    p.SetAsBlob(QByteArray("\x01\x02"));
    EXPECT_EQ(p.DataType(), ftBlob);
    p.Clear();
    EXPECT_TRUE(p.IsNull());
    EXPECT_EQ(p.DataType(), ftBlob);
    // A value given to a parameter of no type gives it the value's type.
    TParam q;
    q.SetValue(TValue(2.5));
    EXPECT_EQ(q.DataType(), ftFloat);
    EXPECT_EQ(ParamTypeFromIdent(u"ptinput"), ptInput);
    EXPECT_EQ(ParamTypeIdent(ptOutput), QStringLiteral("ptOutput"));
}

TEST(FieldTypes, HaveNamesAndIdentifiers) {
    EXPECT_EQ(FieldTypeName(ftString), QStringLiteral("String"));
    EXPECT_EQ(FieldTypeName(ftSmallint), QStringLiteral("SmallInt"));
    EXPECT_EQ(FieldTypeName(ftFMTBcd), QStringLiteral("FMTBcd"));
    EXPECT_EQ(FieldTypeName(ftTimeStamp), QStringLiteral("TimeStamp"));
    EXPECT_EQ(FieldTypeIdent(ftFixedChar), QStringLiteral("ftFixedChar"));
    EXPECT_EQ(FieldTypeFromIdent(u"FTSTRING"), ftString);
    EXPECT_EQ(FieldTypeFromIdent(u"ftNothing"), std::nullopt);
    EXPECT_TRUE(IsBlobType(ftMemo));
    EXPECT_TRUE(IsBlobType(ftBlob));
    EXPECT_FALSE(IsBlobType(ftString));
    EXPECT_TRUE(IsStringType(ftFixedChar));
}

TEST(Params, TakeNamesAsAnyKindOfString) {
    TParams params;
    params.CreateParam(ftString, QStringLiteral("COD"), ptInput).SetAsString(QStringLiteral("01"));
    EXPECT_EQ(params.ParamByName("cod").AsString(), QStringLiteral("01"));
    EXPECT_EQ(params.ParamByName(u"cod").AsString(), QStringLiteral("01"));
    EXPECT_EQ(params.ParamByName(QStringLiteral("cod")).AsString(), QStringLiteral("01"));
    EXPECT_NE(params.FindParam("COD"), nullptr);
}
