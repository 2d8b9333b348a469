// Blobs kept in a temporary file of the rows: read back byte for byte in any
// order, written once however the rows are edited, a new value of the change
// log kept there too, a full disk refused with nothing half-written, and the
// file, which has no name, gone with the rows.

#include "engine_fixture.h"
#include "platform/core/exception.h"
#include "tests/support/mount_namespace.h"
#include "tests/support/open_files.h"
#include "tests/support/rows_temp_folder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace enginetest;

namespace {

constexpr qint64 kThreshold = 1024;

class SpilledRows : public testing::Test {
protected:
    // A packet of articles "01", "02", ... with DESCRIPCION descending as the
    // codes go up, and FOTO the given photograph (null when none).
    TDataPacket Packet(const std::vector<std::optional<QByteArray>>& photos) {
        TDataPacket packet(ArticleColumns(), spill_);
        for (size_t i = 0; i < photos.size(); ++i) {
            const TValue foto = photos[i] ? TValue(*photos[i]) : TValue();
            const TValue values[] = {QStringLiteral("%1").arg(i + 1, 2, 10, QChar(u'0')),
                                     QStringLiteral("Artículo %1").arg(char('z' - i)),
                                     "PZA",
                                     1,
                                     1,
                                     TBcd{100, 2},
                                     foto,
                                     "S"};
            packet.AppendRow(values);
        }
        packet.SetLast(true);
        return packet;
    }
    // The photographs by code, read in the cursor's order.
    static std::vector<std::pair<QString, QByteArray>> Photos(TEngineCursor& cursor) {
        std::vector<std::pair<QString, QByteArray>> out;
        for (int recNo = 1; recNo <= cursor.RecordCount(); ++recNo)
            out.emplace_back(cursor.CellAt(recNo, CODIGO).AsString(),
                             cursor.CellAt(recNo, FOTO).AsBytes());
        return out;
    }

    QTemporaryDir folder_;
    std::shared_ptr<TBlobSpill> spill_ = TBlobSpill::Create(kThreshold, folder_.path());
};

TEST_F(SpilledRows, BlobsFromTheThresholdOnAreKeptInTheFileAndReadBackWhole) {
    const std::vector<std::optional<QByteArray>> photos = {
        PhotoBytes(1, 300000),     QByteArray(), PhotoBytes(2, 10),   PhotoBytes(3, kThreshold - 1),
        PhotoBytes(4, kThreshold), std::nullopt, PhotoBytes(5, 40000)};
    TEngineCursor cursor;
    cursor.Open(Packet(photos));

    // Only the three that reach the threshold went to the file, and the rows
    // hold none of their bytes.
    EXPECT_EQ(spill_->Size(), 300000 + kThreshold + 40000);
    EXPECT_LT(cursor.Store().MemoryBytes(), 300000);
    for (int recNo = 1; recNo <= int(photos.size()); ++recNo) {
        SCOPED_TRACE(recNo);
        const TValue cell = cursor.CellAt(recNo, FOTO);
        const std::optional<QByteArray>& photo = photos[size_t(recNo - 1)];
        ASSERT_EQ(cell.IsNull(), !photo);
        if (photo) {
            EXPECT_EQ(cell.AsBytes(), *photo);
        }
    }
    // Their sizes count among the values' bytes.
    EXPECT_GE(cursor.Store().RawValueBytes(), 300000 + 10 + kThreshold - 1 + kThreshold + 40000);
    // The byte form carries the bytes themselves.
    const TDataPacket copy = TDataPacket::FromBytes(Packet(photos).ToBytes());
    EXPECT_EQ(copy.Cell(0, FOTO).AsBytes(), *photos[0]);
    EXPECT_EQ(copy.Cell(6, FOTO).AsBytes(), *photos[6]);
}

TEST_F(SpilledRows, EachRecordReadsItsOwnPhotographAfterTheRowsAreSorted) {
    TEngineCursor cursor;
    cursor.Open(
        Packet({PhotoBytes(1, 5000), PhotoBytes(2, 7000), std::nullopt, PhotoBytes(4, 3000)}));
    cursor.AddIndex(QStringLiteral("ByDescription"), QStringLiteral("DESCRIPCION"));
    cursor.SelectIndex(QStringLiteral("ByDescription"));

    EXPECT_EQ(Photos(cursor),
              (std::vector<std::pair<QString, QByteArray>>{{"04", PhotoBytes(4, 3000)},
                                                           {"03", QByteArray()},
                                                           {"02", PhotoBytes(2, 7000)},
                                                           {"01", PhotoBytes(1, 5000)}}));
    cursor.First();
    cursor.Next();
    cursor.Next();
    EXPECT_EQ(cursor.Cell(FOTO).AsBytes(), PhotoBytes(2, 7000));
}

TEST_F(SpilledRows, AnEditOfOtherFieldsLeavesThePhotographWhereItIsAndUnchanged) {
    TEngineCursor cursor;
    cursor.Open(Packet({PhotoBytes(1, 5000)}));
    const qint64 kept = spill_->Size();

    cursor.Edit();
    cursor.SetCell(DESCRIPCION, "Tornillo largo");
    cursor.Post();

    EXPECT_EQ(spill_->Size(), kept) << "the photograph was written again";
    const TDelta delta = cursor.Delta();
    ASSERT_EQ(delta.changes.size(), 1u);
    EXPECT_TRUE(delta.changes[0].changed[DESCRIPCION]);
    EXPECT_FALSE(delta.changes[0].changed[FOTO]);
    EXPECT_EQ(cursor.Cell(FOTO).AsBytes(), PhotoBytes(1, 5000));
}

TEST_F(SpilledRows, ANewPhotographInTheChangeLogIsKeptAndTheOldOneStays) {
    TEngineCursor cursor;
    cursor.Open(Packet({PhotoBytes(1, 5000), PhotoBytes(2, 6000)}));
    const qint64 kept = spill_->Size();

    cursor.Edit();
    cursor.SetCell(FOTO, PhotoBytes(11, 9000));
    cursor.Post();
    cursor.Append();
    cursor.SetCell(CODIGO, "03");
    cursor.SetCell(FOTO, PhotoBytes(13, 4000));
    cursor.Post();

    // Both new values went to the file, not to memory.
    EXPECT_EQ(spill_->Size(), kept + 9000 + 4000);
    const TDelta delta = cursor.Delta();
    ASSERT_EQ(delta.changes.size(), 2u);
    EXPECT_EQ(delta.changes[0].kind, ukModify);
    EXPECT_TRUE(delta.changes[0].changed[FOTO]);
    EXPECT_EQ(delta.changes[0].oldValues[FOTO].AsBytes(), PhotoBytes(1, 5000));
    EXPECT_EQ(delta.changes[0].newValues[FOTO].AsBytes(), PhotoBytes(11, 9000));
    EXPECT_EQ(delta.changes[1].kind, ukInsert);
    EXPECT_EQ(delta.changes[1].newValues[FOTO].AsBytes(), PhotoBytes(13, 4000));

    // A failed change undone gives the old photograph back.
    TErrorPacket errors;
    errors.errors.push_back(TUpdateError{0, 1, QStringLiteral("refused"), raCancel});
    ASSERT_TRUE(cursor.Reconcile(errors, {}, true));
    EXPECT_EQ(Photos(cursor),
              (std::vector<std::pair<QString, QByteArray>>{{"01", PhotoBytes(1, 5000)},
                                                           {"02", PhotoBytes(2, 6000)},
                                                           {"03", PhotoBytes(13, 4000)}}));
}

TEST_F(SpilledRows, AFullDiskRefusesThePhotographWithNothingHalfWritten) {
    TmpfsMount small(folder_.path(), 64 * 1024);
    if (!small.Active())
        GTEST_SKIP() << small.Failure().toStdString();
    TDataPacket packet(ArticleColumns(), spill_);
    int written = 0;
    QString failure;
    for (int i = 0; i < 10 && failure.isEmpty(); ++i) {
        const TValue values[] = {"01", "a", "PZA", 1, 1, TBcd{100, 2}, PhotoBytes(i, 20000), "S"};
        try {
            packet.AppendRow(values);
            ++written;
        } catch (const Exception& e) {
            failure = e.Message();
        }
    }
    EXPECT_EQ(failure, QStringLiteral("Cannot write the temporary file of the rows in \"%1\": No "
                                      "space left on device")
                           .arg(folder_.path()));
    // The row whose photograph did not fit is not there; the others read back whole.
    ASSERT_EQ(packet.RowCount(), written);
    ASSERT_GT(written, 0);
    for (int i = 0; i < written; ++i)
        EXPECT_EQ(packet.Cell(i, FOTO).AsBytes(), PhotoBytes(i, 20000)) << i;
    EXPECT_EQ(spill_->Size(), written * 20000);
}

TEST_F(SpilledRows, TheFileHasNoNameAndGoesWithTheRows) {
    {
        TEngineCursor cursor;
        cursor.Open(Packet({PhotoBytes(1, 5000), PhotoBytes(2, 6000)}));
        spill_.reset(); // the rows hold it now
        EXPECT_EQ(QDir(folder_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
        EXPECT_EQ(OpenFilesIn(folder_.path()).size(), 1);

        // A value read from the rows still reads after they closed, and holds
        // the file until it goes too.
        const TValue read = cursor.CellAt(2, FOTO);
        cursor.Close();
        EXPECT_EQ(OpenFilesIn(folder_.path()).size(), 1);
        EXPECT_EQ(read.AsBytes(), PhotoBytes(2, 6000));
    }
    EXPECT_EQ(OpenFilesIn(folder_.path()), QStringList());
}

} // namespace
