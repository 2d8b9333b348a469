#pragma once
// The sort marking of a grid's columns: the list of sort-marked columns
// (SortColumnList) and what keeps it whole. The list is the columns whose
// SortIndex is not 0, in SortIndex order; the marker rules of TColumnTitleEh
// (defined beside these functions) keep it equal to the columns with a
// marker, numbered 1, 2, ... without gaps.

#include <vector>

class TColumnEh;
class TDBGridColumnsEh;

namespace SortMarkingEh {

// The sort-marked columns in SortIndex order.
std::vector<TColumnEh*> SortColumnList(const TDBGridColumnsEh& columns);

// After loading: the list rebuilt from the stored SortIndex values. Marked
// columns keep the order of their indexes (a marked column stored without
// one goes last, in column order) and are numbered from 1; an unmarked
// column's index becomes 0.
void RebuildSortColumnList(TDBGridColumnsEh& columns);

// dghMultiSortMarking switched off: every marked column but the first of the
// list loses its marker. Runs while the multiple marking is still on, so that
// the first column keeps index 1.
void KeepFirstSortColumn(TDBGridColumnsEh& columns);

} // namespace SortMarkingEh
