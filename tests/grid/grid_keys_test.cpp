// The grid's keys on real rows: moves between records and columns, the
// append past the last row and its discard, deleting with the confirmation,
// cell editing with Enter, F2 and Esc, and the focus leaving the grid.

#include "tests/grid/grid_fixture.h"

class GridKeysTest : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Open(kArticles);
        Show();
    }
    int RecNo() const { return cds_->RecNo(); }
    int Column() const { return grid_->VisibleSelectedIndex(); }
};

TEST_F(GridKeysTest, MovesBetweenRecordsAndColumns) {
    const int rows = grid_->VisibleRowCount();
    ASSERT_GT(rows, 5);
    ASSERT_LT(rows, kArticles);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int recNo;
        int column;
    };
    const Step steps[] = {
        {Qt::Key_Down, Qt::NoModifier, 2, 0},
        {Qt::Key_Right, Qt::NoModifier, 2, 1},
        {Qt::Key_End, Qt::NoModifier, 2, 5},
        {Qt::Key_Right, Qt::NoModifier, 2, 5}, // no wrap
        {Qt::Key_Home, Qt::NoModifier, 2, 0},
        {Qt::Key_Left, Qt::NoModifier, 2, 0},
        {Qt::Key_Right, Qt::ControlModifier, 2, 5},
        {Qt::Key_Left, Qt::ControlModifier, 2, 0},
        {Qt::Key_PageDown, Qt::NoModifier, 2 + rows, 0},
        {Qt::Key_PageUp, Qt::NoModifier, 2, 0},
        {Qt::Key_Up, Qt::NoModifier, 1, 0},
        {Qt::Key_Up, Qt::NoModifier, 1, 0},
        {Qt::Key_End, Qt::ControlModifier, kArticles, 0},
        {Qt::Key_Home, Qt::ControlModifier, 1, 0},
        // The last and first rows on view.
        {Qt::Key_Down, Qt::ControlModifier, rows, 0},
        {Qt::Key_Up, Qt::ControlModifier, 1, 0},
        {Qt::Key_PageDown, Qt::ControlModifier, rows, 0},
        {Qt::Key_PageUp, Qt::ControlModifier, 1, 0},
    };
    for (const Step& s : steps) {
        Key(s.key, s.modifiers);
        EXPECT_EQ(RecNo(), s.recNo) << QTest::toString(QKeySequence(s.key | s.modifiers));
        EXPECT_EQ(Column(), s.column) << QTest::toString(QKeySequence(s.key | s.modifiers));
    }
}

TEST_F(GridKeysTest, TheCurrentRecordStaysOnView) {
    const int rows = grid_->VisibleRowCount();
    Key(Qt::Key_End, Qt::ControlModifier);
    // The last record on the last row, and the rows above it filled.
    EXPECT_EQ(grid_->Rows().CurrentRow(), rows - 1);
    EXPECT_EQ(grid_->Rows().FirstRecNo(), kArticles - rows + 1);
    // A page up keeps the record's row on view.
    Key(Qt::Key_PageUp);
    EXPECT_EQ(grid_->Rows().CurrentRow(), rows - 1);
    EXPECT_EQ(RecNo(), kArticles - rows);
    // Up from the first row scrolls by one.
    Key(Qt::Key_Up, Qt::ControlModifier);
    const int top = grid_->Rows().FirstRecNo();
    Key(Qt::Key_Up);
    EXPECT_EQ(grid_->Rows().CurrentRow(), 0);
    EXPECT_EQ(grid_->Rows().FirstRecNo(), top - 1);
    // The cells read the records on view.
    EXPECT_EQ(CodigoAt(grid_->Rows().Row(0).recNo), cds_->FieldByName("CODIGO").AsString());
}

TEST_F(GridKeysTest, TabWrapsToTheNextAndPreviousRecord) {
    Key(Qt::Key_End);
    Key(Qt::Key_Tab);
    EXPECT_EQ(RecNo(), 2);
    EXPECT_EQ(Column(), 0);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Column(), 1);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(Column(), 5);
    // Before the first column of the first record there is nowhere to go.
    Key(Qt::Key_Home);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(Column(), 0);
    // The focus stays in the grid all along.
    EXPECT_TRUE(grid_->HasFocusWithin());
}

TEST_F(GridKeysTest, DownPastTheLastRowAppendsAndUpDiscards) {
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    EXPECT_EQ(cds_->State(), dsInsert);
    EXPECT_EQ(cds_->RecordCount(), kArticles);
    // The new row stands below the last record, current, on the last row of the view.
    const TVisibleRowsEh& rows = grid_->Rows();
    EXPECT_TRUE(rows.Row(rows.CurrentRow()).inserted);
    EXPECT_EQ(rows.CurrentRow(), grid_->VisibleRowCount() - 1);
    EXPECT_EQ(rows.Row(rows.CurrentRow() - 1).recNo, kArticles);
    // The row above shows the last record, not the new one.
    EXPECT_EQ(rows.Value(*cds_, rows.CurrentRow() - 1, Field("CODIGO")).AsString(),
              QStringLiteral("0060"));
    EXPECT_TRUE(rows.Value(*cds_, rows.CurrentRow(), Field("CODIGO")).IsNull());
    // Down again on the untouched new row does nothing.
    Key(Qt::Key_Down);
    EXPECT_EQ(cds_->State(), dsInsert);
    Key(Qt::Key_Up);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(cds_->RecordCount(), kArticles);
    EXPECT_EQ(RecNo(), kArticles);
    EXPECT_EQ(grid_->Rows().CurrentRow(), grid_->VisibleRowCount() - 1);
}

TEST_F(GridKeysTest, ATypedNewRowIsPostedByMovingOn) {
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    Type(QStringLiteral("ZZ01"));
    Key(Qt::Key_Up);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(cds_->RecordCount(), kArticles + 1);
    EXPECT_EQ(cds_->ChangeCount(), 1);
    EXPECT_EQ(CodigoAt(kArticles + 1), QStringLiteral("ZZ01"));
}

TEST_F(GridKeysTest, InsertPutsANewRowBeforeTheCurrentOne) {
    Key(Qt::Key_Down);
    Key(Qt::Key_Insert);
    EXPECT_EQ(cds_->State(), dsInsert);
    const TVisibleRowsEh& rows = grid_->Rows();
    EXPECT_EQ(rows.CurrentRow(), 1);
    EXPECT_TRUE(rows.Row(1).inserted);
    EXPECT_EQ(rows.Row(2).recNo, 2);
    // The record the new one stands before keeps its own values on its row.
    Type(QStringLiteral("N"));
    EXPECT_EQ(rows.Value(*cds_, 2, Field("CODIGO")).AsString(), QStringLiteral("0002"));
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
    ASSERT_EQ(cds_->State(), dsBrowse);
    Key(Qt::Key_Insert);
    // Down on an untouched row in the middle of the data discards it.
    Key(Qt::Key_Down);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(RecNo(), 2);
}

TEST_F(GridKeysTest, CtrlDeleteAsksAndDeletesFromTheDatasetOnly) {
    Key(Qt::Key_Down);
    const QString second = cds_->FieldByName("CODIGO").AsString();
    answerer_.answer = 1; // Cancel
    Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(answerer_.boxes.size(), 1u);
    EXPECT_EQ(answerer_.boxes[0].text, QStringLiteral("Delete record?"));
    EXPECT_EQ(answerer_.boxes[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(answerer_.boxes[0].buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(cds_->RecordCount(), kArticles);
    EXPECT_EQ(cds_->FieldByName("CODIGO").AsString(), second);

    answerer_.answer = 0; // OK
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(answerer_.boxes.size(), 2u);
    EXPECT_EQ(cds_->RecordCount(), kArticles - 1);
    EXPECT_NE(cds_->FieldByName("CODIGO").AsString(), second);
    EXPECT_EQ(cds_->ChangeCount(), 1);
    // The rows the provider serves are all there still; nothing was applied.
    EXPECT_EQ(rows_->Rows().size(), static_cast<size_t>(kArticles));
    EXPECT_TRUE(rows_->applied.empty());
    // Shift+Delete and Delete alone delete nothing.
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(answerer_.boxes.size(), 2u);
    EXPECT_EQ(cds_->RecordCount(), kArticles - 1);
}

TEST_F(GridKeysTest, ALetterOpensTheEditorAndEscTwiceRestores) {
    Key(Qt::Key_Right); // DESCRIPCION
    const QString value = cds_->FieldByName("DESCRIPCION").AsString();
    Type(QStringLiteral("x"));
    ASSERT_TRUE(grid_->EditorMode());
    EXPECT_EQ(grid_->InplaceEditor()->text(), QStringLiteral("x"));
    EXPECT_EQ(cds_->State(), dsEdit);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_EQ(cds_->State(), dsEdit);
    Key(Qt::Key_Escape);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(cds_->FieldByName("DESCRIPCION").AsString(), value);
    EXPECT_EQ(cds_->ChangeCount(), 0);
    EXPECT_TRUE(grid_->HasFocusWithin());
}

TEST_F(GridKeysTest, EnterWritesTheTextAndTogglesTheEditor) {
    Key(Qt::Key_Right);
    Key(Qt::Key_Return);
    ASSERT_TRUE(grid_->EditorMode());
    // The field's text, all of it selected: typing replaces it.
    EXPECT_EQ(grid_->InplaceEditor()->selectedText(), cds_->FieldByName("DESCRIPCION").Text());
    Type(QStringLiteral("Nueva"));
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_EQ(cds_->State(), dsEdit);
    EXPECT_EQ(cds_->FieldByName("DESCRIPCION").AsString(), QStringLiteral("Nueva"));
    // Moving on posts the record into the dataset's memory.
    Key(Qt::Key_Down);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(cds_->FieldValueAt(Field("DESCRIPCION"), 1).AsString(), QStringLiteral("Nueva"));
}

TEST_F(GridKeysTest, F2OpensTheEditorWithTheCaretAfterTheText) {
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid_->EditorMode());
    const QString text = cds_->FieldByName("CODIGO").Text();
    EXPECT_EQ(grid_->InplaceEditor()->text(), text);
    EXPECT_FALSE(grid_->InplaceEditor()->hasSelectedText());
    EXPECT_EQ(grid_->InplaceEditor()->cursorPosition(), text.size());
    // A column change writes the text into the field.
    Type(QStringLiteral("9"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Column(), 1);
    EXPECT_EQ(cds_->FieldByName("CODIGO").AsString(), text + u'9');
}

TEST_F(GridKeysTest, CtrlQuoteCopiesTheValueFromTheRowAbove) {
    Key(Qt::Key_Right);
    // Nothing on the first row on view.
    QTest::keyClick(KeyTarget(), Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(cds_->State(), dsBrowse);
    Key(Qt::Key_Down);
    const QString above = cds_->FieldValueAt(Field("DESCRIPCION"), 1).AsString();
    QTest::keyClick(KeyTarget(), Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(cds_->State(), dsEdit);
    EXPECT_EQ(cds_->FieldByName("DESCRIPCION").AsString(), above);
    ASSERT_TRUE(grid_->EditorMode());
    EXPECT_EQ(grid_->InplaceEditor()->selectedText(), above);
}

TEST_F(GridKeysTest, LeavingTheGridCancelsAnUntouchedNewRowAndWritesPendingText) {
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    ASSERT_EQ(cds_->State(), dsInsert);
    other_->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(cds_->RecordCount(), kArticles);

    grid_->SetFocus();
    Key(Qt::Key_Home, Qt::ControlModifier);
    Type(QStringLiteral("AB"));
    other_->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_EQ(cds_->State(), dsEdit);
    EXPECT_EQ(cds_->FieldByName("CODIGO").AsString(), QStringLiteral("AB"));
}

TEST_F(GridKeysTest, ARefusedDeleteReachesTheErrorHandling) {
    QString reported;
    Application->OnException = [&](TObject*, const Exception& e) { reported = e.Message(); };
    cds_->SetReadOnly(true);
    Key(Qt::Key_Delete, Qt::ControlModifier); // a read-only dataset: not even asked
    EXPECT_TRUE(answerer_.boxes.empty());
    cds_->SetReadOnly(false);
    // A required field left empty refuses the post of a new row.
    Field("CODIGO").SetRequired(true);
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    Type(QStringLiteral("sin codigo"));
    Key(Qt::Key_Up);
    EXPECT_EQ(reported, QStringLiteral("Field 'CODIGO' must have a value"));
    EXPECT_EQ(cds_->State(), dsInsert);
}

TEST_F(GridKeysTest, NothingHappensWhileTheDatasetIsClosed) {
    cds_->Close();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_A, Qt::Key_F2, Qt::Key_Insert})
        Key(key);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_FALSE(cds_->Active());
    EXPECT_TRUE(answerer_.boxes.empty());
    EXPECT_EQ(grid_->Rows().Count(), 0);
    EXPECT_FALSE(grid_->GridWidget().verticalScrollBar()->isVisible());
}

TEST_F(GridKeysTest, TextAFieldRefusesStaysInTheEditor) {
    QString reported;
    Application->OnException = [&](TObject*, const Exception& e) { reported = e.Message(); };
    Key(Qt::Key_End);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left); // CATEG, a whole number
    Type(QStringLiteral("abc"));
    // Neither another column nor another control takes the focus from it.
    Key(Qt::Key_Tab);
    EXPECT_FALSE(reported.isEmpty());
    EXPECT_EQ(grid_->VisibleSelectedIndex(), 3);
    reported.clear();
    other_->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(reported.isEmpty());
    ASSERT_TRUE(grid_->EditorMode());
    EXPECT_TRUE(grid_->InplaceEditor()->hasFocus());
    EXPECT_EQ(grid_->InplaceEditor()->text(), QStringLiteral("abc"));
    // Put right, it is written.
    grid_->InplaceEditor()->selectAll();
    Type(QStringLiteral("7"));
    Key(Qt::Key_Down);
    EXPECT_EQ(cds_->FieldValueAt(Field("CATEG"), 1).AsInteger(), 7);
}
