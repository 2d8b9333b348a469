// Selects in read-only transactions of their own, against the real local
// server: they read what is committed, writes still go through, and the
// contract's edge (a select whose procedure writes) is refused, not lost.

#include "data/driver/connection.h"
#include "data/driver/cursor.h"
#include "data/driver/driver_error.h"
#include "data/driver/statement.h"
#include "tests/support/raised.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace Driver;

namespace {

class ReadOnlyReadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.Run(QStringLiteral("create table T (ID integer not null primary key, NAME varchar(20));"
                               "insert into T values (1, 'uno');"
                               "create table LOG (N integer);"
                               "set term ^ ;"
                               "create procedure NOTED returns (N integer) as begin "
                               "  insert into LOG values (1); N = 1; suspend; end^"
                               "set term ; ^"));
        conn_.SetReadOnlyReads(true);
        conn_.Attach(db_.Options());
    }
    static int Count(Connection& conn, const QString& table) {
        auto s = conn.Prepare(QStringLiteral("select count(*) from ") + table);
        auto cursor = s->Execute();
        return cursor->Next() ? static_cast<int>(cursor->AsInteger(0)) : -1;
    }
    TestDatabase db_{QStringLiteral("readonly")};
    Connection conn_;
};

} // namespace

TEST_F(ReadOnlyReadsTest, SelectsReadWhatIsCommittedAndWritesGoThrough) {
    EXPECT_EQ(Count(conn_, QStringLiteral("T")), 1);
    db_.Run(QStringLiteral("insert into T values (2, 'dos');"));
    EXPECT_EQ(Count(conn_, QStringLiteral("T")), 2);
    // A statement without rows outside a transaction commits on its own.
    EXPECT_EQ(conn_.ExecuteDirect(QStringLiteral("insert into T values (3, 'tres')")), 1);
    EXPECT_EQ(db_.Query(QStringLiteral("select count(*) from T")).at(0).at(0), QStringLiteral("3"));
    // Inside the explicit transaction a select sees its uncommitted rows.
    conn_.StartTransaction(Isolation::ReadCommitted);
    conn_.ExecuteDirect(QStringLiteral("insert into T values (4, 'cuatro')"));
    EXPECT_EQ(Count(conn_, QStringLiteral("T")), 4);
    conn_.Rollback();
    EXPECT_EQ(Count(conn_, QStringLiteral("T")), 3);
}

TEST_F(ReadOnlyReadsTest, ASelectWhoseProcedureWritesIsRefusedUnlessTheyAreOff) {
    const Error e = Raised<Error>([&] { Count(conn_, QStringLiteral("NOTED")); });
    EXPECT_TRUE(e.ServerText().contains(QStringLiteral("read-only"))) << qPrintable(e.ServerText());
    EXPECT_EQ(Count(conn_, QStringLiteral("LOG")), 0);

    conn_.SetReadOnlyReads(false);
    EXPECT_EQ(Count(conn_, QStringLiteral("NOTED")), 1);
    EXPECT_EQ(Count(conn_, QStringLiteral("LOG")), 1);
}

TEST_F(ReadOnlyReadsTest, CommitRetainKeepsOneContextForReadsAndWrites) {
    ConnectOptions o = db_.Options();
    o.commitRetain = true;
    Connection retaining;
    retaining.SetReadOnlyReads(true);
    retaining.Attach(o);
    EXPECT_EQ(Count(retaining, QStringLiteral("NOTED")), 1);
    EXPECT_EQ(retaining.ExecuteDirect(QStringLiteral("insert into T values (5, 'cinco')")), 1);
    EXPECT_EQ(Count(retaining, QStringLiteral("T")), 2);
}

TEST_F(ReadOnlyReadsTest, UnderRepeatableReadEachSelectStillSeesTheLatestCommits) {
    ConnectOptions o = db_.Options();
    o.isolation = Isolation::RepeatableRead;
    Connection snapshot;
    snapshot.SetReadOnlyReads(true);
    snapshot.Attach(o);
    EXPECT_EQ(Count(snapshot, QStringLiteral("T")), 1);
    db_.Run(QStringLiteral("insert into T values (2, 'dos');"));
    EXPECT_EQ(Count(snapshot, QStringLiteral("T")), 2);
    EXPECT_EQ(snapshot.ExecuteDirect(QStringLiteral("insert into T values (3, 'tres')")), 1);
    EXPECT_EQ(Count(snapshot, QStringLiteral("T")), 3);
}
