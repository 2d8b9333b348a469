// A client dataset fed by a real provider from rows held in memory: packets,
// local indexes with their key-prefix seek, reading cells by position, and
// a change log applied into the rows. No server and no driver.

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/fields/field.h"
#include "tests/support/database_error_of.h"
#include "tests/support/dataset_walk.h"
#include "tests/support/memory_query.h"

#include <gtest/gtest.h>

namespace {

class MemoryRows : public testing::Test {
protected:
    void SetUp() override {
        rows_ = new TMemoryQuery(&owner_, {PacketColumn("CODIGO", ftString, 20),
                                           PacketColumn("DESCRIPCION", ftString, 60),
                                           PacketColumn("CATEG", ftInteger)});
        // Arrival order: 01..07; equal keys: CATEG 2 three times, "Tuerca" twice.
        const TValue rows[][3] = {{"01", "Tuerca", 2},        {"02", "arandela", 1},
                                  {"03", "Tuerca", TValue()}, {"04", "Clavo", 2},
                                  {"05", "Broca", 10},        {"06", TValue(), 2},
                                  {"07", "Tornillo", -3}};
        for (const auto& r : rows)
            rows_->AppendRow({r[0], r[1], r[2]});
        cds_ = ClientDataSetOn(*rows_);
    }
    // The codes in the order the dataset walks, and as read without moving.
    QString Walk() { return ::Walk(*cds_, QStringLiteral("CODIGO")); }
    void Sort(const QString& fields, const QString& descending = {}) {
        if (cds_->HasIndex(QStringLiteral("SortIndexEh")))
            cds_->DeleteIndex(QStringLiteral("SortIndexEh"));
        cds_->AddIndex(QStringLiteral("SortIndexEh"), fields, 0, descending);
        cds_->SetIndexName(QStringLiteral("SortIndexEh"));
    }

    TComponent owner_;
    TMemoryQuery* rows_ = nullptr;
    TClientDataSet* cds_ = nullptr;
};

TEST_F(MemoryRows, AreServedInPacketsFetchedOnDemand) {
    for (int i = 8; i <= 1000; ++i)
        rows_->AppendRow({QString::number(i), QStringLiteral("x"), i % 40});
    cds_->SetPacketRecords(100);
    cds_->Open();
    EXPECT_EQ(cds_->RecordCount(), 100);
    cds_->Last();
    EXPECT_EQ(cds_->RecordCount(), 1000);
    EXPECT_EQ(cds_->FieldByName(QStringLiteral("CODIGO")).AsString(), QStringLiteral("1000"));
    EXPECT_EQ(rows_->opens, 1);
    EXPECT_FALSE(rows_->Active()); // the provider closed the rows after the last packet
}

TEST_F(MemoryRows, SeekTheFirstRecordWhoseIndexKeyBeginsWithTheValues) {
    cds_->Open();
    struct Case {
        const char* fields;
        const char* descending;
        std::vector<TValue> values;
        bool partial;
        int recNo; // 0: none
    };
    const Case cases[] = {
        // Order: 06 (null) 05 Broca, 04 Clavo, 07 Tornillo, 01 Tuerca, 03 Tuerca, 02 arandela
        {"DESCRIPCION", "", {"T"}, true, 4},
        {"DESCRIPCION", "", {"Tu"}, true, 5},
        {"DESCRIPCION", "", {"Tuerca"}, false, 5},
        {"DESCRIPCION", "", {"Tuer"}, false, 0},
        {"DESCRIPCION", "", {"tu"}, true, 0}, // case-sensitive, as the index orders
        {"DESCRIPCION", "", {"a"}, true, 7},
        {"DESCRIPCION", "", {"Z"}, true, 0},
        {"DESCRIPCION", "", {""}, true, 2}, // every text begins with nothing; a null does not
        {"DESCRIPCION", "", {TValue()}, true, 1},
        {"DESCRIPCION", "", {}, true, 1},
        // Descending: 02 arandela, 01 Tuerca, 03 Tuerca, 07 Tornillo, 04, 05, 06 (null last)
        {"DESCRIPCION", "DESCRIPCION", {"Tu"}, true, 2},
        {"DESCRIPCION", "DESCRIPCION", {"C"}, true, 5},
        // CATEG then DESCRIPCION: 03 (null), 07 -3, 02 1, 06 2 null, 04 2 Clavo, 01 2 Tuerca, 05 10
        {"CATEG;DESCRIPCION", "", {2}, true, 4},
        {"CATEG;DESCRIPCION", "", {2, "Tu"}, true, 6},
        {"CATEG;DESCRIPCION", "", {"2", "Cl"}, true, 5}, // converted as the column holds it
        {"CATEG;DESCRIPCION", "", {1, "Tu"}, true, 0},
        {"CATEG;DESCRIPCION", "", {TValue()}, true, 1},
        {"CATEG;DESCRIPCION", "CATEG", {2}, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 / %2 / %3 values")
                         .arg(c.fields, c.descending)
                         .arg(c.values.size())
                         .toStdString());
        Sort(QString::fromLatin1(c.fields), QString::fromLatin1(c.descending));
        EXPECT_EQ(cds_->SeekKeyPrefix(c.values, c.partial), c.recNo);
        EXPECT_EQ(cds_->RecNo(), 1) << "a seek does not move";
    }
    EXPECT_EQ(DatabaseErrorOf([&] {
                  cds_->SeekKeyPrefix({2, "a", "b"});
              }),
              QStringLiteral("Index 'SortIndexEh' has 2 fields, 3 values given"));
    cds_->SetIndexName(QString());
    EXPECT_EQ(DatabaseErrorOf([&] { cds_->SeekKeyPrefix({"T"}); }),
              QStringLiteral("No index is selected"));
}

TEST_F(MemoryRows, CellsReadByPositionFollowEveryChangeOfTheOrder) {
    cds_->Open();
    Sort(QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(Walk(), QStringLiteral("06 05 04 07 01 03 02"));
    TField& description = cds_->FieldByName(QStringLiteral("DESCRIPCION"));
    // Broca becomes Zapata: it moves after the other capitals.
    cds_->SetRecNo(2);
    cds_->Edit();
    description.SetAsString(QStringLiteral("Zapata"));
    // While editing, the current record reads as edited; the others as stored.
    EXPECT_EQ(cds_->FieldValueAt(description, 2), TValue("Zapata"));
    EXPECT_EQ(cds_->FieldValueAt(description, 3), TValue("Clavo"));
    cds_->Post();
    EXPECT_EQ(Walk(), QStringLiteral("06 04 07 01 03 05 02"));
    cds_->Append();
    cds_->FieldByName(QStringLiteral("CODIGO")).SetAsString(QStringLiteral("08"));
    description.SetAsString(QStringLiteral("Clavija"));
    cds_->Post();
    cds_->SetRecNo(5); // 01 Tuerca
    cds_->Delete();
    EXPECT_EQ(Walk(), QStringLiteral("06 08 04 07 03 05 02"));
    EXPECT_EQ(cds_->SeekKeyPrefix({"Clav"}), 2);
    EXPECT_TRUE(cds_->FieldValueAt(description, 99).IsNull());
}

TEST_F(MemoryRows, AnAppliedChangeLogIsWrittenIntoTheRows) {
    cds_->Open();
    cds_->Edit();
    cds_->FieldByName(QStringLiteral("DESCRIPCION")).SetAsString(QStringLiteral("Tuerca 1/4"));
    cds_->Post();
    cds_->Append();
    cds_->FieldByName(QStringLiteral("CODIGO")).SetAsString(QStringLiteral("08"));
    cds_->Post();
    EXPECT_EQ(cds_->ApplyUpdates(0), 0);
    EXPECT_EQ(cds_->ChangeCount(), 0);
    ASSERT_EQ(rows_->applied.size(), 1u);
    EXPECT_EQ(rows_->applied[0].changes.size(), 2u);
    ASSERT_EQ(rows_->Rows().size(), 8u);
    EXPECT_EQ(rows_->Rows()[0][1], TValue("Tuerca 1/4"));
    EXPECT_EQ(rows_->Rows()[7][0], TValue("08"));

    // A row that changed meanwhile is not found: the change fails and stays.
    cds_->First();
    cds_->Edit();
    cds_->FieldByName(QStringLiteral("CATEG")).SetAsInteger(5);
    cds_->Post();
    rows_->Rows()[0][2] = TValue(9);
    EXPECT_EQ(cds_->ApplyUpdates(0), 1);
    EXPECT_EQ(cds_->ChangeCount(), 1);
}

} // namespace
