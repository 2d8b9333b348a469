#include "grid/features/dataset_features_eh.h"

#include "data/dataset/dataset.h"

#include <limits>

void TDatasetFeaturesEh::SortByMarkers(TObject*, TDataSet*, bool) {}

void TDatasetFeaturesRegistryEh::AddFeaturesForClass(const TFeaturesClass& featuresClass,
                                                     const QString& dataSetClass) {
    std::unique_ptr<TDatasetFeaturesEh> features = featuresClass();
    features->SetDataSetClass(dataSetClass);
    for (auto& entry : entries_) {
        if (entry.first == dataSetClass) {
            entry.second = std::move(features);
            return;
        }
    }
    entries_.emplace_back(dataSetClass, std::move(features));
}

TDatasetFeaturesEh* TDatasetFeaturesRegistryEh::FeaturesForDataSet(const TDataSet& dataSet) const {
    return FeaturesForClassChain(dataSet.ClassChain());
}

TDatasetFeaturesEh*
TDatasetFeaturesRegistryEh::FeaturesForClassChain(const QStringList& chain) const {
    TDatasetFeaturesEh* nearest = nullptr;
    qsizetype nearestSteps = std::numeric_limits<qsizetype>::max();
    for (const auto& [name, features] : entries_) {
        for (qsizetype steps = 0; steps < chain.size() && steps < nearestSteps; ++steps) {
            if (chain[steps].compare(name, Qt::CaseInsensitive) == 0) {
                nearest = features.get();
                nearestSteps = steps;
                break;
            }
        }
    }
    return nearest;
}

TDatasetFeaturesRegistryEh& DatasetFeaturesRegistry() {
    static TDatasetFeaturesRegistryEh registry;
    return registry;
}

TDatasetFeaturesEh* FeaturesForDataSet(const TDataSet& dataSet) {
    return DatasetFeaturesRegistry().FeaturesForDataSet(dataSet);
}
