// Row heights, visible rows, the cell geometry with its hit test, and the
// vertical scroll bar's record mapping: the grid's measures as numbers.

#include "grid/layout/grid_geometry.h"
#include "grid/layout/grid_metrics.h"
#include "grid/layout/vert_scroll_mapping.h"

#include <gtest/gtest.h>

using namespace GridMetricsEh;

TEST(GridMetrics, RowHeightsFollowTheFonts) {
    EXPECT_EQ(IndicatorWidth(true), 11);
    EXPECT_EQ(IndicatorWidth(false), 0);
    // "Wg" 13 high: 13 + 3 + the row line; flat: 13 + 1 + 1.
    EXPECT_EQ(DataRowHeight(13, false, 1, true), 17);
    EXPECT_EQ(DataRowHeight(13, true, 1, true), 15);
    EXPECT_EQ(DataRowHeight(13, false, 1, false), 16);
    // The tallest title font decides.
    EXPECT_EQ(TitleRowHeight({13, 16, 13}, 13), 20);
    EXPECT_EQ(TitleRowHeight({}, 13), 17);
}

TEST(GridMetrics, VisibleRows) {
    struct Case {
        int clientHeight, titleHeight, rowHeight, footerRows, rows;
    };
    const Case cases[] = {
        // 402 - (17 + 1) - (17 + 1) - 1 = 365; 365 / 18 = 20.
        {402, 17, 17, 1, 20},
        {395, 17, 17, 1, 19},
        // Without a footer, 402 - 18 = 384; 384 / 18 = 21.
        {402, 17, 17, 0, 21},
        // Room for none still shows one.
        {20, 17, 17, 1, 1},
        {0, 17, 17, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VisibleDataRows(c.clientHeight, c.titleHeight, c.rowHeight, 1, c.footerRows),
                  c.rows)
            << c.clientHeight << " " << c.footerRows;
}

namespace {

// Two columns of 100 and 50 pixels, a title of 17 and rows of 17, three rows holding records.
TGridGeometryEh TwoColumns() {
    TGridGeometryEh g;
    g.clientWidth = 400;
    g.clientHeight = 200;
    g.indicatorWidth = 11;
    g.titleHeight = 17;
    g.rowHeight = 17;
    g.visibleRows = 8;
    g.shownRows = 3;
    g.footerRows = 1;
    g.LayColumns({100, 50}, 0);
    return g;
}

} // namespace

TEST(GridGeometry, CellsLieBetweenTheirLines) {
    const TGridGeometryEh g = TwoColumns();
    EXPECT_EQ(g.TitleRect(0), QRect(12, 0, 100, 17));
    EXPECT_EQ(g.TitleRect(1), QRect(113, 0, 50, 17));
    EXPECT_EQ(g.CellRect(1, 2), QRect(113, 18 + 2 * 18, 50, 17));
    EXPECT_EQ(g.IndicatorRect(0), QRect(0, 18, 11, 17));
    // The footer follows the last row holding a record, one line more below it.
    EXPECT_EQ(g.FooterTop(0), 18 + 3 * 18 + 1);
    EXPECT_EQ(g.ColumnsRight(), 164);
}

TEST(GridGeometry, HitTest) {
    const TGridGeometryEh g = TwoColumns();
    struct Case {
        QPoint point;
        TGridAreaEh area;
        int column, row, sizing;
    };
    const Case cases[] = {
        {{5, 5}, TGridAreaEh::TopLeft, -1, -1, -1},
        {{50, 5}, TGridAreaEh::Title, 0, -1, -1},
        // The sizing zone: 3 pixels either side of the line at x = 112.
        {{109, 5}, TGridAreaEh::Title, 0, -1, 0},
        {{115, 5}, TGridAreaEh::Title, 1, -1, 0},
        {{108, 5}, TGridAreaEh::Title, 0, -1, -1},
        {{116, 5}, TGridAreaEh::Title, 1, -1, -1},
        {{165, 5}, TGridAreaEh::Title, -1, -1, 1},
        {{5, 40}, TGridAreaEh::Indicator, -1, 1, -1},
        {{120, 18}, TGridAreaEh::Data, 1, 0, -1},
        {{120, 71}, TGridAreaEh::Data, 1, 2, -1},
        // Below the footer, right of the last column: nothing.
        {{120, 95}, TGridAreaEh::None, -1, -1, -1},
        {{300, 30}, TGridAreaEh::None, -1, -1, -1},
        {{20, 74}, TGridAreaEh::Footer, 0, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x() << "," << c.point.y());
        const TGridHitEh hit = g.HitTest(c.point);
        EXPECT_EQ(hit.area, c.area);
        if (c.area == TGridAreaEh::None)
            continue;
        EXPECT_EQ(hit.column, c.column);
        EXPECT_EQ(hit.row, c.row);
        EXPECT_EQ(hit.sizingColumn, c.sizing);
    }
}

TEST(GridGeometry, AColumnSqueezedToNothingCanBePulledOpen) {
    TGridGeometryEh g = TwoColumns();
    g.LayColumns({0, 0}, 0);
    // Both edges are within reach: the right-hand one wins.
    EXPECT_EQ(g.HitTest({13, 5}).sizingColumn, 1);
}

TEST(VertScrollMapping, NumberedRecords) {
    TRecordViewEh view;
    view.recordCount = 100;
    view.rowCount = 100;
    view.visibleRows = 20;
    view.recNo = 30;
    view.firstVisible = 25;
    view.lastVisible = 44;
    const TVertScrollBarEh bar = RecordScrollBar(view, false, 0);
    EXPECT_TRUE(bar.needed);
    EXPECT_EQ(bar.minimum, 1);
    EXPECT_EQ(bar.maximum, 100);
    EXPECT_EQ(bar.page, 20);
    EXPECT_EQ(bar.position, 30);
    // Held while a record is inserted or edited.
    EXPECT_EQ(RecordScrollBar(view, true, 12).position, 12);

    using A = TScrollActionEh;
    using K = TScrollMoveEh::Kind;
    struct Case {
        A action;
        int thumb;
        TScrollMoveEh move;
    };
    const Case cases[] = {
        {A::LineUp, 0, {K::Record, 24}},   // above the first visible
        {A::LineDown, 0, {K::Record, 45}}, // below the last visible
        {A::PageUp, 0, {K::MoveBy, -20}},      {A::PageDown, 0, {K::MoveBy, 20}},
        {A::ThumbTrack, 70, {K::Record, 70}},  {A::ThumbPosition, 50, {K::RecNo, 50}},
        {A::ThumbPosition, 100, {K::Last, 0}}, {A::ThumbPosition, 120, {K::Last, 0}},
        {A::ThumbPosition, 1, {K::First, 0}},  {A::Top, 0, {K::First, 0}},
        {A::Bottom, 0, {K::Last, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordScrollMove(c.action, c.thumb, view), c.move)
            << static_cast<int>(c.action) << " " << c.thumb;
}

TEST(VertScrollMapping, NoBarWhileEveryRowFitsAndNoLineMovesPastTheEnds) {
    TRecordViewEh view;
    view.recordCount = 5;
    view.rowCount = 5;
    view.visibleRows = 20;
    view.recNo = 1;
    view.firstVisible = 1;
    view.lastVisible = 5;
    EXPECT_FALSE(RecordScrollBar(view, false, 0).needed);
    EXPECT_EQ(RecordScrollMove(TScrollActionEh::LineUp, 0, view), TScrollMoveEh{});
    EXPECT_EQ(RecordScrollMove(TScrollActionEh::LineDown, 0, view), TScrollMoveEh{});
    // A row being appended past the last one that does not fit needs the bar.
    view.recordCount = view.rowCount = 20;
    EXPECT_FALSE(RecordScrollBar(view, false, 0).needed);
    view.rowCount = 21;
    EXPECT_TRUE(RecordScrollBar(view, true, 20).needed);
}

TEST(VertScrollMapping, FivePositionsForUnnumberedDatasets) {
    EXPECT_EQ(FivePositionScrollBar(true, true, false).position, 0);
    EXPECT_EQ(FivePositionScrollBar(true, false, false).position, 2);
    EXPECT_EQ(FivePositionScrollBar(true, false, true).position, 4);
    EXPECT_EQ(FivePositionScrollBar(true, false, true).maximum, 4);
    using K = TScrollMoveEh::Kind;
    const TScrollMoveEh expected[] = {
        {K::First, 0}, {K::MoveBy, -20}, {K::None, 0}, {K::MoveBy, 20}, {K::Last, 0}};
    for (int thumb = 0; thumb <= 4; ++thumb)
        EXPECT_EQ(FivePositionScrollMove(TScrollActionEh::ThumbTrack, thumb, 20), expected[thumb])
            << thumb;
    EXPECT_EQ(FivePositionScrollMove(TScrollActionEh::LineDown, 0, 20),
              (TScrollMoveEh{K::MoveBy, 1}));
}
