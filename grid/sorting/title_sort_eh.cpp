#include "grid/sorting/title_sort_eh.h"

#include "grid/dbgrideh.h"
#include "grid/grid_widget_eh.h"
#include "grid/input/grid_keys_eh.h"
#include "grid/sorting/apply_title_sort_eh.h"
#include "grid/sorting/sort_marker_painter_eh.h"
#include "grid/sorting/sort_marking_eh.h"
#include "platform/ui/application.h"
#include "platform/ui/system_colors.h"

#include <QApplication>

void TTitleSortEh::KeyUp(TDBGridEh& grid, unsigned short key, TShiftState) {
    if (key != GridKeysEh::Ctrl || !pending_)
        return;
    pending_ = false;
    ApplyTitleSort(grid);
}

void TTitleSortEh::FocusLost(TDBGridEh& grid) {
    if (!pending_)
        return;
    pending_ = false;
    // A failed sort is reported on its own; the grid still finishes leaving.
    Application->Dispatch(&grid, [&] { ApplyTitleSort(grid); });
}

void TTitleSortEh::TitleClicked(TDBGridEh& grid, TColumnEh& column, TShiftState shift) {
    const bool ctrl = (shift & ssCtrl) != 0;
    pending_ = ctrl;
    if (grid.OptionsEh().Contains(TDBGridEhOption::dghAutoSortMarking))
        column.Title().AdvanceSortMarker(ctrl);
    if (!ctrl)
        ApplyTitleSort(grid);
}

void TTitleSortEh::PaintTitleDecoration(QPainter& painter, const TTitlePaintInfoEh& title,
                                        QRect& caption) {
    const TColumnTitleEh& t = title.column.Title();
    if (t.SortMarker() == smNoneEh)
        return;
    const TDBGridColumnsEh& columns = title.column.Collection();
    const TDBGridEh* grid = columns.Grid();
    // The number only tells something when two or more columns are sorted.
    const int number = SortMarkingEh::SortColumnList(columns).size() >= 2 ? t.SortIndex() : 0;
    const QColor color =
        Colors::clWindowText.Resolve(grid ? grid->GridWidget().palette() : QApplication::palette());
    SortMarkerPainterEh::Paint(painter, title.cell, caption, t.SortMarker(), number, color);
}
