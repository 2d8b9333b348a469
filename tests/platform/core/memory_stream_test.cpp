// The memory stream: reads and writes at the position, and emptying it keeps
// nothing of the old content.

#include "platform/core/memory_stream.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryStream, ReadsAndWritesAtThePosition) {
    TMemoryStream s;
    s.Write("abcdef");
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Position(), 6);
    s.SetPosition(2);
    s.Write("XY");
    EXPECT_EQ(s.View(), "abXYef");
    EXPECT_EQ(s.Remaining(), "ef");

    char buffer[8] = {};
    s.Rewind();
    EXPECT_EQ(s.Read(buffer, 4), 4);
    EXPECT_EQ(QByteArrayView(buffer, 4), "abXY");
    EXPECT_EQ(s.Read(buffer, 8), 2); // only what is left
    EXPECT_EQ(s.Read(buffer, 8), 0);

    s.SetPosition(8); // writing past the end fills the gap with zeros
    s.Write("!");
    EXPECT_EQ(s.View(), QByteArrayView("abXYef\0\0!", 9));
    s.SetPosition(20);
    EXPECT_TRUE(s.Remaining().isEmpty());
}

TEST(MemoryStream, ClearingLeavesAnEmptyStreamAtTheStart) {
    TMemoryStream s;
    s.Write(QByteArray(100000, 'x'));
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
    s.Write("ab");
    EXPECT_EQ(s.View(), "ab");
}

} // namespace
