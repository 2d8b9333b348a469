#include "data/dataset/datasource.h"

#include "data/dataset/datalink.h"

#include <algorithm>

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
    if (dataSet_)
        dataSet_->RemoveDataSource(this);
    dataSet_ = nullptr;
    for (TDataLink* link : std::vector<TDataLink*>(links_))
        link->DataSourceGone();
    links_.clear();
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_)
        return;
    if (dataSet_)
        dataSet_->RemoveDataSource(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->AddDataSource(this);
    UpdateState();
}

void TDataSource::DataSetGone() {
    dataSet_ = nullptr;
    UpdateState();
}

void TDataSource::SetEnabled(bool enabled) {
    enabled_ = enabled;
    UpdateState();
}

void TDataSource::Edit() {
    if (autoEdit_ && state_ == dsBrowse && dataSet_)
        dataSet_->Edit();
}

void TDataSource::AddLink(TDataLink* link) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void TDataSource::RemoveLink(TDataLink* link) {
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TDataSource::UpdateState() {
    const TDataSetState state = enabled_ && dataSet_ ? dataSet_->State() : dsInactive;
    if (state == state_)
        return;
    const TDataSetState prior = state_;
    state_ = state;
    NotifyLinks(deUpdateState, nullptr, 0);
    if (Destroying())
        return;
    Fire(OnStateChange, this);
    if (prior == dsInactive)
        Fire(OnDataChange, this, nullptr);
}

void TDataSource::NotifyLinks(TDataEvent event, TField* field, int info) {
    for (TDataLink* link : std::vector<TDataLink*>(links_))
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->DataEvent(event, field, info);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int info) {
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (state_ == dsInactive)
        return;
    NotifyLinks(event, field, info);
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        Fire(OnDataChange, this, field);
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        Fire(OnDataChange, this, nullptr);
        break;
    case deUpdateRecord:
        Fire(OnUpdateData, this);
        break;
    default:
        break;
    }
}
