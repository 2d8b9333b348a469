#include "data/dataset/datalink.h"

#include "data/dataset/datasource.h"

TDataLink::~TDataLink() {
    if (dataSource_)
        dataSource_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == dataSource_)
        return;
    if (dataSource_)
        dataSource_->RemoveLink(this);
    dataSource_ = source;
    if (dataSource_)
        dataSource_->AddLink(this);
    UpdateState();
}

void TDataLink::DataSourceGone() {
    dataSource_ = nullptr;
    UpdateState();
}

TDataSet* TDataLink::DataSet() const {
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool v) {
    if (readOnly_ == v)
        return;
    readOnly_ = v;
    UpdateState();
}

bool TDataLink::Edit() {
    if (!readOnly_ && dataSource_)
        dataSource_->Edit();
    return editing_;
}

void TDataLink::UpdateRecord() {
    // Fields written by UpdateData do not come back to this link.
    updating_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{updating_};
    UpdateData();
}

void TDataLink::UpdateState() {
    const TDataSetState state = dataSource_ ? dataSource_->State() : dsInactive;
    SetActive(state != dsInactive);
    SetEditing(state == dsEdit || state == dsInsert);
}

void TDataLink::SetActive(bool active) {
    if (active_ == active)
        return;
    active_ = active;
    ActiveChanged();
}

void TDataLink::SetEditing(bool editing) {
    if (editing_ == editing)
        return;
    editing_ = editing;
    EditingChanged();
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int info) {
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!active_)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!updating_)
            RecordChanged(field);
        break;
    case deDataSetChange:
        DataSetChanged();
        break;
    case deDataSetScroll:
        DataSetScrolled(info);
        break;
    case deLayoutChange:
        LayoutChanged();
        break;
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl:
        FocusControl(field);
        break;
    default:
        break;
    }
}
