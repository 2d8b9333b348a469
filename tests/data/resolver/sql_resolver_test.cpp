#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/client/delta_dataset.h"
#include "data/dataset/fields/field.h"
#include "data/dataset/sql/sql_resolver.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "tests/data/resolver/articulos_delta.h"
#include "tests/support/database_error_of.h"
#include "tests/support/raised.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

const std::vector<TPacketColumn> kArticulos = ArticulosColumns();

std::vector<TValue> Article(const char* code, const char* description) {
    return {code, description, "PZA", 1, 10, QByteArray("http://x/1-") + code + ".jpg", "S"};
}

class SqlResolverBase : public testing::Test {
protected:
    void SetUp() override {
        db_.RunFixture(QStringLiteral("quelbo.sql"));
        db_.Run("create table NOKEY (NAME varchar(10), N integer);"
                "insert into NOKEY values ('same', 1); insert into NOKEY values ('same', 1);");
        connection_.SetParams(db_.ConnectionParams());
        query_.SetSQLConnection(&connection_);
        query_.SetSQL({"SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD"});
        provider_.SetDataSet(&query_);
        if (Repeated())
            work_ = std::make_unique<TRepeatedWork>(connection_);
    }
    // Inside a piece of repeated work the applies take one kept transaction
    // context in turn.
    virtual bool Repeated() const { return false; }

    TApplyReply Apply(std::vector<TDeltaChange> changes, int maxErrors,
                      const std::vector<TPacketColumn>& columns = kArticulos) {
        TDelta delta;
        delta.columns = columns;
        delta.changes = std::move(changes);
        return ResolveWithSql(provider_, query_, delta, maxErrors);
    }
    std::vector<QStringList> Articles() {
        return db_.Query("select ARTI_COD, ARTI_DES from ARTICULOS order by ARTI_COD");
    }

    TestDatabase db_;
    TSQLConnection connection_;
    TSQLQuery query_;
    TDataSetProvider provider_;
    std::unique_ptr<TRepeatedWork> work_;
};

// Every apply alike on its own and inside repeated work.
class SqlResolver : public SqlResolverBase, public testing::WithParamInterface<bool> {
protected:
    bool Repeated() const override { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Applies, SqlResolver, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "InRepeatedWork" : "OnTheirOwn";
                         });

TEST_P(SqlResolver, InsertsAndUpdatesAnArticleInOneCommittedTransaction) {
    TApplyReply reply = Apply({InsertOf(Article("A001", "Tornillo"))}, 0);
    EXPECT_EQ(reply.errorCount, 0);
    EXPECT_FALSE(reply.errors.has_value());
    reply = Apply({EditOf(Article("A001", "Tornillo"), 1, "Tornillo 1/4")}, 0);
    EXPECT_EQ(reply.errorCount, 0);
    EXPECT_EQ(Articles(), (std::vector<QStringList>{{"A001", "Tornillo 1/4"}}));
    EXPECT_EQ(db_.Query("select ARTI_FOTO from ARTICULOS")[0][0], "http://x/1-A001.jpg");
    EXPECT_FALSE(connection_.InTransaction());
}

TEST_P(SqlResolver, ARowChangedBySomeoneElseIsNotFoundAndTheApplyRollsBack) {
    Apply({InsertOf(Article("A001", "Tornillo"))}, 0);
    db_.Run("update ARTICULOS set ARTI_DES = 'Otro' where ARTI_COD = 'A001';");
    const TApplyReply reply = Apply(
        {InsertOf(Article("B001", "Tuerca")), EditOf(Article("A001", "Tornillo"), 2, "KG")}, 0);
    EXPECT_EQ(reply.errorCount, 1);
    EXPECT_TRUE(reply.rolledBack);
    ASSERT_TRUE(reply.errors.has_value());
    ASSERT_EQ(reply.errors->errors.size(), 1u);
    EXPECT_EQ(reply.errors->errors[0].recordNo, 1);
    EXPECT_EQ(reply.errors->errors[0].message, "Record not found or changed by another user");
    EXPECT_EQ(Articles(), (std::vector<QStringList>{{"A001", "Otro"}})); // B001 rolled back too
}

TEST_P(SqlResolver, APrimaryKeyViolationReachesTheErrorPacket) {
    Apply({InsertOf(Article("A001", "Tornillo"))}, 0);
    const TApplyReply reply = Apply({InsertOf(Article("A001", "Duplicado"))}, 0);
    ASSERT_TRUE(reply.errors.has_value());
    const QString message = reply.errors->errors[0].message;
    EXPECT_EQ(message.mid(18, 20), "violation of PRIMARY") << message.toStdString();
    EXPECT_TRUE(message.startsWith("SQL Server Error: "));
}

TEST_P(SqlResolver, WithoutALimitTheGoodChangesAreCommitted) {
    Apply({InsertOf(Article("A001", "Tornillo"))}, 0);
    const TApplyReply reply =
        Apply({InsertOf(Article("B001", "Tuerca")), InsertOf(Article("A001", "Dup")),
               InsertOf(Article("C001", "Clavo"))},
              -1);
    EXPECT_EQ(reply.errorCount, 1);
    EXPECT_FALSE(reply.rolledBack);
    EXPECT_EQ(reply.errors->errors[0].recordNo, 1);
    EXPECT_EQ(Articles(), (std::vector<QStringList>{
                              {"A001", "Tornillo"}, {"B001", "Tuerca"}, {"C001", "Clavo"}}));
}

TEST_P(SqlResolver, AnUpdateOfTwoEqualRowsIsRefusedAndRolledBack) {
    query_.SetSQL({"select * from NOKEY"});
    const std::vector<TPacketColumn> columns = {Column("NAME", ftString, 10),
                                                Column("N", ftInteger)};
    const TApplyReply reply = Apply({EditOf({"same", 1}, 1, 2)}, 0, columns);
    ASSERT_TRUE(reply.errors.has_value());
    EXPECT_EQ(reply.errors->errors[0].message, "Update affected more than 1 record.");
    EXPECT_EQ(db_.Query("select N from NOKEY"), (std::vector<QStringList>{{"1"}, {"1"}}));
    EXPECT_FALSE(connection_.InTransaction());
}

TEST_P(SqlResolver, ACommitTheServerRefusesIsRolledBackAndTheNextApplyIsCommitted) {
    db_.Run("create exception E_REFUSED 'refused at commit';"
            "SET TERM ^ ;"
            "create trigger REFUSE_AT_COMMIT on transaction commit as begin"
            "  if (exists(select 1 from ARTICULOS where ARTI_COD = 'REFUSE')) then"
            "    exception E_REFUSED;"
            "end^"
            "SET TERM ; ^");
    const QString message =
        DatabaseErrorOf([&] { Apply({InsertOf(Article("REFUSE", "Rechazado"))}, 0); });
    EXPECT_TRUE(message.contains("refused at commit")) << message.toStdString();
    EXPECT_FALSE(connection_.InTransaction());

    // The next article runs in a transaction of its own that is committed:
    // another attachment sees it, and nothing of the refused one.
    const TApplyReply reply = Apply({InsertOf(Article("A001", "Tornillo"))}, 0);
    EXPECT_EQ(reply.errorCount, 0);
    EXPECT_FALSE(connection_.InTransaction());
    EXPECT_EQ(Articles(), (std::vector<QStringList>{{"A001", "Tornillo"}}));
}

TEST_P(SqlResolver, AStatementWithoutATableIsAnErrorOfTheApplyItself) {
    query_.SetSQL({"execute procedure NOTHING"});
    EXPECT_EQ(Raised<Exception>([&] { Apply({InsertOf(Article("A001", "x"))}, 0); }).Message(),
              "Unable to resolve records.  Table name not found.");
    EXPECT_FALSE(connection_.InTransaction());
}

struct ResponseCase {
    const char* title;
    TResolverResponse response;
    int errorCount;
    std::vector<QStringList> articles;
};

void PrintTo(const ResponseCase& c, std::ostream* os) {
    *os << c.title;
}

class UpdateErrorResponses : public SqlResolverBase,
                             public testing::WithParamInterface<ResponseCase> {};

TEST_P(UpdateErrorResponses, SteerTheRun) {
    const ResponseCase& c = GetParam();
    Apply({InsertOf(Article("A001", "Tornillo"))}, 0);
    int calls = 0;
    provider_.OnUpdateError = [&](TObject* sender, TDataSet* dataSet, EUpdateError& e,
                                  TUpdateKind kind, TResolverResponse& response) {
        ++calls;
        EXPECT_EQ(sender, &provider_);
        ASSERT_NE(dataSet, nullptr);
        EXPECT_EQ(dataSet->FieldByName("ARTI_DES").AsString(), "Dup");
        EXPECT_EQ(kind, ukInsert);
        EXPECT_EQ(response, rrSkip); // no limit: preset to skip
        EXPECT_TRUE(e.Message().contains("violation of PRIMARY"));
        if (c.response == rrApply && calls == 1)
            db_.Run("delete from ARTICULOS where ARTI_COD = 'A001';"); // the next try goes through
        response = c.response;
    };
    const TApplyReply reply =
        Apply({InsertOf(Article("A001", "Dup")), InsertOf(Article("B001", "Tuerca"))}, -1);
    EXPECT_EQ(reply.errorCount, c.errorCount);
    EXPECT_EQ(reply.errors.has_value(), c.errorCount > 0);
    EXPECT_EQ(Articles(), c.articles);
}

INSTANTIATE_TEST_SUITE_P(
    Responses, UpdateErrorResponses,
    testing::Values(
        ResponseCase{"ignore: not counted, the run goes on",
                     rrIgnore,
                     0,
                     {{"A001", "Tornillo"}, {"B001", "Tuerca"}}},
        ResponseCase{"abort: counted, the run ends there", rrAbort, 1, {{"A001", "Tornillo"}}},
        ResponseCase{"apply: written again", rrApply, 0, {{"A001", "Dup"}, {"B001", "Tuerca"}}}));

} // namespace
