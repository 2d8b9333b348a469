// The grid under the mouse: clicks on cells, the wheel, title buttons with
// their pressed look, column moves by dragging a title, and the scroll bar.

#include "tests/grid/grid_fixture.h"

class GridMouseTest : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Open(kArticles);
        Show();
    }
    QStringList ColumnNames() const {
        QStringList names;
        for (const TColumnEh* c : grid_->VisibleColumns())
            names << c->FieldName();
        return names;
    }
};

TEST_F(GridMouseTest, AClickMovesToTheCellAndAClickOnTheCurrentCellOpensTheEditor) {
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, CellCentre(2, 3));
    EXPECT_EQ(cds_->RecNo(), 4);
    EXPECT_EQ(grid_->VisibleSelectedIndex(), 2);
    EXPECT_FALSE(grid_->EditorMode());
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, CellCentre(2, 3));
    EXPECT_TRUE(grid_->EditorMode());
    // A click on another row closes it; a click on the indicator picks the row only.
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, CellCentre(4, 0));
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_EQ(cds_->RecNo(), 1);
    const TGridGeometryEh& g = grid_->Geometry();
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, g.IndicatorRect(5).center());
    EXPECT_EQ(cds_->RecNo(), 6);
    EXPECT_EQ(grid_->VisibleSelectedIndex(), 4);
    // Below the last row and on the top-left cell nothing happens.
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, g.IndicatorTitleRect().center());
    EXPECT_EQ(cds_->RecNo(), 6);
}

TEST_F(GridMouseTest, TheWheelMovesByOneRecordPerNotch) {
    auto wheel = [&](int delta) {
        QWheelEvent event(CellCentre(1, 1), View()->mapToGlobal(CellCentre(1, 1)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(View(), &event);
    };
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(cds_->RecNo(), 3);
    wheel(120);
    EXPECT_EQ(cds_->RecNo(), 2);
    // Half notches add up.
    wheel(-60);
    EXPECT_EQ(cds_->RecNo(), 2);
    wheel(-60);
    EXPECT_EQ(cds_->RecNo(), 3);
}

TEST_F(GridMouseTest, ATitleClickNeedsThePressAndReleaseOnTheSameTitle) {
    std::vector<std::pair<int, QString>> clicks;
    grid_->OnTitleBtnClick = [&](TObject*, int col, TColumnEh* column) {
        clicks.emplace_back(col, column->FieldName());
    };
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, TitleCentre(1));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(2, QStringLiteral("DESCRIPCION")));

    // Pressed at its foot, out of the title by 3 pixels down (not yet a move),
    // back in: the look follows the pointer.
    const QPoint in(TitleCentre(3).x(), grid_->TitleHeight() - 2);
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, in);
    EXPECT_EQ(grid_->Mouse().PressedTitle(), 3);
    const QPoint below(in.x(), in.y() + 3);
    QTest::mouseMove(View(), below);
    EXPECT_EQ(grid_->Mouse().PressedTitle(), -1);
    QTest::mouseMove(View(), in);
    EXPECT_EQ(grid_->Mouse().PressedTitle(), 3);
    QTest::mouseMove(View(), below);
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_EQ(clicks.size(), 1u);
    // The sizing zone takes precedence over the button.
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, TitleRightEdge(3) - QPoint(2, 0));
    EXPECT_EQ(clicks.size(), 1u);
    // A double click counts as one click: its second press starts no title press.
    int doubleClicks = 0;
    grid_->OnDblClick = [&](TObject*) { ++doubleClicks; };
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, TitleCentre(0));
    QMouseEvent second(QEvent::MouseButtonDblClick, TitleCentre(0),
                       View()->mapToGlobal(TitleCentre(0)), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(View(), &second);
    EXPECT_EQ(grid_->Mouse().PressedTitle(), -1);
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, TitleCentre(0));
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(GridMouseTest, DraggingATitleMovesTheColumn) {
    grid_->SelectVisibleColumn(0);
    int clicks = 0;
    grid_->OnTitleBtnClick = [&](TObject*, int, TColumnEh*) { ++clicks; };
    // CODIGO dropped after UNIDAD.
    Drag(TitleCentre(0), TitleCentre(2) + QPoint(10, 0));
    EXPECT_EQ(ColumnNames(),
              (QStringList{"DESCRIPCION", "UNIDAD", "CODIGO", "CATEG", "SUBCATEG", "PRECIO"}));
    EXPECT_EQ(clicks, 0);
    // The selected column moved with it, the weights too, and the fit was redone.
    EXPECT_EQ(grid_->SelectedColumn()->FieldName(), QStringLiteral("CODIGO"));
    EXPECT_EQ(SumOfWidths() + 18, grid_->ClientWidth());
    // The right button starts a move at once; dropped below the titles it does nothing.
    QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, TitleCentre(5));
    EXPECT_EQ(grid_->Mouse().Drag(), TGridMouseEh::TDrag::Moving);
    QTest::mouseMove(View(), CellCentre(0, 2));
    QTest::mouseRelease(View(), Qt::RightButton, Qt::NoModifier, CellCentre(0, 2));
    EXPECT_EQ(ColumnNames().last(), QStringLiteral("PRECIO"));
    // Esc cancels a move.
    Drag(TitleCentre(5), TitleCentre(0), false);
    Key(Qt::Key_Escape);
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, TitleCentre(0));
    EXPECT_EQ(ColumnNames().last(), QStringLiteral("PRECIO"));
    // To the front.
    Drag(TitleCentre(5), QPoint(grid_->IndicatorWidth() + 3, 5));
    EXPECT_EQ(grid_->Mouse().Drag(), TGridMouseEh::TDrag::None);
    EXPECT_EQ(ColumnNames().first(), QStringLiteral("PRECIO"));
}

TEST_F(GridMouseTest, TheScrollBarMovesByRecords) {
    QScrollBar* bar = grid_->GridWidget().verticalScrollBar();
    const int rows = grid_->VisibleRowCount();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), kArticles);
    EXPECT_EQ(bar->pageStep(), rows);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(cds_->RecNo(), 1 + rows);
    EXPECT_EQ(bar->value(), 1 + rows);
    // The page kept the record on the first row; a line down goes past the last row.
    EXPECT_EQ(grid_->Rows().CurrentRow(), 0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(cds_->RecNo(), 2 * rows + 1);
    EXPECT_EQ(grid_->Rows().FirstRecNo(), rows + 2);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(cds_->RecNo(), kArticles);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(cds_->RecNo(), 1);
    // Dragging the thumb: the record follows it.
    bar->setSliderPosition(30);
    EXPECT_EQ(cds_->RecNo(), 30);
    EXPECT_EQ(bar->value(), 30);
    // Without tracking only the release moves.
    grid_->SetVertScrollBarTracking(false);
    bar->setSliderDown(true);
    bar->setSliderPosition(45);
    EXPECT_EQ(cds_->RecNo(), 30);
    bar->setSliderDown(false);
    EXPECT_EQ(cds_->RecNo(), 45);
}
