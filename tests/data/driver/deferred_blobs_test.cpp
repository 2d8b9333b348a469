// Blobs left unread by a cursor while the connection defers blob reads,
// against the real local server: each reads back the bytes of its own row
// after the cursor moved on, after the transaction that fetched it ended, and
// after the deferring stopped or the connection detached; a blob that a
// procedure or an expression makes is never left unread.

#include "data/driver/connection.h"
#include "data/driver/cursor.h"
#include "data/driver/driver_error.h"
#include "data/driver/statement.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Driver;

namespace {

QByteArray Photo(int id) {
    return QByteArray("http://x/1-A%1.jpg").replace("%1", QByteArray::number(id)) +
           QByteArray(id * 5000, char('a' + id));
}

class DeferredBlobsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.Run(QStringLiteral("create table T (ID integer not null primary key,"
                               " FOTO blob sub_type 0);"
                               "set term ^ ;"
                               "create procedure MADE returns (FOTO blob sub_type 0) as begin"
                               "  FOTO = cast('hecho' as blob sub_type 0); suspend; end^"
                               "set term ; ^"));
        for (int id = 1; id <= 3; ++id) {
            auto ins = db_.Connection().Prepare(QStringLiteral("insert into T values (?, ?)"));
            ins->SetInt32(0, id);
            ins->SetBlob(1, Photo(id));
            ins->Execute();
        }
        db_.Run(QStringLiteral("insert into T values (4, null);"));
        conn_.SetReadOnlyReads(true);
        conn_.SetDeferredBlobReads(true);
        conn_.Attach(db_.Options());
    }
    // Every row's FOTO as the cursor hands it out, the cursor gone.
    std::vector<std::optional<DeferredBlob>> Fetch() {
        std::vector<std::optional<DeferredBlob>> blobs;
        auto sel = conn_.Prepare(QStringLiteral("select ID, FOTO from T order by ID"));
        auto c = sel->Execute();
        while (c->Next())
            blobs.push_back(c->Deferred(1));
        return blobs;
    }
    void ExpectRowsBytes(const std::vector<std::optional<DeferredBlob>>& blobs) {
        ASSERT_EQ(blobs.size(), 4u);
        for (int id = 1; id <= 3; ++id) {
            ASSERT_TRUE(blobs[size_t(id - 1)].has_value()) << "row " << id;
            EXPECT_EQ(blobs[size_t(id - 1)]->Read(), Photo(id)) << "row " << id;
        }
        EXPECT_FALSE(blobs[3].has_value()) << "a null blob";
    }

    TestDatabase db_{QStringLiteral("deferred")};
    Connection conn_;
};

} // namespace

TEST_F(DeferredBlobsTest, EachReadsItsRowsBytesAfterTheCursorMovedOn) {
    const auto blobs = Fetch();
    // Read out of order, twice.
    ASSERT_TRUE(blobs[2] && blobs[0]);
    EXPECT_EQ(blobs[2]->Read(), Photo(3));
    EXPECT_EQ(blobs[0]->Read(), Photo(1));
    ExpectRowsBytes(blobs);
}

TEST_F(DeferredBlobsTest, AfterTheTransactionThatFetchedThemEnded) {
    conn_.StartTransaction(Isolation::ReadCommitted);
    const auto blobs = Fetch();
    conn_.Commit();
    ExpectRowsBytes(blobs);
}

TEST_F(DeferredBlobsTest, AfterTheDeferringStoppedAndAfterADetach) {
    const auto unread = Fetch();
    conn_.SetDeferredBlobReads(false);
    conn_.SetReadOnlyReads(false);
    ExpectRowsBytes(unread);

    conn_.SetDeferredBlobReads(true);
    const auto detached = Fetch();
    conn_.Detach();
    ExpectRowsBytes(detached);
}

TEST_F(DeferredBlobsTest, BlobsThatLiveWithTheirTransactionAreNeverDeferred) {
    for (const char* sql : {"select FOTO from MADE", "select cast('x' as blob) from T"}) {
        auto sel = conn_.Prepare(QString::fromLatin1(sql));
        auto c = sel->Execute();
        ASSERT_TRUE(c->Next()) << sql;
        EXPECT_FALSE(c->Deferred(0).has_value()) << sql;
        EXPECT_FALSE(c->AsBytes(0).isEmpty()) << sql;
    }
    conn_.SetDeferredBlobReads(false);
    auto sel = conn_.Prepare(QStringLiteral("select FOTO from T where ID = 1"));
    auto c = sel->Execute();
    ASSERT_TRUE(c->Next());
    EXPECT_FALSE(c->Deferred(0).has_value()) << "with deferring off";
}
