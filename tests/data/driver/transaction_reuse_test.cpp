// One transaction's context kept across units of work, against the real
// local server: every unit's commit is seen by other attachments at once,
// every unit sees theirs, a rollback or a failure stays inside its unit, and
// nothing stays open once the reuse ends.

#include "data/driver/connection.h"
#include "data/driver/cursor.h"
#include "data/driver/driver_error.h"
#include "data/driver/statement.h"
#include "tests/support/raised.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace Driver;

namespace {

class TransactionReuseTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.Run(QStringLiteral("create table T (ID integer not null primary key);"));
        conn_.SetTransactionReuse(true);
        conn_.Attach(db_.Options());
    }
    // The rows as another attachment sees them.
    QStringList Committed() {
        QStringList ids;
        for (const QStringList& row : db_.Query(QStringLiteral("select ID from T order by ID")))
            ids << row[0];
        return ids;
    }
    // The rows as a unit of work of the reusing connection sees them.
    int CountInUnit() {
        conn_.StartTransaction(Isolation::ReadCommitted);
        auto s = conn_.Prepare(QStringLiteral("select count(*) from T"));
        auto c = s->Execute();
        const int n = c->Next() ? static_cast<int>(c->AsInteger(0)) : -1;
        c.reset();
        conn_.Commit();
        return n;
    }
    void Insert(int id) {
        conn_.ExecuteDirect(QStringLiteral("insert into T values (%1)").arg(id));
    }
    // Transactions of the reusing connection's attachment open on the server.
    int OpenTransactions() {
        return db_
            .Query(QStringLiteral("select count(*) from MON$TRANSACTIONS where "
                                  "MON$ATTACHMENT_ID = %1")
                       .arg(attachmentId_))
            .at(0)
            .at(0)
            .toInt();
    }
    void NoteAttachment() {
        auto s = conn_.Prepare(QStringLiteral("select current_connection from rdb$database"));
        auto c = s->Execute();
        ASSERT_TRUE(c->Next());
        attachmentId_ = c->AsInteger(0);
    }

    TestDatabase db_{QStringLiteral("reuse")};
    Connection conn_;
    qint64 attachmentId_ = 0;
};

} // namespace

TEST_F(TransactionReuseTest, EachCommitIsSeenAtOnceAndEachUnitSeesOthersCommits) {
    for (int id = 1; id <= 3; ++id) {
        conn_.StartTransaction(Isolation::ReadCommitted);
        Insert(id);
        conn_.Commit();
        EXPECT_FALSE(conn_.InTransaction());
        EXPECT_TRUE(Committed().contains(QString::number(id))) << "unit " << id;
        db_.Run(QStringLiteral("insert into T values (%1);").arg(100 + id));
        EXPECT_EQ(CountInUnit(), 2 * id) << "after another attachment's row " << 100 + id;
    }
    // A statement outside a unit commits at once in the same way.
    Insert(50);
    EXPECT_TRUE(Committed().contains(QStringLiteral("50")));
}

TEST_F(TransactionReuseTest, ARollbackUndoesItsUnitAloneAndAFailureStaysInIt) {
    conn_.StartTransaction(Isolation::ReadCommitted);
    Insert(1);
    conn_.Commit();

    conn_.StartTransaction(Isolation::ReadCommitted);
    Insert(2);
    conn_.Rollback();
    EXPECT_EQ(Committed(), QStringList{QStringLiteral("1")});

    // A refused statement: its unit is rolled back, the next one is clean.
    conn_.StartTransaction(Isolation::ReadCommitted);
    Insert(3);
    EXPECT_EQ(Raised<Error>([&] { Insert(1); }).StatusCode(), Status::ServerError);
    conn_.Rollback();
    conn_.StartTransaction(Isolation::ReadCommitted);
    Insert(4);
    conn_.Commit();
    EXPECT_EQ(Committed(), (QStringList{QStringLiteral("1"), QStringLiteral("4")}));

    // The same for a statement outside a unit that the server refuses.
    EXPECT_EQ(Raised<Error>([&] { Insert(4); }).StatusCode(), Status::ServerError);
    Insert(5);
    EXPECT_EQ(Committed(),
              (QStringList{QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("5")}));
}

TEST_F(TransactionReuseTest, RepeatableReadStartsAFreshSnapshotEveryTime) {
    conn_.StartTransaction(Isolation::RepeatableRead);
    Insert(1);
    conn_.Commit();
    db_.Run(QStringLiteral("insert into T values (2);"));
    conn_.StartTransaction(Isolation::RepeatableRead);
    auto s = conn_.Prepare(QStringLiteral("select count(*) from T"));
    auto c = s->Execute();
    ASSERT_TRUE(c->Next());
    EXPECT_EQ(c->AsInteger(0), 2);
    c.reset();
    conn_.Commit();
}

TEST_F(TransactionReuseTest, EndingTheReuseOrDetachingLeavesNoTransactionOpen) {
    NoteAttachment();
    conn_.StartTransaction(Isolation::ReadCommitted);
    Insert(1);
    conn_.Commit();
    EXPECT_EQ(OpenTransactions(), 1); // the kept context
    conn_.SetTransactionReuse(false);
    EXPECT_EQ(OpenTransactions(), 0);
    EXPECT_EQ(Committed(), QStringList{QStringLiteral("1")});

    conn_.SetTransactionReuse(true);
    Insert(2);
    conn_.Detach();
    EXPECT_EQ(Committed(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(OpenTransactions(), 0);
}
