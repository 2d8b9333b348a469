// Rows from several packets, the cursor's moves, bookmarks and fetching on demand.

#include "engine_fixture.h"
#include "platform/core/exception.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

TEST(RowStore, RowsFromTwoPackets) {
    TEngineCursor cursor;
    cursor.Open(ArticlePacket({{"01", "Tornillo", 1}, {"02", "Tuerca", 2}}, false));
    EXPECT_FALSE(cursor.IsComplete());
    // The second packet carries a photo: its blob must land in the store's table.
    TDataPacket second(ArticleColumns());
    const TValue withPhoto[] = {"03", "Clavo", "PZA", 1, 1, TBcd{300, 2}, QByteArray("jpg3"), "S"};
    second.AppendRow(withPhoto);
    second.SetLast(true);
    TDataPacket first(ArticleColumns());
    const TValue photoFirst[] = {"00",       "Arandela",         "PZA", 1, 1,
                                 TBcd{0, 2}, QByteArray("jpg0"), "S"};
    first.AppendRow(photoFirst);
    TEngineCursor photos;
    photos.Open(std::move(first));
    photos.AppendPacket(std::move(second));
    photos.Last();
    EXPECT_EQ(photos.Cell(FOTO), TValue(QByteArray("jpg3")));
    photos.First();
    EXPECT_EQ(photos.Cell(FOTO), TValue(QByteArray("jpg0")));

    cursor.AppendPacket(ArticlePacket({{"03", "Clavo", 1}}, true, 2));
    EXPECT_TRUE(cursor.IsComplete());
    EXPECT_EQ(cursor.RecordCount(), 3);
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "02", "03"}));
    cursor.Last();
    EXPECT_EQ(cursor.Cell(PRECIO), TValue(TBcd{200, 2}));
    EXPECT_EQ(cursor.Cell(UNIDAD), TValue("PZA"));
    EXPECT_TRUE(cursor.Cell(FOTO).IsNull());
}

TEST(RowStore, RefusesPacketsThatDoNotFit) {
    TEngineCursor cursor;
    cursor.Open(ArticlePacket({{"01", "Tornillo", 1}}, false));
    std::vector<TPacketColumn> other = ArticleColumns();
    other.pop_back();
    EXPECT_THROW(cursor.AppendPacket(TDataPacket(other)), Exception);
    cursor.AppendPacket(ArticlePacket({}, true));
    EXPECT_THROW(cursor.AppendPacket(ArticlePacket({{"02", "Tuerca", 1}})), Exception);
    EXPECT_EQ(cursor.RecordCount(), 1);
    EXPECT_THROW(TEngineCursor().Open(TDataPacket({})), Exception);
}

TEST(Cursor, MovesAndEnds) {
    TEngineCursor cursor;
    cursor.Open(ArticlePacket({{"01", "a", 1}, {"02", "b", 2}, {"03", "c", 3}}));
    EXPECT_TRUE(cursor.Bof());
    EXPECT_FALSE(cursor.Eof());
    EXPECT_EQ(cursor.RecNo(), 1);
    EXPECT_FALSE(cursor.Prior());
    EXPECT_TRUE(cursor.Bof());
    EXPECT_TRUE(cursor.Next());
    EXPECT_FALSE(cursor.Bof());
    EXPECT_EQ(cursor.RecNo(), 2);
    EXPECT_TRUE(cursor.Next());
    EXPECT_FALSE(cursor.Next());
    EXPECT_TRUE(cursor.Eof());
    EXPECT_EQ(cursor.Cell(CODIGO), TValue("03")); // stays on the last record
    cursor.First();
    cursor.Last();
    EXPECT_TRUE(cursor.Eof());
    EXPECT_EQ(cursor.RecNo(), 3);
    EXPECT_TRUE(cursor.Prior());
    EXPECT_EQ(cursor.Cell(CODIGO), TValue("02"));
    cursor.SetRecNo(1);
    EXPECT_EQ(cursor.Cell(CODIGO), TValue("01"));

    TEngineCursor empty;
    empty.Open(ArticlePacket({}));
    EXPECT_TRUE(empty.Bof());
    EXPECT_TRUE(empty.Eof());
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.RecNo(), 0);
    EXPECT_FALSE(empty.Next());
    EXPECT_EQ(empty.Bookmark(), NoBookmark);
    EXPECT_TRUE(empty.Cell(CODIGO).IsNull());
    EXPECT_THROW(empty.Edit(), Exception);
    EXPECT_THROW(empty.Delete(), Exception);
}

TEST(Cursor, BookmarksSurviveIndexesAndAppends) {
    TEngineCursor cursor;
    cursor.Open(ArticlePacket({{"01", "c", 1}, {"02", "a", 2}, {"03", "b", 3}}, false));
    cursor.Next();
    const TBookmark second = cursor.Bookmark();
    cursor.AppendPacket(ArticlePacket({{"04", "0", 0}}, true, 3));
    EXPECT_EQ(cursor.Bookmark(), second);
    cursor.AddIndex(QStringLiteral("ByDesc"), QStringLiteral("DESCRIPCION"));
    cursor.SelectIndex(QStringLiteral("ByDesc"));
    EXPECT_EQ(cursor.Cell(CODIGO), TValue("04"));
    cursor.GotoBookmark(second);
    EXPECT_EQ(cursor.Cell(CODIGO), TValue("02"));
    EXPECT_EQ(cursor.RecNo(), 2);
    cursor.SelectIndex(QString());
    cursor.GotoBookmark(second);
    EXPECT_EQ(cursor.RecNo(), 2);

    cursor.Delete();
    EXPECT_FALSE(cursor.BookmarkValid(second));
    EXPECT_THROW(cursor.GotoBookmark(second), Exception);
    EXPECT_THROW(cursor.GotoBookmark(12345), Exception);
}

TEST(Cursor, FetchesOnDemandThroughTheHook) {
    TEngineCursor cursor;
    int packets = 0;
    cursor.SetFetchHook([&] {
        ++packets;
        cursor.AppendPacket(
            ArticlePacket({{"x", "x", packets}, {"y", "y", packets}}, packets == 3, packets * 2));
        return true;
    });
    cursor.Open(ArticlePacket({{"a", "a", 0}, {"b", "b", 0}}, false));
    EXPECT_EQ(cursor.RecordCount(), 2);
    cursor.Next();
    EXPECT_TRUE(cursor.Next()); // past the last record received: one more packet
    EXPECT_EQ(packets, 1);
    EXPECT_EQ(cursor.RecNo(), 3);
    cursor.Last(); // everything else
    EXPECT_EQ(packets, 3);
    EXPECT_EQ(cursor.RecordCount(), 8);
    EXPECT_FALSE(cursor.Next());
    EXPECT_EQ(packets, 3);

    TEngineCursor lazy;
    int calls = 0;
    lazy.SetFetchHook([&] { return ++calls, false; });
    lazy.SetFetchOnDemand(false);
    lazy.Open(ArticlePacket({{"a", "a", 0}}, false));
    EXPECT_FALSE(lazy.Next());
    EXPECT_EQ(calls, 0);
    lazy.Last(); // a hook that brings nothing ends the fetching
    EXPECT_EQ(calls, 1);
}

TEST(Cursor, ReadOnlyRefusesChanges) {
    TEngineCursor cursor;
    cursor.Open(ArticlePacket({{"01", "a", 1}}));
    cursor.SetReadOnly(true);
    EXPECT_THROW(cursor.Edit(), Exception);
    EXPECT_THROW(cursor.Insert(), Exception);
    EXPECT_THROW(cursor.Delete(), Exception);
    EXPECT_EQ(cursor.State(), TCursorState::Browse);
}

} // namespace
