#include "grid/sorting/sort_marking_eh.h"

#include "grid/columns/columns_host_eh.h"
#include "grid/columns/db_grid_columns_eh.h"

#include <algorithm>
#include <limits>

// ---- The title's marker rules ----------------------------------------------------------

void TColumnTitleEh::SetSortMarker(TSortMarkerEh marker) {
    if (marker == sortMarker_)
        return;
    TDBGridColumnsEh& columns = column_.Collection();
    const IColumnsHostEh* host = column_.Host();
    if (columns.Updating()) {
        sortMarker_ = marker;
    } else if (!host || !host->MultiSortMarking()) {
        // One marked column at most: this one.
        for (int i = 0; i < columns.Count(); ++i) {
            TColumnTitleEh& other = columns[i].Title();
            other.sortMarker_ = smNoneEh;
            other.sortIndex_ = 0;
        }
        sortMarker_ = marker;
        sortIndex_ = marker == smNoneEh ? 0 : 1;
    } else if (marker == smNoneEh) {
        // The columns after this one close up.
        if (sortIndex_ > 0)
            for (int i = 0; i < columns.Count(); ++i) {
                TColumnTitleEh& other = columns[i].Title();
                if (other.sortIndex_ > sortIndex_)
                    --other.sortIndex_;
            }
        sortMarker_ = smNoneEh;
        sortIndex_ = 0;
    } else {
        // A newly marked column sorts after the ones marked before it;
        // ascending and descending swap in place.
        if (sortMarker_ == smNoneEh && sortIndex_ == 0) {
            int marked = 0;
            for (int i = 0; i < columns.Count(); ++i)
                marked += columns[i].Title().sortIndex_ != 0;
            sortIndex_ = marked + 1;
        }
        sortMarker_ = marker;
    }
    Changed(false);
}

void TColumnTitleEh::AdvanceSortMarker(bool keepOthers) {
    TDBGridColumnsEh& columns = column_.Collection();
    if (!keepOthers)
        for (int i = 0; i < columns.Count(); ++i) {
            TColumnTitleEh& other = columns[i].Title();
            if (&other != this && other.sortMarker_ != smNoneEh)
                other.SetSortMarker(smNoneEh);
        }
    switch (sortMarker_) {
    case smNoneEh:
        SetSortMarker(smDownEh);
        break;
    case smDownEh:
        SetSortMarker(smUpEh);
        break;
    case smUpEh:
        SetSortMarker(keepOthers ? smNoneEh : smDownEh);
        break;
    }
}

// ---- The list ------------------------------------------------------------------------------

namespace SortMarkingEh {

std::vector<TColumnEh*> SortColumnList(const TDBGridColumnsEh& columns) {
    std::vector<TColumnEh*> list;
    for (int i = 0; i < columns.Count(); ++i)
        if (columns[i].Title().SortIndex() != 0)
            list.push_back(&columns[i]);
    std::stable_sort(list.begin(), list.end(), [](const TColumnEh* a, const TColumnEh* b) {
        return a->Title().SortIndex() < b->Title().SortIndex();
    });
    return list;
}

void RebuildSortColumnList(TDBGridColumnsEh& columns) {
    std::vector<TColumnEh*> marked;
    for (int i = 0; i < columns.Count(); ++i) {
        TColumnTitleEh& title = columns[i].Title();
        if (title.SortMarker() == smNoneEh)
            title.SetSortIndex(0);
        else
            marked.push_back(&columns[i]);
    }
    auto place = [](const TColumnEh* c) {
        const int index = c->Title().SortIndex();
        return index > 0 ? index : std::numeric_limits<int>::max();
    };
    std::stable_sort(marked.begin(), marked.end(),
                     [&](const TColumnEh* a, const TColumnEh* b) { return place(a) < place(b); });
    for (size_t i = 0; i < marked.size(); ++i)
        marked[i]->Title().SetSortIndex(static_cast<int>(i) + 1);
}

void KeepFirstSortColumn(TDBGridColumnsEh& columns) {
    const std::vector<TColumnEh*> list = SortColumnList(columns);
    for (size_t i = 1; i < list.size(); ++i)
        list[i]->Title().SetSortMarker(smNoneEh);
}

} // namespace SortMarkingEh
