#include "grid/input/grid_mouse_eh.h"

#include "data/dataset/dataset.h"
#include "grid/dbgrideh.h"
#include "grid/grid_widget_eh.h"
#include "grid/layout/grid_metrics.h"
#include "grid/paint/grid_cell_painter_eh.h"

#include <QPainter>
#include <cstdlib>

namespace {

bool ResizeAllowed(const TDBGridEh& grid) {
    return grid.Options().Contains(TDBGridOption::dgColumnResize) ||
           grid.OptionsEh().Contains(TDBGridEhOption::dghColumnResize);
}

bool MoveAllowed(const TDBGridEh& grid) {
    return grid.OptionsEh().Contains(TDBGridEhOption::dghColumnMove);
}

} // namespace

void TGridMouseEh::Press(QPoint pos, Qt::MouseButton button, TShiftState shift, bool doubleClick) {
    (void)shift;
    const TGridGeometryEh& g = grid_.Geometry();
    const TGridHitEh hit = g.HitTest(pos);
    if (!grid_.HasFocusWithin())
        grid_.SetFocus();
    if (doubleClick) {
        Fire(grid_.OnDblClick, &grid_);
        return;
    }
    if (drag_ != TDrag::None)
        return;
    const int visibleIndex =
        hit.column >= 0 ? g.columns[static_cast<size_t>(hit.column)].visibleIndex : -1;
    if (button == Qt::RightButton) {
        if (hit.area == TGridAreaEh::Title && visibleIndex >= 0 && MoveAllowed(grid_))
            StartMove(visibleIndex, pos);
        return;
    }
    if (button != Qt::LeftButton)
        return;
    switch (hit.area) {
    case TGridAreaEh::Title:
        if (hit.sizingColumn >= 0 && ResizeAllowed(grid_)) {
            const auto& span = g.columns[static_cast<size_t>(hit.sizingColumn)];
            drag_ = TDrag::Sizing;
            column_ = span.visibleIndex;
            sizingLeft_ = span.left;
            pointer_ = pos;
            grid_.InvalidateGrid();
            return;
        }
        if (visibleIndex < 0)
            return;
        drag_ = TDrag::TitlePress;
        column_ = visibleIndex;
        origin_ = pointer_ = pos;
        titleButton_ =
            grid_.VisibleColumns()[static_cast<size_t>(visibleIndex)]->Title().TitleButton();
        pressedShown_ = titleButton_;
        grid_.InvalidateGrid();
        return;
    case TGridAreaEh::Data:
    case TGridAreaEh::Indicator: {
        if (!grid_.DataLink().Active() || hit.row >= grid_.Rows().Count())
            return;
        const bool wasCurrent = hit.area == TGridAreaEh::Data &&
                                hit.row == grid_.Rows().CurrentRow() &&
                                visibleIndex == grid_.VisibleSelectedIndex();
        grid_.MoveToCell(hit.row, hit.area == TGridAreaEh::Data ? visibleIndex : -1);
        if (wasCurrent)
            grid_.ShowEditor();
        return;
    }
    default:
        return;
    }
}

void TGridMouseEh::Move(QPoint pos, Qt::MouseButtons buttons) {
    switch (drag_) {
    case TDrag::None:
        if (buttons == Qt::NoButton)
            UpdateCursor(pos);
        return;
    case TDrag::TitlePress: {
        if (std::abs(pos.x() - origin_.x()) > GridMetricsEh::MoveThreshold ||
            std::abs(pos.y() - origin_.y()) > GridMetricsEh::MoveThreshold) {
            if (MoveAllowed(grid_)) {
                StartMove(column_, pos);
                return;
            }
        }
        const TGridGeometryEh& g = grid_.Geometry();
        const TGridHitEh hit = g.HitTest(pos);
        const bool inside = titleButton_ && hit.area == TGridAreaEh::Title && hit.column >= 0 &&
                            g.columns[static_cast<size_t>(hit.column)].visibleIndex == column_;
        if (inside != pressedShown_) {
            pressedShown_ = inside;
            grid_.InvalidateGrid();
        }
        return;
    }
    case TDrag::Sizing:
    case TDrag::Moving:
        pointer_ = pos;
        grid_.InvalidateGrid();
        return;
    }
}

void TGridMouseEh::Release(QPoint pos, Qt::MouseButton button, TShiftState shift) {
    const TDrag drag = drag_;
    const int column = column_;
    const bool clicked = pressedShown_;
    if (drag == TDrag::None)
        return;
    const int target = drag == TDrag::Moving ? MoveTarget(pos.x()) : -1;
    if (drag == TDrag::Moving ? button != Qt::LeftButton && button != Qt::RightButton
                              : button != Qt::LeftButton)
        return;
    drag_ = TDrag::None;
    pressedShown_ = false;
    column_ = -1;
    grid_.InvalidateGrid();
    switch (drag) {
    case TDrag::TitlePress: {
        const std::vector<TColumnEh*> columns = grid_.VisibleColumns();
        if (clicked && column < static_cast<int>(columns.size()))
            grid_.TitleClick(*columns[static_cast<size_t>(column)], shift);
        return;
    }
    case TDrag::Sizing: {
        const int width = pos.x() - sizingLeft_;
        if (width > 1) {
            grid_.SetCellWidth(column, width);
            grid_.RebalanceFitWeights();
        }
        return;
    }
    case TDrag::Moving:
        if (pos.y() >= 0 && pos.y() < grid_.Geometry().DataTop() && target != column)
            grid_.MoveColumn(column, target);
        return;
    case TDrag::None:
        return;
    }
}

void TGridMouseEh::Wheel(bool up) {
    if (grid_.DataLink().Active())
        grid_.MoveBy(up ? -1 : 1);
}

void TGridMouseEh::Cancel() {
    if (drag_ == TDrag::None)
        return;
    drag_ = TDrag::None;
    pressedShown_ = false;
    column_ = -1;
    grid_.InvalidateGrid();
}

int TGridMouseEh::PressedTitle() const {
    return drag_ == TDrag::TitlePress && pressedShown_ ? column_ : -1;
}

void TGridMouseEh::StartMove(int visibleIndex, QPoint pos) {
    drag_ = TDrag::Moving;
    column_ = visibleIndex;
    pressedShown_ = false;
    origin_ = pointer_ = pos;
    grid_.InvalidateGrid();
}

int TGridMouseEh::MoveGap(int x) const {
    const TGridGeometryEh& g = grid_.Geometry();
    // The gap before the first column whose middle is right of x.
    for (const TGridColumnSpanEh& span : g.columns)
        if (x < span.left + span.width / 2)
            return span.visibleIndex;
    return grid_.LeftColumn() + static_cast<int>(g.columns.size());
}

int TGridMouseEh::MoveTarget(int x) const {
    const int gap = MoveGap(x);
    return gap > column_ ? gap - 1 : gap;
}

void TGridMouseEh::UpdateCursor(QPoint pos) {
    const TGridHitEh hit = grid_.Geometry().HitTest(pos);
    const bool sizing =
        hit.area == TGridAreaEh::Title && hit.sizingColumn >= 0 && ResizeAllowed(grid_);
    grid_.GridWidget().viewport()->setCursor(sizing ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TGridMouseEh::PaintOverlay(QPainter& painter) const {
    const TGridGeometryEh& g = grid_.Geometry();
    if (drag_ == TDrag::Sizing) {
        const int x = std::max(sizingLeft_, pointer_.x());
        painter.setPen(QColor(0, 0, 0));
        painter.drawLine(x, 0, x, g.clientHeight - 1);
        return;
    }
    if (drag_ != TDrag::Moving)
        return;
    // The gap where the column would land, as a thick line across the title row.
    int x = g.ColumnsRight() - 1;
    const int span = g.SpanOf(MoveGap(pointer_.x()));
    if (span >= 0)
        x = g.columns[static_cast<size_t>(span)].left - 1;
    painter.fillRect(QRect(x - 1, 0, 3, g.titleHeight), QColor(0, 0, 0));
    // The title follows the pointer.
    const int from = g.SpanOf(column_);
    const int width = from >= 0 ? g.columns[static_cast<size_t>(from)].width : 64;
    const QRect floating(pointer_.x() - width / 2, 0, width, g.titleHeight);
    const std::vector<TColumnEh*> columns = grid_.VisibleColumns();
    if (column_ >= static_cast<int>(columns.size()))
        return;
    painter.setOpacity(0.6);
    const TColumnEh* column = columns[static_cast<size_t>(column_)];
    TTitleCellEh title;
    title.cell = floating;
    title.caption = column->Title().Caption();
    title.font = column->Title().EffectiveFont();
    title.textColor = grid_.Palette().fixedText;
    GridCellPainterEh::PaintTitleCell(painter, title, grid_.Palette());
    painter.setOpacity(1.0);
}
