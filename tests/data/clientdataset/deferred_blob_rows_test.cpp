// A blob that arrives unread (a deferred value, as the data module's queries
// hand out while a connection does repeated work) stays unread through the
// rows, an edit of other fields, a blob written over it together with
// another field and the change log applied; it is read once, when its field
// is, or to tell whether an edit that wrote it alone changed anything. No
// server and no driver.

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/fields/field.h"
#include "tests/support/memory_query.h"

#include <gtest/gtest.h>

namespace {

class DeferredBlobRows : public testing::Test {
protected:
    void SetUp() override {
        rows_ = new TMemoryQuery(&owner_, {PacketColumn("CODIGO", ftString, 20),
                                           PacketColumn("DESCRIPCION", ftString, 60),
                                           PacketColumn("FOTO", ftBlob)});
        for (const char* code : {"A1", "A2"}) {
            const QByteArray address = QByteArray("http://x/") + code + ".jpg";
            rows_->AppendRow({code, "Tornillo", TDeferredBytes([this, address] {
                                  ++reads_;
                                  return address;
                              })});
        }
        cds_ = ClientDataSetOn(*rows_);
        cds_->Open();
    }
    TField* Field(const char* name) { return &cds_->FieldByName(QString::fromLatin1(name)); }
    // Whether FOTO counted as changed in the last change log applied.
    bool FotoChanged() const { return rows_->applied.back().changes.at(0).changed.at(2); }

    TComponent owner_;
    TMemoryQuery* rows_ = nullptr;
    TClientDataSet* cds_ = nullptr;
    int reads_ = 0;
};

} // namespace

TEST_F(DeferredBlobRows, AnEditOfOtherFieldsLeavesTheBlobUnreadAndUnchanged) {
    cds_->Edit();
    Field("DESCRIPCION")->SetAsString(QStringLiteral("Tornillo 1/4"));
    cds_->Post();
    EXPECT_EQ(cds_->ApplyUpdates(0), 0);
    EXPECT_FALSE(FotoChanged());
    EXPECT_EQ(reads_, 0);
}

TEST_F(DeferredBlobRows, ABlobWrittenOverItWithAnotherFieldCountsAsChangedUnread) {
    cds_->Edit();
    Field("DESCRIPCION")->SetAsString(QStringLiteral("Tornillo 1/4"));
    Field("FOTO")->SetAsString(QStringLiteral("http://x/A1.jpg")); // the same address
    cds_->Post();
    EXPECT_EQ(cds_->ApplyUpdates(0), 0);
    EXPECT_TRUE(FotoChanged());
    EXPECT_EQ(rows_->Rows()[0][2].AsBytes(), QByteArray("http://x/A1.jpg"));
    EXPECT_EQ(reads_, 0);
}

TEST_F(DeferredBlobRows, ABlobWrittenOverItAloneIsReadToTellWhetherItChanged) {
    struct Case {
        int row;
        const char* address;
        bool changed;
    };
    for (const Case c :
         {Case{0, "http://x/A1.jpg", false}, Case{1, "http://x/A2-nueva.jpg", true}}) {
        SCOPED_TRACE(c.address);
        cds_->First();
        cds_->MoveBy(c.row);
        reads_ = 0;
        cds_->Edit();
        Field("FOTO")->SetAsString(QString::fromLatin1(c.address));
        cds_->Post();
        EXPECT_EQ(cds_->ApplyUpdates(0), 0);
        EXPECT_EQ(FotoChanged(), c.changed);
        EXPECT_EQ(reads_, 1);
    }
}

TEST_F(DeferredBlobRows, TheBlobIsReadOnceWhenItsFieldIs) {
    cds_->Next();
    EXPECT_EQ(reads_, 0);
    EXPECT_EQ(Field("FOTO")->AsString(), QStringLiteral("http://x/A2.jpg"));
    EXPECT_EQ(Field("FOTO")->AsString(), QStringLiteral("http://x/A2.jpg"));
    EXPECT_EQ(reads_, 1);
    cds_->First();
    EXPECT_EQ(Field("FOTO")->AsString(), QStringLiteral("http://x/A1.jpg"));
    EXPECT_EQ(reads_, 2);
}
