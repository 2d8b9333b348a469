#include "data/dataset/sql/update_sql.h"
#include "platform/core/exception.h"
#include "tests/data/resolver/articulos_delta.h"
#include "tests/support/raised.h"

#include <gtest/gtest.h>

namespace {

// The columns of ARTICULOS as a client dataset's delta describes them.
TDelta ArticulosDelta() {
    TDelta delta;
    delta.columns = ArticulosColumns();
    return delta;
}

const std::vector<TValue> kRead = {
    "A001", "Tornillo", "PZA", 1, 10, QByteArray("http://x/1-A001.jpg"), "S"};

struct SqlCase {
    const char* title;
    TDeltaChange change;
    QString table;
    QString sql;
    std::vector<TValue> params;
};

void PrintTo(const SqlCase& c, std::ostream* os) {
    *os << c.title;
}

class UpdateSql : public testing::TestWithParam<SqlCase> {};

TEST_P(UpdateSql, GeneratesTheWholeStatementAndItsParameters) {
    const SqlCase& c = GetParam();
    const auto statement =
        GenerateUpdateStatement(ArticulosDelta(), c.change, QuoteTableName(c.table, u'"'), u'"');
    ASSERT_TRUE(statement.has_value());
    EXPECT_EQ(statement->sql.toStdString(), c.sql.toStdString());
    std::vector<TValue> params;
    for (const TUpdateParam& p : statement->params)
        params.push_back(p.value);
    EXPECT_EQ(params, c.params);
}

const std::vector<TValue> kNulls(7);
// The where clause over every column but the blob, none of them null.
const QString kWhereAsRead = "where\r\n"
                             " \"ARTI_COD\" = ? and\r\n"
                             " \"ARTI_DES\" = ? and\r\n"
                             " \"ARTI_UNIDAD\" = ? and\r\n"
                             " \"CATE_ID\" = ? and\r\n"
                             " \"SUCA_ID\" = ? and\r\n"
                             " \"ARTI_ACTIVO\" = ?";
std::vector<TValue> Edited() {
    std::vector<TValue> v = kRead;
    v[1] = "Tornillo 1/4";
    v[4] = 11;
    return v;
}
std::vector<TValue> ReadWithNullUnit() {
    std::vector<TValue> v = kRead;
    v[2] = TValue();
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Statements, UpdateSql,
    testing::Values(
        SqlCase{"insert sends every column, null where nothing was set",
                Change(ukInsert, kNulls, {"B1", "Tuerca", TValue(), 2, TValue(), TValue(), "S"},
                       std::vector<bool>(7, true)),
                "ARTICULOS",
                "insert into \"ARTICULOS\"\r\n"
                "  (\"ARTI_COD\", \"ARTI_DES\", \"ARTI_UNIDAD\", \"CATE_ID\", \"SUCA_ID\", "
                "\"ARTI_FOTO\", \"ARTI_ACTIVO\")\r\n"
                "values\r\n"
                "  (?, ?, ?, ?, ?, ?, ?)",
                {"B1", "Tuerca", TValue(), 2, TValue(), TValue(), "S"}},
        SqlCase{"edit of two fields: set values, then the where values as read",
                Change(ukModify, kRead, Edited(), {false, true, false, false, true, false, false}),
                "ARTICULOS",
                "update \"ARTICULOS\"  set\r\n"
                " \"ARTI_DES\" = ?,\r\n"
                " \"SUCA_ID\" = ?\r\n" +
                    kWhereAsRead,
                {"Tornillo 1/4", 11, "A001", "Tornillo", "PZA", 1, 10, "S"}},
        SqlCase{"delete",
                Change(ukDelete, kRead, kRead, std::vector<bool>(7, false)),
                "ARTICULOS",
                "delete from \"ARTICULOS\" \r\n" + kWhereAsRead,
                {"A001", "Tornillo", "PZA", 1, 10, "S"}},
        SqlCase{
            "a null old value is compared with is null and takes no parameter",
            Change(ukDelete, ReadWithNullUnit(), ReadWithNullUnit(), std::vector<bool>(7, false)),
            "ARTICULOS",
            "delete from \"ARTICULOS\" \r\n"
            "where\r\n"
            " \"ARTI_COD\" = ? and\r\n"
            " \"ARTI_DES\" = ? and\r\n"
            " \"ARTI_UNIDAD\" is null and\r\n"
            " \"CATE_ID\" = ? and\r\n"
            " \"SUCA_ID\" = ? and\r\n"
            " \"ARTI_ACTIVO\" = ?",
            {"A001", "Tornillo", 1, 10, "S"}},
        SqlCase{"an already quoted table is not quoted again",
                Change(ukModify, kRead, Edited(), {false, false, false, false, true, false, false}),
                "\"ARTICULOS\"",
                "update \"ARTICULOS\"  set\r\n"
                " \"SUCA_ID\" = ?\r\n" +
                    kWhereAsRead,
                {11, "A001", "Tornillo", "PZA", 1, 10, "S"}},
        SqlCase{"a dotted name is quoted around each dot",
                Change(ukDelete, kRead, kRead, std::vector<bool>(7, false)),
                "TREVOLA.ARTICULOS",
                "delete from \"TREVOLA\".\"ARTICULOS\" \r\n" + kWhereAsRead,
                {"A001", "Tornillo", "PZA", 1, 10, "S"}}));

TEST(UpdateSqlRules, AnEditThatChangedNothingGeneratesNothing) {
    const auto statement = GenerateUpdateStatement(
        ArticulosDelta(), Change(ukModify, kRead, kRead, std::vector<bool>(7, false)), "\"T\"",
        u'"');
    EXPECT_FALSE(statement.has_value());
}

TEST(UpdateSqlRules, BlobsAreBoundAsBlobsAndLongValuesAreNeverCompared) {
    TDelta delta = ArticulosDelta();
    std::vector<TValue> read = kRead;
    read[1] = QString(8192, u'x'); // too long to compare
    std::vector<TValue> edited = read;
    edited[5] = QByteArray("http://x/new.jpg");
    const auto statement = GenerateUpdateStatement(
        delta, Change(ukModify, read, edited, {false, false, false, false, false, true, false}),
        "\"T\"", u'"');
    ASSERT_TRUE(statement.has_value());
    EXPECT_FALSE(statement->sql.contains("\"ARTI_DES\" ="));
    ASSERT_EQ(statement->params.size(), 6u); // the blob, then COD, UNIDAD, CATE_ID, SUCA_ID, ACTIVO
    EXPECT_EQ(statement->params[0].type, ftBlob);
}

TEST(UpdateSqlRules, HiddenReadOnlyAndNonUpdateFieldsStayOut) {
    TDelta delta = ArticulosDelta();
    delta.columns[1].readOnly = true;
    delta.columns[2].provFlags = pfInWhere;
    delta.columns[3].provFlags = pfInUpdate | pfInWhere | pfHidden;
    delta.columns[4].type = ftAutoInc;
    const auto statement = GenerateUpdateStatement(
        delta, Change(ukInsert, kNulls, kRead, std::vector<bool>(7, true)), "\"T\"", u'"');
    ASSERT_TRUE(statement.has_value());
    EXPECT_EQ(statement->sql,
              "insert into \"T\"\r\n  (\"ARTI_COD\", \"ARTI_FOTO\", \"ARTI_ACTIVO\")\r\n"
              "values\r\n  (?, ?, ?)");
}

TEST(UpdateSqlRules, WithoutAFieldToFindTheRowByTheChangeFails) {
    TDelta delta = ArticulosDelta();
    for (TPacketColumn& c : delta.columns)
        c.provFlags = pfInUpdate;
    EXPECT_EQ(Raised<Exception>([&] {
                  GenerateUpdateStatement(
                      delta, Change(ukDelete, kRead, kRead, std::vector<bool>(7, false)), "\"T\"",
                      u'"');
              }).Message(),
              "Unable to find record.  No key specified");
}

TEST(UpdateSqlRules, AColumnIsNamedByItsOriginWhenThePacketHasOne) {
    TDelta delta;
    delta.columns = {Column("CODE", ftString, 20)};
    delta.columns[0].origin = "ARTICULOS.ARTI_COD";
    const auto statement = GenerateUpdateStatement(delta, InsertOf({"A1"}), "\"ARTICULOS\"", u'"');
    ASSERT_TRUE(statement.has_value());
    EXPECT_EQ(statement->sql, "insert into \"ARTICULOS\"\r\n  (\"ARTI_COD\")\r\nvalues\r\n  (?)");
}

TEST(UpdateSqlRules, TheTableIsTakenAfterFrom) {
    EXPECT_EQ(TableNameFromStatement("SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD"), "ARTICULOS");
    EXPECT_EQ(TableNameFromStatement("select a from\r\n  trevola.articulos"), "trevola.articulos");
    EXPECT_EQ(TableNameFromStatement("select x from \"My Table\" t"), "\"My Table\"");
    EXPECT_EQ(TableNameFromStatement("select fromage, b from T;"), "T");
    EXPECT_EQ(TableNameFromStatement("select 1"), "");
    EXPECT_EQ(TableNameFromStatement("select * from"), "");
}

} // namespace
