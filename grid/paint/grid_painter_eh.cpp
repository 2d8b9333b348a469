#include "grid/paint/grid_painter_eh.h"

#include "data/dataset/dataset.h"
#include "grid/dbgrideh.h"
#include "grid/input/grid_mouse_eh.h"
#include "grid/paint/grid_cell_painter_eh.h"

#include <QPainter>

namespace {

class TGridPicture {
public:
    TGridPicture(QPainter& painter, TDBGridEh& grid)
        : painter_(painter), grid_(grid), g_(grid.Geometry()), palette_(grid.Palette()),
          columns_(grid.VisibleColumns()), dataSet_(grid.DataSet()) {}

    void Paint() {
        painter_.fillRect(QRect(0, 0, g_.clientWidth, g_.clientHeight), palette_.window);
        if (g_.titleHeight > 0)
            PaintTitles();
        PaintRows();
        PaintFooters();
        PaintLines();
        grid_.Mouse().PaintOverlay(painter_);
    }

private:
    // The column of a span; null for a span left from before the columns
    // changed (every change runs a layout pass, so none should be).
    TColumnEh* ColumnOf(const TGridColumnSpanEh& span) const {
        return span.visibleIndex < static_cast<int>(columns_.size())
                   ? columns_[static_cast<size_t>(span.visibleIndex)]
                   : nullptr;
    }

    // Calls visit(slot, span, column) for each drawn column slot, left to right.
    template <class Visit> void ForEachColumn(Visit visit) const {
        for (size_t s = 0; s < g_.columns.size(); ++s) {
            const TGridColumnSpanEh& span = g_.columns[s];
            if (TColumnEh* column = ColumnOf(span))
                visit(static_cast<int>(s), span, *column);
        }
    }

    bool Fixed3D() const { return grid_.OptionsEh().Contains(TDBGridEhOption::dghFixed3D); }
    int ShownRows() const { return g_.shownRows; }
    int DataBottom() const { return g_.DataBottom(); }

    void PaintTitles() {
        if (g_.indicatorWidth > 0) {
            TIndicatorCellEh corner;
            corner.cell = g_.IndicatorTitleRect();
            corner.raised = Fixed3D();
            GridCellPainterEh::PaintIndicatorCell(painter_, corner, palette_);
        }
        const int pressed = grid_.Mouse().PressedTitle();
        ForEachColumn([&](int s, const TGridColumnSpanEh& span, TColumnEh& column) {
            TTitleCellEh title;
            title.cell = g_.TitleRect(s);
            title.caption = column.Title().Caption();
            title.font = column.Title().EffectiveFont();
            title.textColor = column.Title().FontColor(palette_.fixedText);
            title.alignment = column.Title().Alignment();
            title.raised = Fixed3D();
            title.pressed = span.visibleIndex == pressed;
            GridCellPainterEh::PaintTitleCell(
                painter_, title, palette_, [&](QPainter& p, const QRect& inner, QRect& caption) {
                    const TTitlePaintInfoEh info{column, inner, title.pressed};
                    for (const auto& extension : grid_.Extensions())
                        extension->PaintTitleDecoration(p, info, caption);
                });
        });
    }

    std::optional<TIndicatorGlyphEh> CurrentGlyph() const {
        switch (dataSet_->State()) {
        case dsEdit:
            return TIndicatorGlyphEh::Edit;
        case dsInsert:
            return TIndicatorGlyphEh::Insert;
        default:
            return TIndicatorGlyphEh::Arrow;
        }
    }

    void PaintRows() {
        const TVisibleRowsEh& rows = grid_.Rows();
        const bool focused = grid_.HasFocusWithin();
        const bool highlight = focused ||
                               grid_.Options().Contains(TDBGridOption::dgAlwaysShowSelection) ||
                               !grid_.OptionsEh().Contains(TDBGridEhOption::dghHighlightFocus);
        const int selected = grid_.VisibleSelectedIndex();
        const bool data3D = grid_.OptionsEh().Contains(TDBGridEhOption::dghData3D);
        for (int r = 0; r < ShownRows(); ++r) {
            const bool current = r == rows.CurrentRow();
            if (g_.indicatorWidth > 0) {
                TIndicatorCellEh indicator;
                indicator.cell = g_.IndicatorRect(r);
                indicator.raised = Fixed3D();
                if (current) {
                    indicator.glyph = CurrentGlyph();
                    // The arrow of a browsing record may stand on an extension's
                    // colour (the search's yellow); the edit and insert glyphs never do.
                    if (dataSet_->State() == dsBrowse)
                        for (const auto& extension : grid_.Extensions())
                            if (auto color = extension->CurrentIndicatorColor(grid_))
                                indicator.glyphBackground = color;
                }
                GridCellPainterEh::PaintIndicatorCell(painter_, indicator, palette_);
            }
            ForEachColumn([&](int s, const TGridColumnSpanEh& span, TColumnEh& column) {
                const TField* field = column.Field();
                TDataCellEh cell;
                cell.cell = g_.CellRect(s, r);
                cell.text =
                    field ? column.DisplayTextOf(rows.Value(*dataSet_, r, *field)) : QString();
                cell.font = column.EffectiveFont();
                cell.alignment = column.Alignment();
                cell.raised = data3D;
                const bool currentCell = current && span.visibleIndex == selected;
                if (currentCell && highlight) {
                    cell.background = palette_.highlight;
                    cell.textColor = palette_.highlightText;
                } else {
                    cell.background = palette_.window;
                    cell.textColor = column.Font().Color(palette_.text);
                }
                GridCellPainterEh::PaintDataCell(painter_, cell, palette_);
                if (currentCell && focused) {
                    const TCellPaintInfoEh info{
                        column,    cell.cell,      GridCellPainterEh::TextRect(cell.cell),
                        cell.font, cell.alignment, cell.text};
                    for (const auto& extension : grid_.Extensions())
                        extension->PaintCurrentCellOverlay(painter_, info);
                }
            });
        }
    }

    int FooterTop(int footerRow) const { return g_.FooterTop(footerRow); }

    void PaintFooters() {
        const bool footer3D = grid_.OptionsEh().Contains(TDBGridEhOption::dghFooter3D);
        const QFont font = grid_.FooterFont().Font(grid_.Font());
        for (int f = 0; f < g_.footerRows; ++f) {
            const int top = FooterTop(f);
            if (g_.indicatorWidth > 0) {
                TIndicatorCellEh indicator;
                indicator.cell = QRect(0, top, g_.indicatorWidth, g_.rowHeight);
                indicator.raised = Fixed3D();
                GridCellPainterEh::PaintIndicatorCell(painter_, indicator, palette_);
            }
            ForEachColumn([&](int, const TGridColumnSpanEh& span, const TColumnEh& column) {
                TDataCellEh cell;
                cell.cell = QRect(span.left, top, span.width, g_.rowHeight);
                cell.text = column.Footer().DisplayText();
                cell.font = font;
                cell.background = palette_.footer;
                cell.textColor = palette_.footerText;
                cell.alignment = column.Alignment();
                cell.raised = footer3D;
                GridCellPainterEh::PaintDataCell(painter_, cell, palette_);
            });
        }
    }

    void PaintLines() {
        const int right = g_.ColumnsRight();
        const int line = g_.lineWidth;
        auto horizontal = [&](int y, const QColor& color) {
            painter_.fillRect(QRect(0, y, right, line), color);
        };
        auto vertical = [&](int x, int top, int bottom, const QColor& color) {
            if (bottom > top)
                painter_.fillRect(QRect(x, top, line, bottom - top), color);
        };
        const bool rowLines = grid_.Options().Contains(TDBGridOption::dgRowLines);
        const int dataBottom = DataBottom();
        const int footerTop = FooterTop(0);
        const int footerBottom = FooterTop(g_.footerRows);
        if (g_.titleHeight > 0)
            horizontal(g_.titleHeight, palette_.fixedLines);
        if (rowLines)
            for (int r = 0; r < ShownRows(); ++r)
                horizontal(g_.RowTop(r) + g_.rowHeight, palette_.dataLines);
        if (g_.footerRows > 0) {
            horizontal(dataBottom, palette_.fixedLines);
            for (int f = 0; f < g_.footerRows; ++f)
                horizontal(FooterTop(f) + g_.rowHeight, palette_.fixedLines);
        }
        if (!g_.colLines)
            return;
        if (g_.indicatorWidth > 0) {
            vertical(g_.indicatorWidth, 0, dataBottom, palette_.fixedLines);
            vertical(g_.indicatorWidth, footerTop, footerBottom, palette_.fixedLines);
        }
        for (const TGridColumnSpanEh& span : g_.columns) {
            const int x = span.left + span.width;
            vertical(x, 0, g_.DataTop(), palette_.fixedLines);
            vertical(x, g_.DataTop(), dataBottom, palette_.dataLines);
            vertical(x, footerTop, footerBottom, palette_.fixedLines);
        }
    }

    QPainter& painter_;
    TDBGridEh& grid_;
    const TGridGeometryEh& g_;
    const TGridPaletteEh palette_;
    const std::vector<TColumnEh*> columns_;
    TDataSet* dataSet_;
};

} // namespace

void PaintGridEh(QPainter& painter, TDBGridEh& grid, const QRect& area) {
    painter.save();
    painter.setClipRect(area);
    TGridPicture(painter, grid).Paint();
    painter.restore();
}
