#include "grid/sorting/apply_title_sort_eh.h"

#include "data/dataset/dataset.h"
#include "grid/dbgrideh.h"
#include "grid/features/dataset_features_eh.h"

void ApplyTitleSort(TDBGridEh& grid) {
    if (!grid.OptionsEh().Contains(TDBGridEhOption::dghAutoSortMarking))
        return;
    if (grid.OnSortMarkingChanged) {
        grid.OnSortMarkingChanged(&grid);
        return;
    }
    TDataSet* dataSet = grid.DataSet();
    if (!dataSet)
        return;
    if (TDatasetFeaturesEh* features = FeaturesForDataSet(*dataSet))
        features->SortByMarkers(&grid, dataSet, dataSet->Active());
}
