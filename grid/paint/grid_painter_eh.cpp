#include "grid/paint/grid_painter_eh.h"

#include "data/dataset/dataset.h"
#include "grid/dbgrideh.h"
#include "grid/input/grid_mouse_eh.h"
#include "grid/paint/grid_cell_painter_eh.h"
#include "grid/paint/row_pictures_eh.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <cmath>

namespace {

class TGridPicture {
public:
    TGridPicture(QPainter& painter, TDBGridEh& grid)
        : painter_(painter), grid_(grid), g_(grid.Geometry()), palette_(grid.Palette()),
          columns_(grid.VisibleColumns()), dataSet_(grid.DataSet()) {}

    void Paint() {
        if (const QImage* target = Target()) {
            pictures_ = &grid_.RowPictures();
            pictures_->BeginPaint(RowLook(*target));
        }
        // The background, but where rows come whole from their pictures.
        QRegion background(QRect(0, 0, g_.clientWidth, g_.clientHeight));
        for (int r = 0; r < ShownRows(); ++r)
            if (FromPicture(r))
                background -= RowPictureRect(r);
        for (const QRect& rect : background)
            painter_.fillRect(rect, palette_.window);
        if (g_.titleHeight > 0)
            PaintTitles();
        PaintRows();
        PaintFooters();
        PaintLines();
        grid_.Mouse().PaintOverlay(painter_);
        if (pictures_)
            pictures_->EndPaint();
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

    // The text of `column`'s cell on row `r`.
    QString CellText(const TColumnEh& column, int r) const {
        const TField* field = column.Field();
        return field ? column.DisplayTextOf(grid_.Rows().Value(*dataSet_, r, *field)) : QString();
    }

    // A data cell as every row but the current one shows it.
    TDataCellEh PlainCell(const QRect& rect, const TColumnEh& column, const QString& text) const {
        TDataCellEh cell;
        cell.cell = rect;
        cell.text = text;
        cell.font = column.EffectiveFont();
        cell.alignment = column.Alignment();
        cell.raised = grid_.OptionsEh().Contains(TDBGridEhOption::dghData3D);
        cell.background = palette_.window;
        cell.textColor = column.Font().Color(palette_.text);
        return cell;
    }

    // The window's image on screen when the painter paints into it and rows
    // can be copied into it as they are: whole pixels, no scaling, plain
    // painting. Other paints (a grab of the grid, a picture of it) paint
    // every row.
    const QImage* Target() const {
        const QPaintDevice* device =
            painter_.paintEngine() ? painter_.paintEngine()->paintDevice() : nullptr;
        QBackingStore* screen = grid_.Widget()->backingStore();
        if (!device || !screen || device != screen->paintDevice() ||
            device->devType() != QInternal::Image || g_.columns.empty() || g_.rowHeight <= 0)
            return nullptr;
        const auto* image = static_cast<const QImage*>(device);
        const QTransform& t = painter_.deviceTransform();
        if (image->devicePixelRatio() != 1 || t.type() > QTransform::TxTranslate ||
            t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()) ||
            painter_.compositionMode() != QPainter::CompositionMode_SourceOver ||
            painter_.opacity() != 1)
            return nullptr;
        return image;
    }

    // Where a row's picture starts: its first cell's left, the row's top.
    QPoint RowOrigin(int r) const { return QPoint(g_.columns.front().left, g_.RowTop(r)); }
    QRect RowPictureRect(int r) const {
        const TGridColumnSpanEh& last = g_.columns.back();
        return QRect(RowOrigin(r),
                     QPoint(last.left + last.width - 1, g_.RowTop(r) + g_.rowHeight - 1));
    }
    // Whether row `r` comes from its picture: every row but the current one,
    // when the paint goes to the screen.
    bool FromPicture(int r) const { return pictures_ && r != grid_.Rows().CurrentRow(); }

    TRowLookEh RowLook(const QImage& target) const {
        TRowLookEh look;
        look.format = target.format();
        look.size = RowPictureRect(0).size();
        ForEachColumn([&](int s, const TGridColumnSpanEh&, TColumnEh& column) {
            const TDataCellEh cell =
                PlainCell(g_.CellRect(s, 0).translated(-RowOrigin(0)), column, QString());
            look.cells.push_back(cell.cell);
            look.fonts.push_back(cell.font);
            look.textColors.push_back(cell.textColor);
            look.alignments.push_back(cell.alignment);
            look.raised = cell.raised;
        });
        look.background = palette_.window;
        look.light = palette_.light;
        look.shadow = palette_.shadow;
        return look;
    }

    // A row but the current one, copied from its picture.
    void PaintRowPicture(TRowPicturesEh& pictures, int r) {
        QStringList texts;
        ForEachColumn([&](int, const TGridColumnSpanEh&, TColumnEh& column) {
            texts << CellText(column, r);
        });
        const QImage& picture = pictures.Picture(texts, [&](QPainter& p) {
            qsizetype i = 0;
            ForEachColumn([&](int s, const TGridColumnSpanEh&, TColumnEh& column) {
                const QRect rect = g_.CellRect(s, r).translated(-RowOrigin(r));
                GridCellPainterEh::PaintDataCell(p, PlainCell(rect, column, texts[i++]), palette_);
            });
        });
        painter_.save();
        painter_.setCompositionMode(QPainter::CompositionMode_Source);
        painter_.drawImage(RowOrigin(r), picture);
        painter_.restore();
    }

    void PaintRows() {
        const TVisibleRowsEh& rows = grid_.Rows();
        const bool focused = grid_.HasFocusWithin();
        const bool highlight = focused ||
                               grid_.Options().Contains(TDBGridOption::dgAlwaysShowSelection) ||
                               !grid_.OptionsEh().Contains(TDBGridEhOption::dghHighlightFocus);
        const int selected = grid_.VisibleSelectedIndex();
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
            if (FromPicture(r)) {
                PaintRowPicture(*pictures_, r);
                continue;
            }
            ForEachColumn([&](int s, const TGridColumnSpanEh& span, TColumnEh& column) {
                TDataCellEh cell = PlainCell(g_.CellRect(s, r), column, CellText(column, r));
                const bool currentCell = current && span.visibleIndex == selected;
                if (currentCell && highlight) {
                    cell.background = palette_.highlight;
                    cell.textColor = palette_.highlightText;
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
    TRowPicturesEh* pictures_ = nullptr;
};

} // namespace

void PaintGridEh(QPainter& painter, TDBGridEh& grid, const QRect& area) {
    painter.save();
    painter.setClipRect(area);
    TGridPicture(painter, grid).Paint();
    painter.restore();
}
