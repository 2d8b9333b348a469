// The sort markers as painted into the title cells: the triangle at the
// cell's right, the sort index beside it when several columns are sorted,
// the caption kept clear of them, the shift of a pressed title, and what a
// column too narrow for them still shows.

#include "grid/glyphs/grid_glyphs.h"
#include "grid/paint/grid_cell_painter_eh.h"
#include "grid/sorting/sort_marker_painter_eh.h"
#include "tests/grid/sorting/sort_fixture.h"

#include <QFontMetrics>

class SortMarkerPaintTest : public SortFixture {
protected:
    QRect TitleCell(const char* field) const {
        const TGridGeometryEh& g = grid_->Geometry();
        return g.TitleRect(g.SpanOf(VisibleIndexOf(QString::fromLatin1(field))));
    }
    // Inside the cell's raised edges.
    static QRect Inner(const QRect& cell) { return cell.adjusted(1, 1, -1, -1); }
    static int InnerRight(const QRect& cell) { return cell.x() + cell.width() - 1; }
    static int MarkerTop(const QRect& cell) {
        const QRect inner = Inner(cell);
        return inner.y() + (inner.height() - SortMarkerHeight) / 2;
    }
    static int NumberWidth(int number) {
        return QFontMetrics(SortMarkerPainterEh::NumberFont())
            .horizontalAdvance(QString::number(number));
    }

    // The glyph's opaque pixels at `origin`, the title's face under its
    // transparent ones.
    bool GlyphAt(const QImage& image, TSortMarkerEh marker, QPoint origin) const {
        const QImage& glyph =
            SortMarkerGlyph(marker == smUpEh ? TSortMarkerGlyphEh::Up : TSortMarkerGlyphEh::Down);
        const QRgb face = grid_->Palette().fixed.rgb();
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x) {
                const QRgb want = qAlpha(glyph.pixel(x, y)) ? glyph.pixel(x, y) : face;
                if (qRgb(qRed(want), qGreen(want), qBlue(want)) !=
                    (image.pixel(origin + QPoint(x, y)) | 0xFF000000u))
                    return false;
            }
        return true;
    }
    // Pixels of `area` (inside `cell`) that are not the title's face.
    QRect InkBox(const QImage& image, QRect area, const QRect& cell) const {
        area &= Inner(cell);
        const QRgb face = grid_->Palette().fixed.rgb() | 0xFF000000u;
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if ((image.pixel(x, y) | 0xFF000000u) != face)
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    QRect MarkerRect(const QRect& cell, int numberWidth) const {
        return QRect(InnerRight(cell) - SortMarkerWidth - numberWidth - 2, MarkerTop(cell),
                     SortMarkerWidth, SortMarkerHeight);
    }
    QRect NumberRect(const QRect& cell, int numberWidth) const {
        return QRect(InnerRight(cell) - numberWidth - 2, MarkerTop(cell) - 1, numberWidth + 2,
                     SortMarkerHeight + 2);
    }
};

TEST_F(SortMarkerPaintTest, OneSortedColumnShowsItsTriangleAndNoNumber) {
    Column(QStringLiteral("DESCRIPCION")).Title().SetCaption(QString(120, QLatin1Char('W')));
    ClickTitle(QStringLiteral("DESCRIPCION"));
    const QRect cell = TitleCell("DESCRIPCION");
    QImage image = Render();
    EXPECT_TRUE(GlyphAt(image, smDownEh, MarkerRect(cell, 0).topLeft()));
    EXPECT_TRUE(InkBox(image, NumberRect(cell, 0), cell).isNull());
    // The caption stops 16 pixels short of its usual room.
    const int captionRight = cell.right() - 2 - 16;
    const QRect caption = InkBox(
        image,
        QRect(cell.left(), cell.top(), MarkerRect(cell, 0).left() - cell.left(), cell.height()),
        cell);
    ASSERT_FALSE(caption.isNull());
    EXPECT_LE(caption.right(), captionRight);
    EXPECT_GE(caption.right(), captionRight - 8) << "the caption gave up more than its room";

    ClickTitle(QStringLiteral("DESCRIPCION"));
    image = Render();
    EXPECT_TRUE(GlyphAt(image, smUpEh, MarkerRect(cell, 0).topLeft()));
    // The other titles show none.
    const QRect codigo = TitleCell("CODIGO");
    EXPECT_TRUE(InkBox(image, MarkerRect(codigo, 0), codigo).isNull());
}

TEST_F(SortMarkerPaintTest, SeveralSortedColumnsShowTheirNumbersBesideTheTriangles) {
    ClickTitle(QStringLiteral("CATEG"));
    CtrlClicks({QStringLiteral("DESCRIPCION"), QStringLiteral("DESCRIPCION")});
    CtrlUp();
    const QImage image = Render();
    struct TCase {
        const char* field;
        TSortMarkerEh marker;
        int number;
    };
    for (const TCase& c : {TCase{"CATEG", smDownEh, 1}, TCase{"DESCRIPCION", smUpEh, 2}}) {
        SCOPED_TRACE(c.field);
        const QRect cell = TitleCell(c.field);
        const int w = NumberWidth(c.number);
        ASSERT_GT(w, 0);
        EXPECT_TRUE(GlyphAt(image, c.marker, MarkerRect(cell, w).topLeft()));
        const QRect number = InkBox(image, NumberRect(cell, w), cell);
        ASSERT_FALSE(number.isNull());
        EXPECT_GE(number.left(), InnerRight(cell) - w - 2);
        EXPECT_LT(number.right(), InnerRight(cell));
        // In the window text's grey, not in a colour.
        const QRgb ink = image.pixel(number.center());
        EXPECT_LE(std::abs(qRed(ink) - qBlue(ink)), 8);
    }
    // Back to one sorted column: the number goes.
    ClickTitle(QStringLiteral("CATEG"));
    const QRect cell = TitleCell("CATEG");
    const QImage one = Render();
    EXPECT_TRUE(GlyphAt(one, smUpEh, MarkerRect(cell, 0).topLeft()));
    EXPECT_TRUE(InkBox(one, NumberRect(cell, 0), cell).isNull());
}

TEST_F(SortMarkerPaintTest, APressedTitleShiftsTheMarkerWithTheCaption) {
    ClickTitle(QStringLiteral("UNIDAD"));
    const QRect cell = TitleCell("UNIDAD");
    const QPoint origin = MarkerRect(cell, 0).topLeft();
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, cell.center());
    const QImage pressed = Render();
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, cell.bottomLeft() + QPoint(0, 10));
    EXPECT_TRUE(GlyphAt(pressed, smDownEh, origin + QPoint(1, 1)));
    EXPECT_TRUE(GlyphAt(Render(), smDownEh, origin));
}

TEST_F(SortMarkerPaintTest, ANarrowColumnGivesUpTheMarkerThenTheNumber) {
    grid_->SetAutoFitColWidths(false);
    TColumnEh& categ = Column(QStringLiteral("CATEG"));
    categ.Title().SetCaption(QString());
    const int w2 = NumberWidth(2);
    struct TCase {
        const char* name;
        bool twoColumns;
        int width;
        bool marker;
        bool number;
    };
    // The caption's room is the width less 4; the marker takes 16 of it.
    const TCase cases[] = {
        {"one column, room for the marker", false, 20, true, false},
        {"one column, one pixel short", false, 19, false, false},
        {"two columns, room for both", true, 20, true, true},
        {"two columns, room for the number", true, 6 + w2, false, true},
        {"two columns, room for neither", true, 5 + w2, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        categ.SetWidth(c.width);
        ClickTitle(QStringLiteral("PRECIO"));
        if (c.twoColumns) {
            CtrlClicks({QStringLiteral("CATEG")});
            CtrlUp();
        } else {
            ClickTitle(QStringLiteral("PRECIO"));
            ClickTitle(QStringLiteral("CATEG"));
        }
        ASSERT_EQ(categ.Title().SortMarker(), smDownEh);
        const int w = c.twoColumns ? w2 : 0;
        const QRect cell = TitleCell("CATEG");
        ASSERT_EQ(cell.width(), c.width);
        const QImage image = Render();
        if (c.marker)
            EXPECT_TRUE(GlyphAt(image, smDownEh, MarkerRect(cell, w).topLeft()));
        else
            EXPECT_TRUE(InkBox(image, MarkerRect(cell, w), cell).isNull());
        EXPECT_EQ(!InkBox(image, NumberRect(cell, w), cell).isNull(), c.number);
    }
}
