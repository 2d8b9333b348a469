// The results window's grid fits its columns to its width: the weights come
// from the fields' display widths when the description is loaded, the sum
// rule holds, a resize by the user moves weight to the right-hand neighbour,
// and the scroll bar appearing makes the grid refit once it is handled.

#include "tests/grid/grid_fixture.h"

#include <QFontMetrics>

namespace {

constexpr int kIndicatorAndLines = 11 + 6 + 1;

} // namespace

class GridFitTest : public GridFixture {};

TEST_F(GridFitTest, WeightsAreTheFieldsDisplayWidthsAndTheWidthsFillTheClientArea) {
    Open(5);
    const int zero = QFontMetrics(grid_->Font()).horizontalAdvance(QLatin1Char('0'));
    const int displayWidths[] = {20, 60, 8, 10, 10, 16};
    const std::vector<TColumnEh*> columns = grid_->VisibleColumns();
    ASSERT_EQ(columns.size(), 6u);
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(columns[i]->FitWeight(), zero * displayWidths[i] + 4) << i;
    // A single border of two pixels each side, no scroll bar with five rows.
    EXPECT_EQ(grid_->ClientWidth(), 850);
    EXPECT_EQ(SumOfWidths() + kIndicatorAndLines, grid_->ClientWidth());
    // Titles are the field names; FOTO and ACTIVO have no column.
    EXPECT_EQ(columns[1]->Title().Caption(), QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(columns[5]->Alignment(), taRightJustify);
}

TEST_F(GridFitTest, ResizingTheWindowBackAndForthGivesTheSameWidths) {
    Open(5);
    Show();
    const std::vector<int> first = Widths();
    for (int width : {400, 1200, 30, 854}) {
        grid_->SetWidth(width);
        EXPECT_EQ(SumOfWidths() + kIndicatorAndLines,
                  std::max(grid_->ClientWidth(), kIndicatorAndLines))
            << width;
    }
    EXPECT_EQ(Widths(), first);
    // Narrower than the indicator and the lines: every width 0.
    grid_->SetWidth(15);
    for (int w : Widths())
        EXPECT_EQ(w, 0);
    grid_->SetWidth(854);
    EXPECT_EQ(Widths(), first);
}

TEST_F(GridFitTest, WideningCodigoNarrowsOnlyDescripcion) {
    Open(5);
    Show();
    int changes = 0;
    grid_->OnColWidthsChanged = [&](TObject*) { ++changes; };
    const std::vector<int> before = Widths();
    const QPoint edge = TitleRightEdge(0);
    Drag(edge, edge + QPoint(30, 0));
    EXPECT_EQ(changes, 1);
    const std::vector<int> after = Widths();
    EXPECT_NEAR(after[0], before[0] + 30, 1);
    EXPECT_NEAR(after[1], before[1] - 30, 1);
    EXPECT_EQ(after[2], before[2]);
    EXPECT_EQ(after[3], before[3]);
    EXPECT_EQ(after[4], before[4]);
    EXPECT_NEAR(after[5], before[5], 1); // the rounding remainder only
    EXPECT_EQ(SumOfWidths() + kIndicatorAndLines, grid_->ClientWidth());
    // The new shares survive a resize of the window.
    grid_->SetWidth(500);
    grid_->SetWidth(854);
    EXPECT_EQ(Widths(), after);
}

TEST_F(GridFitTest, WideningPrecioRescalesAllColumns) {
    Open(5);
    Show();
    const std::vector<int> before = Widths();
    const QPoint edge = TitleRightEdge(5);
    Drag(edge - QPoint(1, 0), edge + QPoint(29, 0));
    const std::vector<int> after = Widths();
    for (size_t i = 0; i < 5; ++i)
        EXPECT_LT(after[i], before[i]) << i;
    EXPECT_GT(after[5], before[5]);
    EXPECT_EQ(SumOfWidths() + kIndicatorAndLines, grid_->ClientWidth());
}

TEST_F(GridFitTest, SizingDragsThatChangeNothing) {
    Open(5);
    Show();
    int changes = 0;
    grid_->OnColWidthsChanged = [&](TObject*) { ++changes; };
    const std::vector<int> before = Widths();
    const TGridGeometryEh& g = grid_->Geometry();
    const int left = g.TitleRect(g.SpanOf(2)).left();
    // To a width of 1 pixel (or less): ignored.
    Drag(TitleRightEdge(2), QPoint(left + 1, 5));
    EXPECT_EQ(Widths(), before);
    // Esc during the drag cancels it.
    Drag(TitleRightEdge(2), TitleRightEdge(2) + QPoint(40, 0), false);
    EXPECT_EQ(grid_->Mouse().Drag(), TGridMouseEh::TDrag::Sizing);
    Key(Qt::Key_Escape);
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, TitleRightEdge(2) + QPoint(40, 0));
    EXPECT_EQ(Widths(), before);
    EXPECT_EQ(changes, 0);
}

TEST_F(GridFitTest, TheScrollBarAppearingRefitsToTheNarrowerClientArea) {
    Open(5);
    Show();
    EXPECT_FALSE(grid_->GridWidget().verticalScrollBar()->isVisible());
    const int wide = grid_->ClientWidth();
    // The rows no longer fit: the bar appears, the refit waits for the event loop.
    Open(kArticles);
    EXPECT_TRUE(grid_->GridWidget().verticalScrollBar()->isVisible());
    const int narrow = grid_->ClientWidth();
    EXPECT_LT(narrow, wide);
    QApplication::processEvents();
    EXPECT_EQ(SumOfWidths() + kIndicatorAndLines, narrow);
    // And back: a dataset that fits hides the bar and gives the width back.
    Open(3);
    QApplication::processEvents();
    EXPECT_FALSE(grid_->GridWidget().verticalScrollBar()->isVisible());
    EXPECT_EQ(SumOfWidths() + kIndicatorAndLines, wide);
}

TEST_F(GridFitTest, WithoutFittingTheViewFollowsTheSelectedColumn) {
    Rebuild();
    Build(ResultsGridDescription().replace(QStringLiteral("AutoFitColWidths = True"),
                                           QStringLiteral("AutoFitColWidths = False")));
    Open(5);
    Show();
    // The columns keep their unfitted widths, wider than the grid together.
    EXPECT_EQ(grid_->VisibleColumns()[1]->Width(), grid_->VisibleColumns()[1]->DefaultWidth());
    for (TColumnEh* c : grid_->VisibleColumns())
        c->SetWidth(300);
    const TGridGeometryEh& g = grid_->Geometry();
    Key(Qt::Key_End);
    ASSERT_GE(g.SpanOf(5), 0);
    EXPECT_LE(g.CellRect(g.SpanOf(5), 0).right(), grid_->ClientWidth() - 1);
    EXPECT_GT(grid_->LeftColumn(), 0);
    Key(Qt::Key_Home);
    EXPECT_EQ(grid_->LeftColumn(), 0);
    EXPECT_EQ(g.SpanOf(0), 0);
    // A dragged width becomes the column's width.
    const QPoint edge = TitleRightEdge(0);
    Drag(edge, edge - QPoint(100, 0));
    EXPECT_EQ(grid_->VisibleColumns()[0]->Width(), 200);
}
