// The driver against the real local server.

#include "data/driver/blob.h"
#include "data/driver/client_library.h"
#include "data/driver/connection.h"
#include "data/driver/cursor.h"
#include "data/driver/driver_error.h"
#include "data/driver/statement.h"
#include "tests/support/raised.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace Driver;

namespace {

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.Run(QStringLiteral(
            "create table T (ID integer not null primary key, NAME varchar(40), CODE char(5),"
            " S smallint, I integer, B bigint, PRICE decimal(15,2), F double precision,"
            " D date, TM time, TS timestamp, FLAG boolean, DATA blob sub_type 0, MEMO blob "
            "sub_type 1);"));
        conn_.Attach(db_.Options());
    }
    TestDatabase db_{QStringLiteral("driver")};
    Connection conn_;
};

} // namespace

TEST(DriverLoad, AMissingLibraryCannotBeLoaded) {
    EXPECT_EQ(Raised<LoadError>([] {
                  LoadClient(QStringLiteral("libamqb_no_such_client.so.9"));
              }).Message(),
              QStringLiteral("Unable to Load libamqb_no_such_client.so.9"));
}

TEST(DriverLoad, ALibraryWithoutTheEntryIsRefused) {
    EXPECT_EQ(Raised<LoadError>([] { LoadClient(QStringLiteral("libz.so.1")); }).Message(),
              QStringLiteral("Unable to Find Procedure fb_get_master_interface"));
}

TEST(DriverLoad, TheClientIsLoadedOnce) {
    const QString lib = ClientLibraryFor(QStringLiteral("FBCLIENT.DLL"));
#ifndef _WIN32
    EXPECT_EQ(lib, QStringLiteral("libfbclient.so.2"));
#endif
    EXPECT_EQ(LoadClient(lib), LoadClient(lib));
}

TEST_F(DriverTest, AttachesAndQuotesNamesWithDoubleQuotes) {
    EXPECT_TRUE(conn_.Attached());
    EXPECT_EQ(conn_.QuoteChar(), QStringLiteral("\""));
    conn_.Detach();
    EXPECT_FALSE(conn_.Attached());
}

TEST_F(DriverTest, ARoleThatDoesNotExistIsAccepted) {
    ConnectOptions o = db_.Options();
    o.roleName = QStringLiteral("RoleName");
    Connection c;
    c.Attach(o);
    EXPECT_TRUE(c.Attached());
}

TEST_F(DriverTest, AWrongPasswordFailsWithStatus21) {
    ConnectOptions o = db_.Options();
    o.password = QStringLiteral("not-the-password");
    Connection c;
    const Error e = Raised<Error>([&] { c.Attach(o); });
    EXPECT_EQ(e.StatusCode(), Status::ConnectFailed);
    EXPECT_TRUE(
        e.ServerText().contains(QStringLiteral("Your user name and password are not defined")))
        << qPrintable(e.ServerText());
    EXPECT_FALSE(c.Attached());
}

TEST_F(DriverTest, StatementsReportTheServerTextOfAKeyViolation) {
    conn_.ExecuteDirect(QStringLiteral("insert into T (ID) values (1)"));
    const Error e = Raised<Error>(
        [&] { conn_.ExecuteDirect(QStringLiteral("insert into T (ID) values (1)")); });
    EXPECT_EQ(e.StatusCode(), Status::ServerError);
    EXPECT_TRUE(
        e.ServerText().startsWith(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint")))
        << qPrintable(e.ServerText());
    EXPECT_TRUE(e.ServerText().contains(QStringLiteral("\r\n")));
    EXPECT_FALSE(e.ServerText().contains(QStringLiteral("\r\n-")));
    // A statement the server cannot prepare fails the same way.
    const Error bad = Raised<Error>([&] { conn_.Prepare(QStringLiteral("select nonsense from")); });
    EXPECT_EQ(bad.StatusCode(), Status::ServerError);
    EXPECT_FALSE(bad.ServerText().isEmpty());
}

TEST_F(DriverTest, ParametersOfEveryTypeComeBackAsBound) {
    auto ins = conn_.Prepare(
        QStringLiteral("insert into T (ID, NAME, CODE, S, I, B, PRICE, F, D, TM, TS, FLAG, MEMO) "
                       "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    ASSERT_EQ(ins->ParamCount(), 13);
    ins->SetInt32(0, 7);
    ins->SetText(1, QStringLiteral("Compañía €"));
    ins->SetText(2, QStringLiteral("AB"), DataType::Char);
    ins->SetInt16(3, -12);
    ins->SetInt32(4, 2000000000);
    ins->SetInt64(5, Q_INT64_C(9000000000000000000));
    ins->SetDecimal(6, Q_INT64_C(1234567890123), 2); // 12345678901.23, exactly
    ins->SetDouble(7, 0.1);
    ins->SetDate(8, QDate(2018, 1, 31));
    ins->SetTime(9, QTime(23, 59, 58, 123));
    ins->SetTimestamp(10, QDateTime(QDate(1899, 12, 30), QTime(6, 0), Qt::UTC));
    ins->SetBoolean(11, true);
    ins->SetBlob(12, QByteArray("texto de memo"));
    EXPECT_EQ(ins->Execute(), nullptr);
    EXPECT_EQ(ins->RowsAffected(), 1);

    auto sel = conn_.Prepare(QStringLiteral(
        "select ID, NAME, CODE, S, I, B, PRICE, F, D, TM, TS, FLAG, MEMO, DATA from T"));
    auto c = sel->Execute();
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->ColumnCount(), 14);
    ASSERT_TRUE(c->Next());
    EXPECT_EQ(c->AsInteger(0), 7);
    EXPECT_EQ(c->AsString(1), QStringLiteral("Compañía €"));
    EXPECT_EQ(c->AsString(2), QStringLiteral("AB   "));
    EXPECT_EQ(c->AsInteger(3), -12);
    EXPECT_EQ(c->AsInteger(4), 2000000000);
    EXPECT_EQ(c->AsInteger(5), Q_INT64_C(9000000000000000000));
    EXPECT_EQ(c->AsInteger(6), Q_INT64_C(1234567890123));
    EXPECT_DOUBLE_EQ(c->AsDouble(7), 0.1);
    EXPECT_EQ(c->AsDate(8), QDate(2018, 1, 31));
    EXPECT_EQ(c->AsTime(9), QTime(23, 59, 58, 123));
    EXPECT_EQ(c->AsTimestamp(10), QDateTime(QDate(1899, 12, 30), QTime(6, 0), Qt::UTC));
    EXPECT_TRUE(c->AsBoolean(11));
    EXPECT_EQ(c->AsString(12), QStringLiteral("texto de memo"));
    EXPECT_TRUE(c->IsNull(13));
    EXPECT_FALSE(c->IsNull(1));
    EXPECT_FALSE(c->Next());
    EXPECT_TRUE(c->AtEnd());
}

TEST_F(DriverTest, ColumnsAreDescribed) {
    auto sel = conn_.Prepare(
        QStringLiteral("select ID, NAME, CODE, S, B, PRICE, F, D, TM, TS, FLAG, DATA, MEMO, "
                       "1 + 1 as TWO from T"));
    auto c = sel->Execute();
    ASSERT_NE(c, nullptr);
    struct Want {
        const char* name;
        DataType type;
        int length;
        int scale;
        bool nullable;
    };
    const Want want[] = {
        {"ID", DataType::Integer, 4, 0, false},  {"NAME", DataType::Varchar, 40, 0, true},
        {"CODE", DataType::Char, 5, 0, true},    {"S", DataType::SmallInt, 2, 0, true},
        {"B", DataType::BigInt, 8, 0, true},     {"PRICE", DataType::Decimal, 8, 2, true},
        {"F", DataType::Double, 8, 0, true},     {"D", DataType::Date, 4, 0, true},
        {"TM", DataType::Time, 4, 0, true},      {"TS", DataType::Timestamp, 8, 0, true},
        {"FLAG", DataType::Boolean, 1, 0, true}, {"DATA", DataType::Blob, 8, 0, true},
        {"MEMO", DataType::Blob, 8, 0, true},    {"TWO", DataType::BigInt, 8, 0, false},
    };
    ASSERT_EQ(c->ColumnCount(), static_cast<int>(std::size(want)));
    for (int i = 0; i < c->ColumnCount(); ++i) {
        const ColumnDesc& col = c->Column(i);
        SCOPED_TRACE(want[i].name);
        EXPECT_EQ(col.name, QLatin1String(want[i].name));
        EXPECT_EQ(col.type, want[i].type);
        EXPECT_EQ(col.length, want[i].length);
        EXPECT_EQ(col.scale, want[i].scale);
        EXPECT_EQ(col.nullable, want[i].nullable);
    }
    EXPECT_EQ(c->Column(0).relation, QStringLiteral("T"));
    EXPECT_EQ(c->Column(5).precision, 18);
    EXPECT_EQ(c->Column(11).subType, 0);
    EXPECT_EQ(c->Column(12).subType, 1);
    EXPECT_FALSE(c->Next());
}

TEST_F(DriverTest, NullsTravelWithTheirFlag) {
    auto ins = conn_.Prepare(
        QStringLiteral("insert into T (ID, NAME, PRICE, D, DATA) values (?, ?, ?, ?, ?)"));
    ins->SetInt32(0, 1);
    ins->SetNull(1, DataType::Varchar);
    ins->SetNull(2);
    ins->SetNull(3, DataType::Date);
    ins->SetNull(4, DataType::Blob);
    ins->Execute();
    EXPECT_EQ(db_.Query(QStringLiteral(
                  "select NAME is null, PRICE is null, D is null, DATA is null from T")),
              (std::vector<QStringList>{{"TRUE", "TRUE", "TRUE", "TRUE"}}));
}

TEST_F(DriverTest, TextGoesIntoPlacesOfOtherTypes) {
    auto ins = conn_.Prepare(QStringLiteral("insert into T (ID, I, PRICE) values (?, ?, ?)"));
    ins->SetText(0, QStringLiteral("3"));
    ins->SetText(1, QStringLiteral("42"));
    ins->SetText(2, QStringLiteral("10.25"));
    ins->Execute();
    EXPECT_EQ(db_.Query(QStringLiteral("select ID, I, PRICE from T")),
              (std::vector<QStringList>{{"3", "42", "10.25"}}));
}

TEST_F(DriverTest, UnboundAndOutOfRangeParametersAreRefused) {
    auto ins = conn_.Prepare(QStringLiteral("insert into T (ID, NAME) values (?, ?)"));
    ins->SetInt32(0, 1);
    EXPECT_EQ(Raised<Error>([&] { ins->Execute(); }).StatusCode(), Status::ParameterNotSet);
    EXPECT_EQ(Raised<Error>([&] { ins->SetInt32(2, 1); }).StatusCode(), Status::OutOfRange);
}

TEST_F(DriverTest, BlobsOfAnySizeComeBackByteForByte) {
    const QByteArray big = [] {
        QByteArray b(2 * 1024 * 1024, Qt::Uninitialized);
        quint32 x = 12345;
        for (char& ch : b) {
            x = x * 1103515245u + 12345u;
            ch = static_cast<char>(x >> 24);
        }
        return b;
    }();
    const QByteArray blobs[] = {QByteArray(), QByteArray("\0", 1), big};
    auto ins = conn_.Prepare(QStringLiteral("insert into T (ID, DATA) values (?, ?)"));
    for (int i = 0; i < 3; ++i) {
        ins->SetInt32(0, i);
        ins->SetBlob(1, blobs[i]);
        ins->Execute();
    }
    auto sel =
        conn_.Prepare(QStringLiteral("select ID, DATA, octet_length(DATA) from T order by ID"));
    auto c = sel->Execute();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(c->Next());
        EXPECT_FALSE(c->IsNull(1));
        EXPECT_EQ(c->AsInteger(2), blobs[i].size());
        const QByteArray got = c->AsBytes(1);
        EXPECT_EQ(got.size(), blobs[i].size());
        EXPECT_TRUE(got == blobs[i]) << "blob " << i;
    }
    EXPECT_FALSE(c->Next());
}

TEST_F(DriverTest, WindowsTextIsStoredAsItsAnsiBytes) {
    auto ins = conn_.Prepare(QStringLiteral("insert into T (ID, NAME) values (1, ?)"));
    ins->SetText(0, QStringLiteral("Compañía €"));
    ins->Execute();
    conn_.ExecuteDirect(QStringLiteral("insert into T (ID, NAME) values (2, 'Año ü')"));
    auto sel = conn_.Prepare(QStringLiteral(
        "select NAME, cast(NAME as varchar(40) character set octets) from T order by ID"));
    auto c = sel->Execute();
    ASSERT_TRUE(c->Next());
    EXPECT_EQ(c->AsString(0), QStringLiteral("Compañía €"));
    EXPECT_EQ(c->AsBytes(1), QByteArray("Compa\xF1\xED"
                                        "a \x80"));
    ASSERT_TRUE(c->Next());
    EXPECT_EQ(c->AsString(0), QStringLiteral("Año ü"));
    EXPECT_EQ(c->AsBytes(1), QByteArray("A\xF1o \xFC"));
}

TEST_F(DriverTest, StatementsOutsideATransactionAreCommittedAtOnce) {
    conn_.ExecuteDirect(QStringLiteral("insert into T (ID) values (1)"));
    EXPECT_EQ(db_.Query(QStringLiteral("select count(*) from T")),
              (std::vector<QStringList>{{"1"}}));
}

TEST_F(DriverTest, AnExplicitTransactionCommitsOrRollsBack) {
    EXPECT_FALSE(conn_.InTransaction());
    conn_.StartTransaction(Isolation::ReadCommitted);
    EXPECT_TRUE(conn_.InTransaction());
    EXPECT_EQ(Raised<Error>([&] { conn_.StartTransaction(Isolation::ReadCommitted); }).StatusCode(),
              Status::TransactionActive);
    auto upd = conn_.Prepare(QStringLiteral("insert into T (ID) values (?)"));
    upd->SetInt32(0, 1);
    upd->Execute();
    // Not yet visible to another attachment.
    EXPECT_EQ(db_.Query(QStringLiteral("select count(*) from T")),
              (std::vector<QStringList>{{"0"}}));
    conn_.Rollback();
    EXPECT_FALSE(conn_.InTransaction());
    EXPECT_EQ(db_.Query(QStringLiteral("select count(*) from T")),
              (std::vector<QStringList>{{"0"}}));

    conn_.StartTransaction(Isolation::ReadCommitted);
    upd->SetInt32(0, 2);
    upd->Execute();
    conn_.Commit();
    EXPECT_EQ(db_.Query(QStringLiteral("select ID from T")), (std::vector<QStringList>{{"2"}}));
    EXPECT_EQ(Raised<Error>([&] { conn_.Commit(); }).StatusCode(), Status::InvalidHandle);
    EXPECT_EQ(Raised<Error>([&] { conn_.Rollback(); }).StatusCode(), Status::InvalidHandle);
}

TEST_F(DriverTest, RepeatableReadKeepsItsSnapshot) {
    conn_.StartTransaction(Isolation::RepeatableRead);
    auto count = conn_.Prepare(QStringLiteral("select count(*) from T"));
    auto read = [&] {
        auto c = count->Execute();
        c->Next();
        return c->AsInteger(0);
    };
    EXPECT_EQ(read(), 0);
    db_.Run(QStringLiteral("insert into T (ID) values (1);"));
    EXPECT_EQ(read(), 0);
    conn_.Commit();
    EXPECT_EQ(read(), 1);
    // Dirty read runs as read committed: it sees committed rows at once.
    conn_.StartTransaction(Isolation::DirtyRead);
    db_.Run(QStringLiteral("insert into T (ID) values (2);"));
    EXPECT_EQ(read(), 2);
    conn_.Rollback();
}

TEST_F(DriverTest, WithoutWaitOnLocksAConflictFailsAtOnce) {
    db_.Run(QStringLiteral("insert into T (ID, I) values (1, 0);"));
    ConnectOptions o = db_.Options();
    o.waitOnLocks = false;
    Connection other;
    other.Attach(o);
    conn_.StartTransaction(Isolation::ReadCommitted);
    conn_.ExecuteDirect(QStringLiteral("update T set I = 1 where ID = 1"));
    const Error e = Raised<Error>(
        [&] { other.ExecuteDirect(QStringLiteral("update T set I = 2 where ID = 1")); });
    EXPECT_EQ(e.StatusCode(), Status::ServerError);
    EXPECT_TRUE(e.ServerText().contains(QStringLiteral("conflict"))) << qPrintable(e.ServerText());
    conn_.Rollback();
}

TEST_F(DriverTest, CommitRetainKeepsWorking) {
    ConnectOptions o = db_.Options();
    o.commitRetain = true;
    Connection c;
    c.Attach(o);
    c.ExecuteDirect(QStringLiteral("insert into T (ID) values (1)"));
    c.ExecuteDirect(QStringLiteral("insert into T (ID) values (2)"));
    c.StartTransaction(Isolation::ReadCommitted);
    c.ExecuteDirect(QStringLiteral("insert into T (ID) values (3)"));
    c.Commit();
    c.ExecuteDirect(QStringLiteral("insert into T (ID) values (4)"));
    EXPECT_EQ(db_.Query(QStringLiteral("select count(*) from T")),
              (std::vector<QStringList>{{"4"}}));
    c.Detach();
}

TEST_F(DriverTest, AffectedRowsAreCounted) {
    db_.Run(QStringLiteral("insert into T (ID) values (1); insert into T (ID) values (2); insert "
                           "into T (ID) values (3);"));
    EXPECT_EQ(conn_.ExecuteDirect(QStringLiteral("update T set I = 5 where ID > 1")), 2);
    EXPECT_EQ(conn_.ExecuteDirect(QStringLiteral("delete from T where ID = 9")), 0);
    EXPECT_EQ(conn_.ExecuteDirect(QStringLiteral("delete from T")), 3);
}

TEST_F(DriverTest, ProceduresGiveRowsBothWays) {
    db_.Run(QStringLiteral(
        "set term ^ ;"
        "create procedure P_ROWS (N integer) returns (K integer, TXT varchar(10)) as begin"
        "  K = 0; while (K < N) do begin K = K + 1; TXT = 'r' || K; suspend; end end^"
        "create procedure P_ONE (A integer) returns (DOUBLED integer) as begin DOUBLED = A * 2; "
        "end^"
        "set term ; ^"));
    auto sel = conn_.Prepare(QStringLiteral("select * from P_ROWS(?)"));
    sel->SetText(0, QStringLiteral("3"));
    auto c = sel->Execute();
    int n = 0;
    while (c->Next())
        EXPECT_EQ(c->AsString(1), QStringLiteral("r%1").arg(++n));
    EXPECT_EQ(n, 3);

    auto exec = conn_.Prepare(QStringLiteral("execute procedure P_ONE(?)"));
    EXPECT_TRUE(exec->ReturnsRows());
    exec->SetInt32(0, 21);
    auto one = exec->Execute();
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->Column(0).name, QStringLiteral("DOUBLED"));
    ASSERT_TRUE(one->Next());
    EXPECT_EQ(one->AsInteger(0), 42);
    EXPECT_FALSE(one->Next());
}

TEST_F(DriverTest, DetachReleasesStatementsAndCursors) {
    db_.Run(QStringLiteral("insert into T (ID) values (1);"));
    auto sel = conn_.Prepare(QStringLiteral("select ID from T"));
    auto c = sel->Execute();
    conn_.Detach();
    EXPECT_FALSE(c->Next());
    EXPECT_EQ(Raised<Error>([&] { sel->Execute(); }).StatusCode(), Status::InvalidHandle);
}

TEST_F(DriverTest, ReadingAValueOfAnotherKindIsRefused) {
    db_.Run(QStringLiteral("insert into T (ID, NAME) values (1, 'x');"));
    auto sel = conn_.Prepare(QStringLiteral("select ID, NAME from T"));
    auto c = sel->Execute();
    EXPECT_EQ(Raised<Error>([&] { c->AsInteger(0); }).StatusCode(), Status::ResultAtEof);
    ASSERT_TRUE(c->Next());
    EXPECT_EQ(Raised<Error>([&] { c->AsDate(1); }).StatusCode(), Status::InvalidTranslation);
    EXPECT_EQ(Raised<Error>([&] { c->AsString(7); }).StatusCode(), Status::OutOfRange);
}

TEST(TestDatabaseScript, SplitsOnTerminatorsOutsideQuotesAndComments) {
    EXPECT_EQ(
        TestDatabase::SplitScript(QStringLiteral(
            "insert into T values ('a;b'); -- note; here\n"
            "/* c; d */ select 1 from X;commit;\n"
            "set term ^ ;\ncreate procedure P as begin exit; end^\nset term ; ^\nselect 2 from Y")),
        (QStringList{"insert into T values ('a;b')", "/* c; d */ select 1 from X",
                     "create procedure P as begin exit; end", "select 2 from Y"}));
}

TEST(BlobInfo, TheTotalLengthIsReadOnlyWhenTheBlockHoldsItWhole) {
    struct Case {
        std::vector<unsigned char> block;
        std::optional<quint64> total;
    };
    const Case cases[] = {
        {{isc_info_blob_total_length, 4, 0, 0x10, 0x27, 0, 0, isc_info_end}, 10000},
        {{isc_info_blob_total_length, 2, 0, 0xFF, 0x7F}, 32767},
        {{isc_info_blob_total_length, 8, 0, 1, 0, 0, 0, 0, 0, 0, 0x80}, 0x8000000000000001ull},
        {{isc_info_blob_total_length, 4, 0, 0x10, 0x27}, std::nullopt},    // cut short
        {{isc_info_blob_total_length, 0xFF, 0xFF, 1, 2, 3}, std::nullopt}, // a length beyond it
        {{isc_info_blob_total_length, 9, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1}, std::nullopt},
        {{isc_info_blob_total_length, 0, 0}, std::nullopt},
        {{isc_info_truncated, 4, 0, 1, 0, 0, 0}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlobTotalLength(c.block), c.total) << c.block.size() << " bytes";
}
