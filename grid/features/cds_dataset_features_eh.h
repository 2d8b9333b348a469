#pragma once
// TCDSDatasetFeaturesEh: the features of the client datasets, registered for
// TCustomClientDataSet. It sorts a client dataset by the grid's sort markers
// through a temporary local index, "SortIndexEh", built anew at every sort;
// with the grid's SortLocal off it asks the dataset behind the client
// dataset's provider to sort itself and reopens the client dataset.

#include "grid/features/dataset_features_eh.h"

class TClientDataSet;
class TDBGridEh;

class TCDSDatasetFeaturesEh : public TDatasetFeaturesEh {
public:
    static QString SortIndexName() { return QStringLiteral("SortIndexEh"); }

    // Serves a grid only. Fields: the FieldNames of the grid's SortColumnList
    // joined by ";", the descending ones those marked smUpEh. The previous
    // "SortIndexEh" is deleted (the default order returns if it was
    // current); with fields an index of them is made (texts compared with
    // their case) and selected, without them the default order is; then the
    // first record is current. A closed dataset raises its error.
    void SortByMarkers(TObject* sender, TDataSet* dataSet, bool active) override;

private:
    static void SortLocally(const TDBGridEh& grid, TClientDataSet& dataSet);
    static void SortThroughProvider(TDBGridEh& grid, TClientDataSet& dataSet);
};

// Registers the client datasets' features in the program's registry.
void RegisterCDSDatasetFeatures();
