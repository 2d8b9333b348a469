// The change log: inserts, edits and deletes with their original values, the
// delta the provider reads, merging after a clean apply and reconciling the
// changes the database refused.

#include "engine_fixture.h"
#include "platform/core/exception.h"
#include "platform/system/convert_error.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

class ChangeLog : public ::testing::Test {
protected:
    void SetUp() override {
        cursor.Open(
            ArticlePacket({{"01", "Tornillo", 1}, {"02", "Tuerca", 2}, {"03", "Clavo", 3}}));
    }
    // Edits the record with this code: sets the description, posts.
    void EditDescription(const char* codigo, const TValue& value) {
        Goto(codigo);
        cursor.Edit();
        cursor.SetCell(DESCRIPCION, value);
        cursor.Post();
    }
    void Goto(const char* codigo) {
        cursor.First();
        while (cursor.Cell(CODIGO) != TValue(codigo))
            ASSERT_TRUE(cursor.Next());
    }
    TEngineCursor cursor;
};

TEST_F(ChangeLog, EditBufferPostAndCancel) {
    cursor.Edit();
    cursor.SetCell(CATEG, "42"); // converted for the column
    EXPECT_EQ(cursor.Cell(CATEG), TValue(42));
    EXPECT_TRUE(cursor.Modified());
    EXPECT_THROW(cursor.SetCell(CATEG, "x"), EConvertError);
    cursor.Cancel();
    EXPECT_EQ(cursor.Cell(CATEG), TValue(1));
    EXPECT_EQ(cursor.ChangeCount(), 0);
    EXPECT_THROW(cursor.SetCell(CATEG, 1), Exception);
    EXPECT_THROW(cursor.Post(), Exception);

    cursor.Next();
    cursor.Insert(); // before the current record
    EXPECT_TRUE(cursor.Cell(CODIGO).IsNull());
    cursor.SetCell(CODIGO, "1b");
    // Moving would lose the buffer: the client dataset posts or cancels first.
    EXPECT_THROW(cursor.First(), Exception);
    EXPECT_THROW(cursor.Next(), Exception);
    cursor.Post();
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "1b", "02", "03"}));
}

TEST_F(ChangeLog, DeltaOfInsertEditDelete) {
    EditDescription("02", "Tuerca M8");
    Goto("03");
    cursor.Delete();
    cursor.Append();
    cursor.SetCell(CODIGO, "04");
    cursor.SetCell(CATEG, 9);
    cursor.Post();
    EXPECT_EQ(cursor.ChangeCount(), 3);
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "02", "04"}));

    const TDelta delta = cursor.Delta();
    EXPECT_EQ(delta.columns, ArticleColumns());
    ASSERT_EQ(delta.changes.size(), 3u);
    const TDeltaChange& edit = delta.changes[0];
    EXPECT_EQ(edit.kind, ukModify);
    EXPECT_EQ(edit.oldValues[DESCRIPCION], TValue("Tuerca"));
    EXPECT_EQ(edit.newValues[DESCRIPCION], TValue("Tuerca M8"));
    EXPECT_EQ(edit.newValues[CODIGO], TValue("02"));
    EXPECT_EQ(edit.changed,
              std::vector<bool>({false, true, false, false, false, false, false, false}));

    const TDeltaChange& del = delta.changes[1];
    EXPECT_EQ(del.kind, ukDelete);
    EXPECT_EQ(del.oldValues[CODIGO], TValue("03"));
    EXPECT_EQ(del.oldValues[PRECIO], TValue(TBcd{200, 2}));
    EXPECT_EQ(del.changed, std::vector<bool>(8, false));

    const TDeltaChange& ins = delta.changes[2];
    EXPECT_EQ(ins.kind, ukInsert);
    EXPECT_EQ(ins.newValues[CODIGO], TValue("04"));
    EXPECT_EQ(ins.newValues[CATEG], TValue(9));
    EXPECT_TRUE(ins.newValues[DESCRIPCION].IsNull());
    EXPECT_TRUE(ins.oldValues[CODIGO].IsNull());
    EXPECT_EQ(ins.changed, std::vector<bool>(8, true));
}

TEST_F(ChangeLog, OneEntryPerRecord) {
    // A field set to the value it had is not changed; the edit still counts.
    EditDescription("01", "Tornillo");
    ASSERT_EQ(cursor.ChangeCount(), 1);
    EXPECT_EQ(cursor.Delta().changes[0].changed, std::vector<bool>(8, false));
    // A second edit keeps the values as first read.
    EditDescription("01", "Tornillo 1");
    EditDescription("01", "Tornillo 2");
    ASSERT_EQ(cursor.ChangeCount(), 1);
    EXPECT_EQ(cursor.Delta().changes[0].oldValues[DESCRIPCION], TValue("Tornillo"));
    // Deleting an edited record deletes it with the values as read.
    Goto("01");
    cursor.Delete();
    ASSERT_EQ(cursor.ChangeCount(), 1);
    EXPECT_EQ(cursor.Delta().changes[0].kind, ukDelete);
    EXPECT_EQ(cursor.Delta().changes[0].oldValues[DESCRIPCION], TValue("Tornillo"));

    // An inserted record edited stays an insert; deleted, it leaves no trace.
    cursor.Append();
    cursor.SetCell(CODIGO, "09");
    cursor.Post();
    EditDescription("09", "Nuevo");
    ASSERT_EQ(cursor.ChangeCount(), 2);
    EXPECT_EQ(cursor.Delta().changes[1].kind, ukInsert);
    EXPECT_EQ(cursor.Delta().changes[1].newValues[DESCRIPCION], TValue("Nuevo"));
    Goto("09");
    cursor.Delete();
    EXPECT_EQ(cursor.ChangeCount(), 1);
}

TEST_F(ChangeLog, MergeMakesChangesPlain) {
    EditDescription("01", "Tornillo M4");
    Goto("02");
    cursor.Delete();
    cursor.Append();
    cursor.SetCell(CODIGO, "04");
    cursor.Post();
    cursor.MergeChangeLog();
    EXPECT_EQ(cursor.ChangeCount(), 0);
    EXPECT_TRUE(cursor.Delta().changes.empty());
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "03", "04"}));
    EXPECT_EQ(Column(cursor, DESCRIPCION)[0], QStringLiteral("Tornillo M4"));
    // A later edit starts from the merged values.
    EditDescription("01", "otra");
    EXPECT_EQ(cursor.Delta().changes[0].oldValues[DESCRIPCION], TValue("Tornillo M4"));
}

TEST_F(ChangeLog, ReconcileOneCallbackPerFailure) {
    EditDescription("01", "uno"); // delta 0: fails, skipped
    EditDescription("02", "dos"); // delta 1: applied
    Goto("03");
    cursor.Delete(); // delta 2: fails, cancelled
    cursor.Append();
    cursor.SetCell(CODIGO, "04");
    cursor.Post(); // delta 3: fails, merged
    cursor.Append();
    cursor.SetCell(CODIGO, "05");
    cursor.Post(); // delta 4: fails, cancelled
    ASSERT_EQ(cursor.ChangeCount(), 5);

    TErrorPacket errors;
    errors.errors = {{0, 335544665, QStringLiteral("Record not found or changed by another user")},
                     {2, 1, QStringLiteral("violation of FOREIGN KEY")},
                     {3, 2, QStringLiteral("violation of PRIMARY KEY"), raAbort},
                     {4, 3, QStringLiteral("otro")}};
    std::vector<TReconcileInfo> calls;
    const bool done = cursor.Reconcile(errors, [&](const TReconcileInfo& info) {
        calls.push_back(info);
        static const TReconcileAction actions[] = {raSkip, raCancel, raMerge, raCancel};
        return actions[calls.size() - 1];
    });
    EXPECT_TRUE(done);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].kind, ukModify);
    EXPECT_EQ(calls[0].errorCode, 335544665);
    EXPECT_EQ(calls[0].message, QStringLiteral("Record not found or changed by another user"));
    EXPECT_EQ(calls[0].oldValues[DESCRIPCION], TValue("Tornillo"));
    EXPECT_EQ(calls[0].newValues[DESCRIPCION], TValue("uno"));
    EXPECT_EQ(calls[0].proposed, raSkip);
    EXPECT_EQ(calls[1].kind, ukDelete);
    EXPECT_EQ(calls[2].kind, ukInsert);
    EXPECT_EQ(calls[2].proposed, raAbort);
    EXPECT_EQ(calls[2].newValues[CODIGO], TValue("04"));

    // Only the skipped edit is left; the cancelled delete is back in its
    // place, the cancelled insert is gone.
    ASSERT_EQ(cursor.ChangeCount(), 1);
    EXPECT_EQ(cursor.Delta().changes[0].newValues[DESCRIPCION], TValue("uno"));
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "02", "03", "04"}));
    EXPECT_EQ(Column(cursor, DESCRIPCION)[1], QStringLiteral("dos"));
}

TEST_F(ChangeLog, ReconcileCancelRestoresEditedValues) {
    cursor.AddIndex(QStringLiteral("ByDesc"), QStringLiteral("DESCRIPCION"));
    cursor.SelectIndex(QStringLiteral("ByDesc"));
    EditDescription("01", "Aaa"); // moves to the front of the index
    TErrorPacket errors;
    errors.errors = {{0, 1, QStringLiteral("x")}};
    EXPECT_TRUE(cursor.Reconcile(errors, [](const TReconcileInfo&) { return raCancel; }));
    EXPECT_EQ(cursor.ChangeCount(), 0);
    EXPECT_EQ(Column(cursor, DESCRIPCION), QStringList({"Clavo", "Tornillo", "Tuerca"}));
}

TEST_F(ChangeLog, ReconcileAbortLeavesEverything) {
    EditDescription("01", "uno");
    EditDescription("02", "dos");
    TErrorPacket errors;
    errors.errors = {{1, 1, QStringLiteral("x")}};
    EXPECT_FALSE(cursor.Reconcile(errors, [](const TReconcileInfo& info) {
        return info.proposed == raSkip ? raAbort : raSkip;
    }));
    EXPECT_EQ(cursor.ChangeCount(), 2);
}

TEST_F(ChangeLog, ReconcileWithoutMergingTheRest) {
    // A rolled-back apply: nothing reached the database, so nothing is merged.
    EditDescription("01", "uno");
    EditDescription("02", "dos");
    TErrorPacket errors;
    errors.errors = {{1, 1, QStringLiteral("x")}};
    EXPECT_TRUE(cursor.Reconcile(errors, nullptr, false));
    EXPECT_EQ(cursor.ChangeCount(), 2);
    EXPECT_TRUE(cursor.Reconcile(errors, nullptr));
    EXPECT_EQ(cursor.ChangeCount(), 1);
}

TEST_F(ChangeLog, ReconcileRefusesUnknownChanges) {
    EditDescription("01", "uno");
    for (int recordNo : {-1, 1}) {
        TErrorPacket errors;
        errors.errors = {{recordNo, 1, QStringLiteral("x")}};
        EXPECT_THROW(cursor.Reconcile(errors, nullptr), Exception);
        EXPECT_EQ(cursor.ChangeCount(), 1);
    }
}

TEST_F(ChangeLog, InsertBeforeCurrentKeepsItsPlace) {
    Goto("02");
    for (const char* codigo : {"1a", "1b", "1c"}) {
        cursor.Insert();
        cursor.SetCell(CODIGO, codigo);
        cursor.Post();
        EXPECT_EQ(cursor.Cell(CODIGO), TValue(codigo));
    }
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "1c", "1b", "1a", "02", "03"}));
    // Cancelling the delete of a record between inserted ones puts it back there.
    Goto("02");
    cursor.Delete();
    EXPECT_EQ(cursor.Cell(CODIGO), TValue("03"));
    TErrorPacket errors;
    errors.errors = {{3, 1, QStringLiteral("x")}};
    cursor.Reconcile(errors, [](const TReconcileInfo&) { return raCancel; });
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "1c", "1b", "1a", "02", "03"}));
}

TEST_F(ChangeLog, ManyInsertsAtOnePlace) {
    // More inserts at one place than the gaps between arrival keys allow.
    Goto("02");
    QStringList expected = {"01"};
    for (int i = 0; i < 60; ++i) {
        cursor.Insert();
        cursor.SetCell(CODIGO, QString::number(i));
        cursor.Post();
        expected.insert(1, QString::number(i));
    }
    expected << "02"
             << "03";
    EXPECT_EQ(Column(cursor, CODIGO), expected);
    // Equal keys of an index follow the same order.
    cursor.AddIndex(QStringLiteral("ByUnit"), QStringLiteral("UNIDAD"));
    cursor.SelectIndex(QStringLiteral("ByUnit"));
    expected.removeAll(QStringLiteral("01"));
    expected.removeAll(QStringLiteral("02"));
    expected.removeAll(QStringLiteral("03"));
    expected.append({"01", "02", "03"}); // the inserted rows have no unit: nulls first
    EXPECT_EQ(Column(cursor, CODIGO), expected);
}

} // namespace
