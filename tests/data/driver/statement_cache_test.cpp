// Statements kept prepared by their text while reuse is on, against the real
// local server: each use of a text gets the statement of its own attachment,
// whatever happened to an earlier use of it (a failure, a detach), and a
// table changed between two pieces of work is read as it is now.

#include "data/driver/connection.h"
#include "data/driver/cursor.h"
#include "data/driver/driver_error.h"
#include "data/driver/statement.h"
#include "tests/support/raised.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace Driver;

namespace {

const QString kSelect = QStringLiteral("select * from T where ID = ?");
const QString kInsert = QStringLiteral("insert into T (ID, NAME) values (?, ?)");

class StatementCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.Run(QStringLiteral("create table T (ID integer not null primary key, NAME "
                               "varchar(20));"
                               "insert into T values (1, 'uno');"));
        conn_.SetStatementReuse(true);
        conn_.Attach(db_.Options());
    }

    // The columns and values of the row ID = `id` through a fresh statement
    // of `kSelect` on `conn`, as "COLUMN=value" texts; empty when none.
    static QStringList Row(Connection& conn, int id) {
        auto s = conn.Prepare(kSelect);
        s->SetInt32(0, id);
        auto cursor = s->Execute();
        QStringList row;
        if (cursor->Next())
            for (int i = 0; i < cursor->ColumnCount(); ++i)
                row << cursor->Column(i).name + u'=' +
                           (cursor->IsNull(i) ? QStringLiteral("null")
                            : cursor->Column(i).type == DataType::Integer
                                ? QString::number(cursor->AsInteger(i))
                                : cursor->AsString(i));
        return row;
    }
    static qint64 Insert(Connection& conn, int id, const QString& name) {
        auto s = conn.Prepare(kInsert);
        s->SetInt32(0, id);
        s->SetText(1, name);
        s->Execute();
        return s->RowsAffected();
    }

    TestDatabase db_{QStringLiteral("stmtcache")};
    Connection conn_;
};

} // namespace

TEST_F(StatementCacheTest, AStatementThatFailedRunsAgain) {
    // The same text prepared anew after a failure, and the same statement
    // executed again.
    const Error e = Raised<Error>([&] { Insert(conn_, 1, QStringLiteral("otro")); });
    EXPECT_TRUE(e.ServerText().contains(QStringLiteral("violation of PRIMARY")))
        << qPrintable(e.ServerText());
    EXPECT_EQ(Insert(conn_, 2, QStringLiteral("dos")), 1);

    auto s = conn_.Prepare(kInsert);
    s->SetInt32(0, 2);
    s->SetText(1, QStringLiteral("otra vez"));
    EXPECT_THROW(s->Execute(), Error);
    s->SetInt32(0, 3);
    s->Execute();
    EXPECT_EQ(s->RowsAffected(), 1);

    // A text the server refuses to prepare is refused every time.
    for (int i = 0; i < 2; ++i)
        EXPECT_THROW(conn_.Prepare(QStringLiteral("select NOPE from T")), Error);
    EXPECT_EQ(db_.Query(QStringLiteral("select NAME from T order by ID")),
              (std::vector<QStringList>{
                  {QStringLiteral("uno")}, {QStringLiteral("dos")}, {QStringLiteral("otra vez")}}));
}

TEST_F(StatementCacheTest, AStatementKeepsWorkingAcrossADetach) {
    EXPECT_EQ(Row(conn_, 1), (QStringList{QStringLiteral("ID=1"), QStringLiteral("NAME=uno")}));
    auto held = conn_.Prepare(kSelect);
    conn_.Detach();
    EXPECT_EQ(Raised<Error>([&] { held->Execute(); }).StatusCode(), Status::InvalidHandle);
    conn_.Attach(db_.Options());
    EXPECT_TRUE(conn_.StatementReuse());
    EXPECT_EQ(Row(conn_, 1), (QStringList{QStringLiteral("ID=1"), QStringLiteral("NAME=uno")}));
    EXPECT_EQ(Insert(conn_, 2, QStringLiteral("dos")), 1);
}

TEST_F(StatementCacheTest, TwoConnectionsWithTheSameTextEachReadTheirOwnDatabase) {
    TestDatabase other(QStringLiteral("stmtcache2"));
    other.Run(QStringLiteral("create table T (ID integer not null primary key, NAME varchar(20));"
                             "insert into T values (1, 'one');"));
    Connection second;
    second.SetStatementReuse(true);
    second.Attach(other.Options());
    // In turn, and with both statements of the same text alive at once.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(Row(conn_, 1).value(1), QStringLiteral("NAME=uno"));
        EXPECT_EQ(Row(second, 1).value(1), QStringLiteral("NAME=one"));
    }
    auto a = conn_.Prepare(kSelect);
    auto b = second.Prepare(kSelect);
    auto c = conn_.Prepare(kSelect);
    for (auto* s : {a.get(), b.get(), c.get()})
        s->SetInt32(0, 1);
    auto ra = a->Execute();
    auto rb = b->Execute();
    auto rc = c->Execute();
    ASSERT_TRUE(ra->Next() && rb->Next() && rc->Next());
    EXPECT_EQ(ra->AsString(1), QStringLiteral("uno"));
    EXPECT_EQ(rb->AsString(1), QStringLiteral("one"));
    EXPECT_EQ(rc->AsString(1), QStringLiteral("uno"));
    // Writing through one connection leaves the other database alone.
    EXPECT_EQ(Insert(second, 2, QStringLiteral("two")), 1);
    EXPECT_TRUE(Row(conn_, 2).isEmpty());
    EXPECT_EQ(Row(second, 2).value(1), QStringLiteral("NAME=two"));
}

TEST_F(StatementCacheTest, ATableChangedBetweenTwoRunsIsReadAsItIsNow) {
    // One run: the same statements many times over, then reuse ends.
    for (int id = 2; id <= 4; ++id) {
        EXPECT_EQ(Row(conn_, 1), (QStringList{QStringLiteral("ID=1"), QStringLiteral("NAME=uno")}));
        EXPECT_EQ(Insert(conn_, id, QStringLiteral("n%1").arg(id)), 1);
    }
    conn_.SetStatementReuse(false);
    // Another attachment changes the table, as an administrator would;
    // nothing this connection kept holds it.
    db_.Run(QStringLiteral("alter table T add CITY varchar(20);"
                           "alter table T alter NAME type varchar(40);"));

    // The next run sees the table as it is now.
    conn_.SetStatementReuse(true);
    EXPECT_EQ(Row(conn_, 1), (QStringList{QStringLiteral("ID=1"), QStringLiteral("NAME=uno"),
                                          QStringLiteral("CITY=null")}));
    const QString longName = QStringLiteral("un nombre de treinta caracteres");
    EXPECT_EQ(Insert(conn_, 5, longName), 1);
    EXPECT_EQ(Row(conn_, 5).value(1), QStringLiteral("NAME=") + longName);
    conn_.SetStatementReuse(false);

    // A column the statements name is gone, even dropped and the table
    // recreated: the server's refusal, never a write into the old layout.
    db_.Run(QStringLiteral("alter table T drop NAME;"));
    conn_.SetStatementReuse(true);
    for (int i = 0; i < 2; ++i)
        EXPECT_THROW(Insert(conn_, 6, QStringLiteral("seis")), Error);
    EXPECT_EQ(Row(conn_, 2), (QStringList{QStringLiteral("ID=2"), QStringLiteral("CITY=null")}));
    conn_.SetStatementReuse(false);
    db_.Run(QStringLiteral("drop table T;"
                           "create table T (ID integer not null primary key, CODE integer);"
                           "insert into T values (1, 7);"));
    EXPECT_EQ(Row(conn_, 1), (QStringList{QStringLiteral("ID=1"), QStringLiteral("CODE=7")}));
}

TEST_F(StatementCacheTest, ManyTextsInTurnAllRunCorrectly) {
    // More texts than are kept: each run gives its own text's answer.
    for (int round = 0; round < 2; ++round)
        for (int n = 0; n < 80; ++n) {
            auto s = conn_.Prepare(QStringLiteral("select ID + %1 from T where ID = ?").arg(n));
            s->SetInt32(0, 1);
            auto cursor = s->Execute();
            ASSERT_TRUE(cursor->Next());
            EXPECT_EQ(cursor->AsInteger(0), 1 + n);
        }
}
