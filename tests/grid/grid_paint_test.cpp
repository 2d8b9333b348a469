// What the grid paints where its pixels are fixed: the indicator glyph of
// the current row centred in its cell (arrow, I-beam, star; the arrow on
// yellow during an incremental search), the pressed title shifted by one
// pixel, the current cell highlighted only while the grid has the focus, and
// what extensions draw into titles and cells.

#include "grid/glyphs/grid_glyphs.h"
#include "grid/incsearch/inc_search_eh.h"
#include "grid/paint/grid_cell_painter_eh.h"
#include "tests/grid/grid_fixture.h"

#include <QPainter>
#include <functional>

namespace {

bool Dark(QRgb pixel) {
    return qGray(pixel) < 80;
}

// The dark pixels of `area`, as a rectangle; null when there are none.
QRect InkBox(const QImage& image, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (Dark(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// Whether `glyph` appears with its top-left corner at `origin`: black where it
// has ink, not black elsewhere.
bool GlyphAt(const QImage& image, const QImage& glyph, QPoint origin) {
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if ((qAlpha(glyph.pixel(x, y)) != 0) != Dark(image.pixel(origin + QPoint(x, y))))
                return false;
    return true;
}

// Draws a marker-sized block at the right of every title and shows the
// search's yellow behind the indicator.
class TMarkerExtension : public TGridExtensionEh {
public:
    void PaintTitleDecoration(QPainter& painter, const TTitlePaintInfoEh& title,
                              QRect& caption) override {
        const QRect block(title.cell.right() - 12, title.cell.top() + 2, 10, 9);
        painter.fillRect(block, Qt::red);
        caption.setRight(block.left() - 2);
    }
    void PaintCurrentCellOverlay(QPainter& painter, const TCellPaintInfoEh& cell) override {
        ++overlays;
        painter.fillRect(cell.textRect.left(), cell.textRect.top(), 4, 4, Qt::green);
    }
    std::optional<QColor> CurrentIndicatorColor(const TDBGridEh&) const override {
        return QColor(Qt::yellow);
    }
    int overlays = 0;
};

} // namespace

class GridPaintTest : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Open(10);
        Show();
    }
    QRect IndicatorCell() const {
        return grid_->Geometry().IndicatorRect(grid_->Rows().CurrentRow());
    }
    // Where the 6 x 11 glyph stands in the 11-pixel indicator cell of the current row.
    QPoint GlyphOrigin() const {
        const QRect cell = IndicatorCell();
        return QPoint(cell.left() + (11 - 6) / 2, cell.top() + (cell.height() - 11) / 2);
    }
};

TEST_F(GridPaintTest, TheIndicatorGlyphIsCentredAndFollowsTheDatasetState) {
    ASSERT_EQ(IndicatorCell().width(), 11);
    using G = TIndicatorGlyphEh;
    const auto browse = [&] { Key(Qt::Key_Down); };
    const auto edit = [&] {
        Key(Qt::Key_Down);
        Type(QStringLiteral("x"));
    };
    const auto insert = [&] {
        Key(Qt::Key_End, Qt::ControlModifier);
        Key(Qt::Key_Down);
        // The new row is the last one on view, below the last record.
        EXPECT_EQ(grid_->Rows().CurrentRow(), 10);
    };
    // During an incremental search (Ctrl+F) the arrow stands on yellow; the
    // I-beam of a record in edit and the star of a new one stay as they are.
    const struct {
        const char* name;
        std::function<void()> enter;
        bool search;
        TDataSetState state;
        G glyph;
        bool yellow;
    } cases[] = {
        {"browsing", browse, false, dsBrowse, G::Arrow, false},
        {"browsing, searching", browse, true, dsBrowse, G::Arrow, true},
        {"editing", edit, false, dsEdit, G::Edit, false},
        {"editing, searching", edit, true, dsEdit, G::Edit, false},
        {"inserting", insert, false, dsInsert, G::Insert, false},
        {"inserting, searching", insert, true, dsInsert, G::Insert, false},
    };
    TIncSearchEh& search = *grid_->Extension<TIncSearchEh>();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.enter();
        if (c.search)
            Key(Qt::Key_F, Qt::ControlModifier);
        ASSERT_EQ(cds_->State(), c.state);
        ASSERT_EQ(search.Searching(), c.search);
        const QImage image = Render();
        EXPECT_TRUE(GlyphAt(image, IndicatorGlyph(c.glyph), GlyphOrigin()));
        bool yellow = false;
        const QRect cell = IndicatorCell();
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                yellow = yellow || QColor(image.pixel(x, y)) == QColor(Qt::yellow);
        EXPECT_EQ(yellow, c.yellow);
        // No glyph on the other rows.
        const QRect other = grid_->Geometry().IndicatorRect(0).adjusted(1, 1, -1, -1);
        EXPECT_TRUE(InkBox(image, other).isNull());
        // Afresh for the next case.
        search.EndSearch();
        grid_->HideEditor();
        cds_->Cancel();
        cds_->First();
    }
}

TEST_F(GridPaintTest, APressedTitleIsShiftedByOnePixel) {
    const TGridGeometryEh& g = grid_->Geometry();
    const QRect title = g.TitleRect(g.SpanOf(1));
    const QRect inner = title.adjusted(2, 2, -2, -2);
    const QImage up = Render();
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, title.center());
    const QImage down = Render();
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, title.center());
    const QRect captionUp = InkBox(up, inner);
    ASSERT_FALSE(captionUp.isNull());
    EXPECT_EQ(InkBox(down, inner), captionUp.translated(1, 1));
    // Raised: lit at the top left; pressed: shaded there.
    EXPECT_GT(qGray(up.pixel(title.topLeft())), qGray(down.pixel(title.topLeft())));
    // Released, it is drawn raised again.
    EXPECT_EQ(InkBox(Render(), inner), captionUp);
}

TEST_F(GridPaintTest, TheCurrentCellIsHighlightedOnlyWhileTheGridHasTheFocus) {
    const QColor highlight = grid_->Palette().highlight;
    const QColor window = grid_->Palette().window;
    const QPoint corner = grid_->Geometry().CellRect(0, 0).topLeft() + QPoint(1, 1);
    EXPECT_EQ(QColor(Render().pixel(corner)), highlight);
    EXPECT_EQ(QColor(Render().pixel(grid_->Geometry().CellRect(1, 0).topLeft() + QPoint(1, 1))),
              window);
    other_->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(QColor(Render().pixel(corner)), window);
    // The cell editor having the focus counts as the grid's.
    grid_->SetFocus();
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid_->InplaceEditor()->hasFocus());
    EXPECT_TRUE(grid_->HasFocusWithin());
}

TEST_F(GridPaintTest, ExtensionsDrawIntoTitlesTheCurrentCellAndTheIndicator) {
    auto& marker =
        static_cast<TMarkerExtension&>(grid_->AddExtension(std::make_unique<TMarkerExtension>()));
    // A caption longer than its narrowed room is cut before the block.
    grid_->VisibleColumns()[2]->Title().SetCaption(QStringLiteral("UNIDADUNIDADUNIDAD"));
    const QImage image = Render();
    const TGridGeometryEh& g = grid_->Geometry();
    const QRect title = g.TitleRect(g.SpanOf(2));
    EXPECT_EQ(QColor(image.pixel(title.right() - 8, title.top() + 5)), QColor(Qt::red));
    const QRect caption = InkBox(image, title.adjusted(2, 2, -2, -2));
    EXPECT_LE(caption.right(), title.right() - 15);
    EXPECT_GT(marker.overlays, 0);
    const QRect cell = g.CellRect(0, 0);
    EXPECT_EQ(QColor(image.pixel(cell.left() + 3, cell.top() + 3)), QColor(Qt::green));
    // The arrow on yellow.
    const QPoint origin = GlyphOrigin();
    EXPECT_TRUE(GlyphAt(image, IndicatorGlyph(TIndicatorGlyphEh::Arrow), origin));
    EXPECT_EQ(QColor(image.pixel(origin + QPoint(5, 0))), QColor(Qt::yellow));
    // No overlay without the focus.
    other_->SetFocus();
    QApplication::processEvents();
    marker.overlays = 0;
    Render();
    EXPECT_EQ(marker.overlays, 0);
}

TEST_F(GridPaintTest, AClosedDatasetShowsTitlesAndFooterOnly) {
    cds_->Close();
    const QImage image = Render();
    const TGridGeometryEh& g = grid_->Geometry();
    EXPECT_EQ(g.shownRows, 0);
    EXPECT_EQ(g.FooterTop(0), g.DataTop() + 1);
    EXPECT_FALSE(InkBox(image, g.TitleRect(0).adjusted(2, 2, -2, -2)).isNull());
    EXPECT_FALSE(grid_->GridWidget().verticalScrollBar()->isVisible());
}
