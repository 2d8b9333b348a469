#include "grid/features/cds_dataset_features_eh.h"

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/client/dataset_provider.h"
#include "grid/dbgrideh.h"

#include <algorithm>
#include <vector>

void TCDSDatasetFeaturesEh::SortByMarkers(TObject* sender, TDataSet* dataSet, bool) {
    auto* grid = dynamic_cast<TDBGridEh*>(sender);
    auto* clientDataSet = dynamic_cast<TClientDataSet*>(dataSet);
    if (!grid || !clientDataSet)
        return;
    if (grid->SortLocal())
        SortLocally(*grid, *clientDataSet);
    else
        SortThroughProvider(*grid, *clientDataSet);
}

void TCDSDatasetFeaturesEh::SortLocally(const TDBGridEh& grid, TClientDataSet& dataSet) {
    QStringList fields;
    QStringList descending;
    for (const TColumnEh* column : grid.SortColumnList()) {
        fields << column->FieldName();
        if (column->Title().SortMarker() == smUpEh)
            descending << column->FieldName();
    }
    const QString index = SortIndexName();
    if (dataSet.HasIndex(index))
        dataSet.DeleteIndex(index);
    if (fields.isEmpty()) {
        dataSet.SetIndexName(QString());
    } else {
        dataSet.AddIndex(index, fields.join(QLatin1Char(';')), 0, descending.join(QLatin1Char(';')),
                         QString(), 0);
        dataSet.SetIndexName(index);
    }
    dataSet.First();
}

void TCDSDatasetFeaturesEh::SortThroughProvider(TDBGridEh& grid, TClientDataSet& dataSet) {
    TComponent* owner = dataSet.Owner();
    auto* provider =
        owner ? ComponentAs<TDataSetProvider>(owner->FindComponent(dataSet.ProviderName()))
              : nullptr;
    TDataSet* source = provider ? ComponentAs<TDataSet>(provider->DataSet()) : nullptr;
    if (!source)
        return;
    // Providers that lead back to a dataset being sorted end here, not in an
    // endless round.
    static std::vector<const TDataSet*> sorting;
    if (std::find(sorting.begin(), sorting.end(), &dataSet) != sorting.end())
        return;
    sorting.push_back(&dataSet);
    struct TDone {
        ~TDone() { sorting.pop_back(); }
    } done;
    if (TDatasetFeaturesEh* features = FeaturesForDataSet(*source))
        features->SortByMarkers(&grid, source, source->Active());
    dataSet.Close();
    dataSet.Open();
}

void RegisterCDSDatasetFeatures() {
    AddFeaturesForClass<TCDSDatasetFeaturesEh>(QStringLiteral("TCustomClientDataSet"));
}
