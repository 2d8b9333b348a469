// The server going away between an article's statement and its commit: the
// apply fails with the lost connection, the connection holds no transaction
// any more, the article is not in the table, and once the server is back
// the next apply on a new attachment is committed. Alike with every apply
// in a transaction of its own and inside a piece of repeated work, whose
// applies take one kept transaction context in turn.

#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/sql/sql_resolver.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "data/driver/cursor.h"
#include "data/driver/statement.h"
#include "tests/data/resolver/articulos_delta.h"
#include "tests/support/commit_hold.h"
#include "tests/support/database_error_of.h"
#include "tests/support/eventually.h"
#include "tests/support/private_server.h"

#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>
#include <thread>

namespace {

std::vector<TValue> Article(const char* code) {
    return {code, "Tornillo", "PZA", 1, 10, QByteArray("http://x/1-") + code + ".jpg", "S"};
}

class SqlResolverFault : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running()) << "the test's own Firebird server did not start";
        db_ = std::make_unique<TestDatabase>(QStringLiteral("t"), server_.Place());
        db_->RunFixture(QStringLiteral("quelbo.sql"));
        connection_.SetParams(db_->ConnectionParams());
        query_.SetSQLConnection(&connection_);
        query_.SetSQL({"SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD"});
        provider_.SetDataSet(&query_);
        if (GetParam())
            work_ = std::make_unique<TRepeatedWork>(connection_);
    }
    void Apply(const char* code) {
        TDelta delta;
        delta.columns = ArticulosColumns();
        delta.changes = {InsertOf(Article(code))};
        ResolveWithSql(provider_, query_, delta, 0);
    }

    PrivateServer server_;
    std::unique_ptr<TestDatabase> db_;
    TSQLConnection connection_;
    TSQLQuery query_;
    TDataSetProvider provider_;
    std::unique_ptr<TRepeatedWork> work_;
};

TEST_P(SqlResolverFault, ACommitCutOffByTheServerGoingAwayLeavesNothing) {
    auto hold = std::make_unique<CommitHold>(*db_, QStringLiteral("HELD"));
    // An article committed before, in the same piece of work when there is one.
    Apply("A000");
    // Once the commit waits, the server dies, killed from another thread:
    // this one is inside the commit.
    const auto serverPid = static_cast<pid_t>(server_.ProcessId());
    ASSERT_GT(serverPid, 0) << "the private server is not running";
    auto watcher = std::make_unique<Driver::Connection>();
    watcher->Attach(db_->Options());
    std::thread cut([&] {
        const auto reached = watcher->Prepare("select 1 from COMMIT_HOLD_REACHED");
        Eventually(30000, [&] { return reached->Execute()->Next(); });
        ::kill(serverPid, SIGKILL);
    });
    const QString message = DatabaseErrorOf([&] { Apply("HELD"); });
    cut.join();
    hold.reset();
    watcher.reset();
    EXPECT_TRUE(message.startsWith("SQL Server Error: ")) << message.toStdString();
    EXPECT_FALSE(connection_.InTransaction());

    server_.Kill();
    ASSERT_TRUE(server_.Start());
    db_->Reattach();
    EXPECT_EQ(db_->Query("select ARTI_COD from ARTICULOS"), std::vector<QStringList>{{"A000"}});
    EXPECT_EQ(db_->Query("select ARTI_COD from COMMIT_HOLD_REACHED"),
              std::vector<QStringList>{{"HELD"}});

    connection_.Close();
    Apply("A001");
    EXPECT_FALSE(connection_.InTransaction());
    EXPECT_EQ(db_->Query("select ARTI_COD from ARTICULOS order by 1"),
              (std::vector<QStringList>{{"A000"}, {"A001"}}));
}

INSTANTIATE_TEST_SUITE_P(ApplyTransactions, SqlResolverFault, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "KeptAcrossApplies" : "OnePerApply";
                         });

} // namespace
