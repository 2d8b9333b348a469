#pragma once
// TDataLink: the base through which a data-aware control follows a data
// source. A control derives from it (or uses TFieldDataLink) and overrides
// the hooks it needs:
//   ActiveChanged     the dataset opened or closed (Active() tells which)
//   EditingChanged    the dataset entered or left the edit or insert state
//   DataSetChanged    rows or position changed as a whole (open, First, Last,
//                     Post, Cancel, Delete, an index selected)
//   DataSetScrolled   the current record moved by `distance` records
//   RecordChanged     a field (or, when null, the whole current record) changed
//   LayoutChanged     the field list changed
//   UpdateData        write pending changes into the fields (before Post)
//   CheckBrowseMode   the dataset is about to post or cancel
//   FocusControl      the control of `field` should take the focus
// By default DataSetScrolled and LayoutChanged call DataSetChanged, which
// calls RecordChanged(nullptr).

#include "data/dataset/dataset.h"

class TDataSource;

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);
    // The data source's dataset; null without one.
    TDataSet* DataSet() const;
    // The source has an open dataset.
    bool Active() const { return active_; }
    // The dataset is in edit or insert mode.
    bool Editing() const { return editing_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // Asks the data source to put the dataset into edit mode; true when it is
    // editing afterwards.
    bool Edit();
    // Writes this link's pending changes into the fields (UpdateData); the
    // fields it writes do not come back to it as changes.
    void UpdateRecord();

    // Called by the data source.
    void DataEvent(TDataEvent event, TField* field, int info);
    void DataSourceGone();

protected:
    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* /*field*/) {}
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}
    virtual void FocusControl(TField* /*field*/) {}

    // The state the link follows: active and editing from the source.
    void UpdateState();

private:
    void SetActive(bool active);
    void SetEditing(bool editing);

    TDataSource* dataSource_ = nullptr;
    bool active_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
    bool updating_ = false;
};
