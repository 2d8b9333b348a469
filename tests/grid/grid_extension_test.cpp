// The points where title sorting and the searches join the grid: keys
// before the grid's own handling, the search keys of the tables, the current
// cell changing, a veto on the cell editor, the focus leaving, title clicks,
// and the scroll offset kept around a search.

#include "tests/grid/grid_fixture.h"

namespace {

// Notes what the grid tells it; takes the keys it is told to.
class TRecordingExtension : public TGridExtensionEh {
public:
    bool KeyDown(TDBGridEh&, unsigned short& key, TShiftState) override {
        keys.push_back(key);
        return key == takeKey;
    }
    bool KeyPress(TDBGridEh&, QChar key) override { return key == takeChar; }
    bool SearchKey(TDBGridEh&, TGridSearchKeyEh key) override {
        searchKeys.push_back(key);
        return true;
    }
    void KeyUp(TDBGridEh&, unsigned short key, TShiftState) override { keysUp.push_back(key); }
    void CurrentCellChanged(TDBGridEh&) override { ++cellChanges; }
    bool AllowEditor(const TDBGridEh&) const override { return allowEditor; }
    void FocusLost(TDBGridEh&) override { ++focusLost; }
    void TitleClicked(TDBGridEh&, TColumnEh& column, TShiftState shift) override {
        titleClicks.emplace_back(column.FieldName(), shift);
    }

    std::vector<unsigned short> keys;
    std::vector<unsigned short> keysUp;
    unsigned short takeKey = 0;
    QChar takeChar;
    std::vector<TGridSearchKeyEh> searchKeys;
    int cellChanges = 0;
    bool allowEditor = true;
    int focusLost = 0;
    std::vector<std::pair<QString, TShiftState>> titleClicks;
};

} // namespace

class GridExtensionTest : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Open(kArticles);
        Show();
        hook_ = static_cast<TRecordingExtension*>(
            &grid_->AddExtension(std::make_unique<TRecordingExtension>()));
        hook_->cellChanges = 0;
    }
    TRecordingExtension* hook_ = nullptr;
};

TEST_F(GridExtensionTest, TheSearchKeysReachTheHooks) {
    using S = TGridSearchKeyEh;
    // Without the searches of the grid's own, which would take the keys first.
    grid_->SetOptionsEh({TDBGridEhOption::dghFixed3D});
    Key(Qt::Key_F, Qt::ControlModifier);
    Key(Qt::Key_Return, Qt::ControlModifier);
    Key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(hook_->searchKeys,
              (std::vector<S>{S::Find, S::NextMatch, S::PriorMatch, S::Paste, S::Paste}));
    // None of them moved or edited anything by itself.
    EXPECT_EQ(cds_->RecNo(), 1);
    EXPECT_EQ(cds_->State(), dsBrowse);
    // From inside the cell editor too.
    Key(Qt::Key_F2);
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(hook_->searchKeys.back(), S::Find);
}

TEST_F(GridExtensionTest, KeysReachTheExtensionsBeforeTheGrid) {
    hook_->takeKey = 40; // Down
    Key(Qt::Key_Down);
    EXPECT_EQ(cds_->RecNo(), 1);
    hook_->takeKey = 0;
    Key(Qt::Key_Down);
    EXPECT_EQ(cds_->RecNo(), 2);
    hook_->takeChar = QLatin1Char('q');
    Type(QStringLiteral("q"));
    EXPECT_FALSE(grid_->EditorMode());
    // A key an extension took makes no character: Backspace opens no editor.
    hook_->takeKey = 8;
    Key(Qt::Key_Backspace);
    EXPECT_FALSE(grid_->EditorMode());
    hook_->takeKey = 0;
    hook_->allowEditor = false;
    Type(QStringLiteral("w"));
    Key(Qt::Key_F2);
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_EQ(cds_->State(), dsBrowse);
}

TEST_F(GridExtensionTest, TheCurrentCellChangingIsToldWhateverMovedIt) {
    Key(Qt::Key_Down);
    EXPECT_EQ(hook_->cellChanges, 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(hook_->cellChanges, 2);
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, CellCentre(0, 4));
    EXPECT_GE(hook_->cellChanges, 3);
    const int before = hook_->cellChanges;
    cds_->Last(); // the program moving the dataset
    EXPECT_EQ(hook_->cellChanges, before + 1);
    // A repaint is no change.
    Render();
    EXPECT_EQ(hook_->cellChanges, before + 1);
}

TEST_F(GridExtensionTest, TitleClicksAndTheFocusLeaving) {
    QTest::mouseClick(View(), Qt::LeftButton, Qt::ControlModifier, TitleCentre(1));
    ASSERT_EQ(hook_->titleClicks.size(), 1u);
    EXPECT_EQ(hook_->titleClicks[0].first, QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(hook_->titleClicks[0].second, TShiftState(ssCtrl));
    // Into the grid's own editor is no leaving; into another control is.
    Key(Qt::Key_F2);
    EXPECT_EQ(hook_->focusLost, 0);
    // Ctrl going up is heard from the editor as from the grid.
    QTest::keyRelease(KeyTarget(), Qt::Key_Control);
    ASSERT_FALSE(hook_->keysUp.empty());
    EXPECT_EQ(hook_->keysUp.back(), 17);
    other_->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(hook_->focusLost, 1);
}

TEST_F(GridExtensionTest, AScrollOffsetSavedBeforeASearchIsRestoredAfterIt) {
    Key(Qt::Key_PageDown);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    const int offset = grid_->SaveScrollOffset();
    const int first = grid_->Rows().FirstRecNo();
    const TDataBookmark mark = cds_->Bookmark();
    ASSERT_EQ(offset, 2);
    // A search walks to the end, finds nothing and comes back: the record is
    // on view again, but on the first row, until the offset is restored.
    cds_->Last();
    cds_->GotoBookmark(mark);
    EXPECT_EQ(grid_->Rows().CurrentRow(), 0);
    grid_->RestoreScrollOffset(offset);
    EXPECT_EQ(grid_->Rows().CurrentRow(), 2);
    EXPECT_EQ(grid_->Rows().FirstRecNo(), first);
    EXPECT_EQ(grid_->CellDisplayText(*grid_->VisibleColumns()[5]), QStringLiteral("28.75"));
}
