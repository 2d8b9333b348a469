#pragma once
// TDatasetFeaturesEh: what the grid asks of a dataset beyond what a data
// source gives: sorting it as the title markers say. Each kind of dataset has
// its features object, which the grid finds by the dataset's class in the
// registry below (TDatasetFeaturesRegistryEh).

#include "platform/core/events.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TDataSet;

class TDatasetFeaturesEh {
public:
    virtual ~TDatasetFeaturesEh() = default;

    // The dataset class this object was registered for.
    const QString& DataSetClass() const { return dataSetClass_; }
    void SetDataSetClass(const QString& name) { dataSetClass_ = name; }

    // Puts `dataSet` in the order of the sort markers of `sender`'s columns;
    // `active` says whether the dataset is open. Does nothing by default.
    virtual void SortByMarkers(TObject* sender, TDataSet* dataSet, bool active);

private:
    QString dataSetClass_;
};

// The registry: (dataset class name, features object) pairs in the order of
// their registration. Class names are matched without regard to letter case.
class TDatasetFeaturesRegistryEh {
public:
    using TFeaturesClass = std::function<std::unique_ptr<TDatasetFeaturesEh>()>;

    // Creates one object of the features class, remembers the dataset class in
    // it and keeps it under that class's name; a second registration under
    // the same name replaces the kept object in its place.
    void AddFeaturesForClass(const TFeaturesClass& featuresClass, const QString& dataSetClass);
    template <typename F> void AddFeaturesForClass(const QString& dataSetClass) {
        AddFeaturesForClass([] { return std::make_unique<F>(); }, dataSetClass);
    }

    // The features registered for the dataset's class or its nearest
    // ancestor: the fewest parent steps from the dataset's class up to a class
    // of the entry's name; on equal steps the entry registered first. Null
    // when no entry names the class or one of its ancestors.
    TDatasetFeaturesEh* FeaturesForDataSet(const TDataSet& dataSet) const;
    // The same for a chain of class names, nearest first.
    TDatasetFeaturesEh* FeaturesForClassChain(const QStringList& chain) const;

    int Count() const { return static_cast<int>(entries_.size()); }

private:
    std::vector<std::pair<QString, std::unique_ptr<TDatasetFeaturesEh>>> entries_;
};

// The program's registry, which the grid's title sorting consults.
TDatasetFeaturesRegistryEh& DatasetFeaturesRegistry();

template <typename F> void AddFeaturesForClass(const QString& dataSetClass) {
    DatasetFeaturesRegistry().AddFeaturesForClass<F>(dataSetClass);
}
TDatasetFeaturesEh* FeaturesForDataSet(const TDataSet& dataSet);
