// Blob values as parameters against the real local server: whatever way the
// driver sends them (as text the server turns into a blob, or written into
// a blob of the client's), a column reads back the very bytes bound.

#include "data/driver/connection.h"
#include "data/driver/cursor.h"
#include "data/driver/statement.h"
#include "platform/system/ansi.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace Driver;

namespace {

QByteArray Pattern(qsizetype size) {
    QByteArray b(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (char& ch : b) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        ch = static_cast<char>(x);
    }
    return b;
}

class BlobParamsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.Run(QStringLiteral("create table T (ID integer not null primary key,"
                               " DATA blob sub_type 0, MEMO blob sub_type 1,"
                               " MEMO_W blob sub_type 1 character set WIN1252,"
                               " MEMO_U blob sub_type 1 character set UTF8);"));
        conn_.Attach(db_.Options());
    }
    // The bytes of `column` of row `id`, and whether it is null.
    std::pair<QByteArray, bool> Read(const QString& column, int id) {
        auto sel =
            conn_.Prepare(QStringLiteral("select %1 from T where ID = %2").arg(column).arg(id));
        auto c = sel->Execute();
        EXPECT_TRUE(c->Next());
        return {c->AsBytes(0), c->IsNull(0)};
    }
    TestDatabase db_{QStringLiteral("blobparams")};
    Connection conn_;
};

} // namespace

TEST_F(BlobParamsTest, EveryColumnReadsBackTheBytesBound) {
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"Windows-1252 text", ToAnsi(QStringLiteral("Compañía €, “comillas” y ½ kilo"))},
        {"the empty text", QByteArray("")},
        {"a zero byte", QByteArray("\0", 1)},
        {"the longest text of one place", Pattern(32765)},
        {"one byte more", Pattern(32766)},
        {"a text over 32 KB", Pattern(40000)},
    };
    const QString columns[] = {QStringLiteral("DATA"), QStringLiteral("MEMO"),
                               QStringLiteral("MEMO_W")};
    for (const QString& column : columns) {
        auto ins =
            conn_.Prepare(QStringLiteral("insert into T (ID, %1) values (?, ?)").arg(column));
        for (int i = 0; i < int(std::size(cases)); ++i) {
            SCOPED_TRACE(QStringLiteral("%1, %2").arg(column, cases[i].what).toStdString());
            const QByteArray& bytes = cases[i].bytes;
            conn_.ExecuteDirect(QStringLiteral("delete from T"));
            ins->SetInt32(0, i);
            ins->SetBlob(1, bytes);
            ins->Execute();
            const auto [got, null] = Read(column, i);
            EXPECT_FALSE(null);
            EXPECT_EQ(got.size(), bytes.size());
            EXPECT_TRUE(got == bytes);
        }
    }
}

TEST_F(BlobParamsTest, UnicodeTextGoesIntoAUtf8TextBlobAsItIs) {
    const QByteArray utf8 = QStringLiteral("Año ü € 漢字").toUtf8();
    auto ins = conn_.Prepare(QStringLiteral("insert into T (ID, MEMO_U) values (1, ?)"));
    ins->SetBlob(0, utf8);
    ins->Execute();
    EXPECT_EQ(Read(QStringLiteral("MEMO_U"), 1).first, utf8);
}

TEST_F(BlobParamsTest, SeveralLongBlobsOfOneStatementAllArrive) {
    // Three of the longest that go as text: a message of some 96 KB.
    const QByteArray a = Pattern(32765), b = Pattern(30000).toBase64().left(32765),
                     c = Pattern(25000).toBase64().left(32765);
    auto ins =
        conn_.Prepare(QStringLiteral("insert into T (ID, DATA, MEMO, MEMO_W) values (1, ?, ?, ?)"));
    ins->SetBlob(0, a);
    ins->SetBlob(1, b);
    ins->SetBlob(2, c);
    ins->Execute();
    EXPECT_EQ(Read(QStringLiteral("DATA"), 1).first, a);
    EXPECT_EQ(Read(QStringLiteral("MEMO"), 1).first, b);
    EXPECT_EQ(Read(QStringLiteral("MEMO_W"), 1).first, c);
}

TEST_F(BlobParamsTest, ANullBlobStaysNullAndAnUpdateReplacesTheBlob) {
    conn_.ExecuteDirect(QStringLiteral("insert into T (ID, DATA) values (1, 'antes')"));
    auto upd = conn_.Prepare(QStringLiteral("update T set DATA = ?, MEMO = ? where ID = 1"));
    upd->SetBlob(0, QByteArray("después"));
    upd->SetNull(1, DataType::Blob);
    upd->Execute();
    EXPECT_EQ(upd->RowsAffected(), 1);
    EXPECT_EQ(Read(QStringLiteral("DATA"), 1).first, QByteArray("después"));
    EXPECT_TRUE(Read(QStringLiteral("MEMO"), 1).second);
}
