#pragma once
// ApplyTitleSort: the grid's sort marking changed; have the dataset follow it.

class TDBGridEh;

// Nothing without dghAutoSortMarking. OnSortMarkingChanged, when assigned,
// replaces the built-in sorting; otherwise the features registered for the
// grid's dataset class (or its nearest ancestor) sort it. A dataset without
// registered features stays as it is.
void ApplyTitleSort(TDBGridEh& grid);
