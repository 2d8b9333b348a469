// A client dataset whose photographs its provider keeps in a temporary file
// of the user's temporary folder, on rows held in memory: the fields read
// them back byte for byte in any order, a new photograph is applied whole,
// a full folder stops the open with nothing half-read, and the file goes
// when the dataset closes. No server and no driver.

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/fields/field.h"
#include "platform/core/exception.h"
#include "tests/support/memory_query.h"
#include "tests/support/mount_namespace.h"
#include "tests/support/open_files.h"
#include "tests/support/raised.h"
#include "tests/support/rows_temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class SpilledBlobRows : public testing::Test {
protected:
    void SetUp() override {
        rows_ = new TMemoryQuery(&owner_, {PacketColumn("CODIGO", ftString, 20),
                                           PacketColumn("DESCRIPCION", ftString, 60),
                                           PacketColumn("FOTO", ftBlob)});
        // Descriptions run against the codes; A3 has no photograph, A4 a short one.
        for (int i = 1; i <= 6; ++i)
            rows_->AppendRow(
                {QStringLiteral("A%1").arg(i), QStringLiteral("Pieza %1").arg(7 - i), Photo(i)});
        cds_ = ClientDataSetOn(*rows_);
    }
    static TValue Photo(int i) {
        if (i == 3)
            return TValue();
        return PhotoBytes(i, i == 4 ? 100 : 20000 + 1000 * i);
    }
    TField& Field(const char* name) { return cds_->FieldByName(QString::fromLatin1(name)); }
    // Each record's code and photograph, walking the dataset.
    std::vector<std::pair<QString, TValue>> Walk() {
        std::vector<std::pair<QString, TValue>> out;
        for (cds_->First(); !cds_->Eof(); cds_->Next())
            out.emplace_back(Field("CODIGO").AsString(), Field("FOTO").Value());
        return out;
    }
    std::vector<std::pair<QString, TValue>> Expected(std::initializer_list<int> order) {
        std::vector<std::pair<QString, TValue>> out;
        for (int i : order)
            out.emplace_back(QStringLiteral("A%1").arg(i), Photo(i));
        return out;
    }
    int OpenTemporaries() const { return int(OpenFilesIn(temp_.Path()).size()); }

    RowsTempFolder temp_;
    TComponent owner_;
    TMemoryQuery* rows_ = nullptr;
    TClientDataSet* cds_ = nullptr;
};

TEST_F(SpilledBlobRows, FieldsReadThePhotographsBackByteForByteInAnyOrder) {
    cds_->Open();
    EXPECT_EQ(OpenTemporaries(), 1);
    EXPECT_EQ(QDir(temp_.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(Walk(), Expected({1, 2, 3, 4, 5, 6}));

    cds_->AddIndex(QStringLiteral("SortIndexEh"), QStringLiteral("DESCRIPCION"));
    cds_->SetIndexName(QStringLiteral("SortIndexEh"));
    EXPECT_EQ(Walk(), Expected({6, 5, 4, 3, 2, 1}));
    // Read without moving, as the grid reads.
    EXPECT_EQ(cds_->FieldValueAt(Field("FOTO"), 2), Photo(5));
}

TEST_F(SpilledBlobRows, ANewPhotographIsAppliedWholeAndReadBack) {
    cds_->Open();
    cds_->Next();
    cds_->Edit();
    Field("FOTO").SetAsBytes(PhotoBytes(22, 50000));
    cds_->Post();
    cds_->Append();
    Field("CODIGO").SetAsString(QStringLiteral("A7"));
    Field("FOTO").SetAsBytes(PhotoBytes(27, 3000));
    cds_->Post();

    EXPECT_EQ(cds_->ApplyUpdates(0), 0);
    EXPECT_EQ(rows_->Rows()[1][2], TValue(PhotoBytes(22, 50000)));
    EXPECT_EQ(rows_->Rows()[6][2], TValue(PhotoBytes(27, 3000)));
    cds_->First();
    cds_->Next();
    EXPECT_EQ(Field("FOTO").AsBytes(), PhotoBytes(22, 50000));
    cds_->Last();
    EXPECT_EQ(Field("FOTO").AsBytes(), PhotoBytes(27, 3000));
}

TEST_F(SpilledBlobRows, TheTemporaryGoesWhenTheDatasetCloses) {
    cds_->Open();
    cds_->Close();
    EXPECT_EQ(OpenTemporaries(), 0);
    // Opened again, the rows get a file of their own again.
    cds_->Open();
    EXPECT_EQ(OpenTemporaries(), 1);
    EXPECT_EQ(Walk(), Expected({1, 2, 3, 4, 5, 6}));
    delete cds_;
    EXPECT_EQ(OpenTemporaries(), 0);
}

TEST_F(SpilledBlobRows, AFullTemporaryFolderStopsTheOpenWithNothingHalfRead) {
    std::optional<TmpfsMount> small(std::in_place, temp_.Path(), 48 * 1024);
    if (!small->Active())
        GTEST_SKIP() << small->Failure().toStdString();

    EXPECT_EQ(Raised<Exception>([&] { cds_->Open(); }).Message(), temp_.FullMessage());
    EXPECT_FALSE(cds_->Active());
    EXPECT_FALSE(rows_->Active()) << "the provider kept its query open";
    EXPECT_EQ(OpenTemporaries(), 0);

    // With room again, the next open reads every row from the first.
    small.reset();
    cds_->Open();
    EXPECT_EQ(Walk(), Expected({1, 2, 3, 4, 5, 6}));
}

// The rows fit; a new photograph posted afterwards does not. The post fails
// with the folder's error and the record stays in edit: nothing of the new
// photograph is in the rows or the change log, and the photographs read
// before are still whole.
TEST_F(SpilledBlobRows, APhotographPostedToAFullFolderIsRefusedAndTheEditStays) {
    std::optional<TmpfsMount> small(std::in_place, temp_.Path(), 160 * 1024);
    if (!small->Active())
        GTEST_SKIP() << small->Failure().toStdString();
    cds_->Open();
    cds_->Next();
    cds_->Edit();
    Field("DESCRIPCION").SetAsString(QStringLiteral("Pieza cambiada"));
    Field("FOTO").SetAsBytes(PhotoBytes(22, 200000));
    EXPECT_EQ(Raised<Exception>([&] { cds_->Post(); }).Message(), temp_.FullMessage());
    EXPECT_EQ(cds_->State(), dsEdit);
    EXPECT_EQ(cds_->ChangeCount(), 0);

    // A smaller photograph, which stays in memory, posts; the others read back whole.
    Field("FOTO").SetAsBytes(PhotoBytes(22, 500));
    cds_->Post();
    EXPECT_EQ(cds_->ChangeCount(), 1);
    auto expected = Expected({1, 2, 3, 4, 5, 6});
    expected[1].second = PhotoBytes(22, 500);
    EXPECT_EQ(Walk(), expected);
    EXPECT_EQ(cds_->ApplyUpdates(0), 0);
    EXPECT_EQ(rows_->Rows()[1][1], TValue(QStringLiteral("Pieza cambiada")));
    EXPECT_EQ(rows_->Rows()[1][2], TValue(PhotoBytes(22, 500)));
}

} // namespace
