#pragma once
// TTitleSortEh: sorting by a click on a column title. A plain click leaves a
// one-column sort on the clicked column and applies it at once; a click with
// Ctrl held adds the column to the sort (or moves it on to descending and
// unsorted) and the sort is applied when Ctrl goes up or the grid loses the
// focus. It also draws the sort markers into the titles.

#include "grid/grid_extension_eh.h"

class TTitleSortEh : public TGridExtensionEh {
public:
    // A click with Ctrl held waits for Ctrl to go up.
    bool SortPending() const { return pending_; }

    void KeyUp(TDBGridEh& grid, unsigned short key, TShiftState shift) override;
    void FocusLost(TDBGridEh& grid) override;
    void TitleClicked(TDBGridEh& grid, TColumnEh& column, TShiftState shift) override;
    void PaintTitleDecoration(QPainter& painter, const TTitlePaintInfoEh& title,
                              QRect& caption) override;

private:
    bool pending_ = false;
};
