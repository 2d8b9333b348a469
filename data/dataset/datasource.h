#pragma once
// TDataSource: the connector between one dataset and the data-aware controls
// that show it. It passes the dataset's notifications on to its data links
// and offers the events OnStateChange, OnDataChange and OnUpdateData.

#include "data/dataset/dataset.h"
#include "platform/core/events.h"

#include <vector>

class TDataLink;

// Field is the changed field, or null when the record or the rows changed.
using TDataChangeEvent = std::function<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
public:
    explicit TDataSource(TComponent* owner = nullptr);
    ~TDataSource() override;
    QString ClassName() const override { return QStringLiteral("TDataSource"); }

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    // A disabled source shows its links an inactive dataset.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // With AutoEdit (the default) a control may put the dataset into edit mode.
    bool AutoEdit() const { return autoEdit_; }
    void SetAutoEdit(bool v) { autoEdit_ = v; }
    // The dataset's state as the links see it.
    TDataSetState State() const { return state_; }
    // Puts a browsing dataset into edit mode when AutoEdit is set.
    void Edit();

    TNotifyEvent OnStateChange;
    TDataChangeEvent OnDataChange;
    TNotifyEvent OnUpdateData;

    // ---- For datasets and data links -------------------------------------------
    void DataEvent(TDataEvent event, TField* field, int info);
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    void DataSetGone();
    const std::vector<TDataLink*>& Links() const { return links_; }

private:
    void UpdateState();
    void NotifyLinks(TDataEvent event, TField* field, int info);

    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    bool autoEdit_ = true;
    TDataSetState state_ = dsInactive;
    std::vector<TDataLink*> links_;
};
