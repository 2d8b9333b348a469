// A client dataset on the real server whose blobs the provider keeps in a
// temporary file of the user's temporary folder: read back byte for byte in
// any order, a new blob applied to the table whole, a full folder refused
// with nothing half-read and the query closed, and the file gone with the
// dataset.

#include "cds_fixture.h"
#include "data/dataset/fields/field.h"
#include "data/driver/cursor.h"
#include "data/driver/statement.h"
#include "tests/support/mount_namespace.h"
#include "tests/support/open_files.h"
#include "tests/support/raised.h"
#include "tests/support/rows_temp_folder.h"

#include <cstring>
#include <optional>

namespace {

class SpilledBlobsOnServer : public CdsTest {
protected:
    void SetUp() override {
        CdsTest::SetUp();
        // ARTI_FOTO holds bytes of any kind: photographs of the sizes below
        // (none for 02).
        const auto update =
            db_.Connection().Prepare("update ARTICULOS set ARTI_FOTO = ? where ARTI_COD = ?");
        for (const char* code : {"01", "03"}) {
            update->SetBlob(0, Photo(code));
            update->SetText(1, QString::fromLatin1(code));
            update->Execute();
        }
        query_->SetSQLText(QStringLiteral("SELECT * FROM ARTICULOS"));
    }
    static QByteArray Photo(const char* code) {
        return std::strcmp(code, "01") == 0 ? PhotoBytes(1, 70000) : PhotoBytes(3, 300000);
    }
    TField& Field(const char* name) { return cds_->FieldByName(QString::fromLatin1(name)); }
    QByteArray Stored(const char* code) {
        const auto select =
            db_.Connection().Prepare("select ARTI_FOTO from ARTICULOS where ARTI_COD = ?");
        select->SetText(0, QString::fromLatin1(code));
        const auto cursor = select->Execute();
        return cursor->Next() ? cursor->AsBytes(0) : QByteArray("no row");
    }
    // The codes and the photographs' bytes, walking the dataset.
    QStringList Walk() {
        QStringList out;
        for (cds_->First(); !cds_->Eof(); cds_->Next())
            out << Field("ARTI_COD").AsString() + u':' +
                       QString::number(qHash(Field("ARTI_FOTO").AsBytes()));
        return out;
    }
    static QString Entry(const char* code, const QByteArray& photo) {
        return QString::fromLatin1(code) + u':' + QString::number(qHash(photo));
    }
    int OpenTemporaries() const { return int(OpenFilesIn(temp_.Path()).size()); }

    RowsTempFolder temp_;
};

TEST_F(SpilledBlobsOnServer, ReadBackByteForByteInAnyOrderAndGoWithTheDataset) {
    cds_->Open();
    EXPECT_EQ(OpenTemporaries(), 1);
    EXPECT_EQ(Walk(),
              (QStringList{Entry("01", Photo("01")), Entry("02", {}), Entry("03", Photo("03"))}));
    cds_->AddIndex(QStringLiteral("SortIndexEh"), QStringLiteral("ARTI_DES"));
    cds_->SetIndexName(QStringLiteral("SortIndexEh"));
    EXPECT_EQ(Walk(),
              (QStringList{Entry("02", {}), Entry("03", Photo("03")), Entry("01", Photo("01"))}));
    EXPECT_EQ(Field("ARTI_FOTO").AsBytes(), Photo("01"));

    cds_->Close();
    EXPECT_EQ(OpenTemporaries(), 0);
}

TEST_F(SpilledBlobsOnServer, ANewBlobIsWrittenToTheTableWhole) {
    cds_->Open();
    cds_->Last();
    cds_->Edit();
    Field("ARTI_DES").SetAsString(QStringLiteral("Tres bis"));
    Field("ARTI_FOTO").SetAsBytes(PhotoBytes(33, 120000));
    cds_->Post();
    cds_->First();
    cds_->Edit();
    Field("ARTI_DES").SetAsString(QStringLiteral("Uno bis"));
    cds_->Post();

    EXPECT_EQ(cds_->ApplyUpdates(0), 0);
    EXPECT_EQ(Stored("03"), PhotoBytes(33, 120000));
    EXPECT_EQ(Stored("01"), Photo("01"));
    EXPECT_EQ(db_.Query("select ARTI_DES from ARTICULOS order by ARTI_COD"),
              (std::vector<QStringList>{{"Uno bis"}, {"Dos"}, {"Tres bis"}}));
    cds_->Last();
    EXPECT_EQ(Field("ARTI_FOTO").AsBytes(), PhotoBytes(33, 120000));
}

TEST_F(SpilledBlobsOnServer, AFullTemporaryFolderStopsTheOpenAndClosesTheQuery) {
    std::optional<TmpfsMount> small(std::in_place, temp_.Path(), 128 * 1024);
    if (!small->Active())
        GTEST_SKIP() << small->Failure().toStdString();

    EXPECT_EQ(Raised<Exception>([&] { cds_->Open(); }).Message(), temp_.FullMessage());
    EXPECT_FALSE(cds_->Active());
    EXPECT_FALSE(query_->Active());
    EXPECT_EQ(OpenTemporaries(), 0);

    small.reset();
    cds_->Open();
    EXPECT_EQ(Walk(),
              (QStringList{Entry("01", Photo("01")), Entry("02", {}), Entry("03", Photo("03"))}));
}

} // namespace
