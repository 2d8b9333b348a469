#pragma once
// The grid's data link: it passes the data source's notifications on to the
// grid through a small interface, so the grid's reactions can be read in one
// place and the link holds no grid state of its own.

#include "data/dataset/datalink.h"

class IGridDataLinkClientEh {
public:
    virtual void LinkActiveChanged() = 0;
    virtual void LinkEditingChanged() = 0;
    // Rows or position changed as a whole; a move by `distance` records.
    virtual void LinkDataSetChanged() = 0;
    virtual void LinkDataSetScrolled(int distance) = 0;
    // A field (null: the whole current record) changed its value.
    virtual void LinkRecordChanged(TField* field) = 0;
    virtual void LinkLayoutChanged() = 0;
    // The dataset is about to post: write pending cell text into the field.
    virtual void LinkUpdateData() = 0;
    virtual void LinkFocusControl(TField* field) = 0;

protected:
    ~IGridDataLinkClientEh() = default;
};

class TGridDataLinkEh : public TDataLink {
public:
    explicit TGridDataLinkEh(IGridDataLinkClientEh& client) : client_(client) {}

protected:
    void ActiveChanged() override { client_.LinkActiveChanged(); }
    void EditingChanged() override { client_.LinkEditingChanged(); }
    void DataSetChanged() override { client_.LinkDataSetChanged(); }
    void DataSetScrolled(int distance) override { client_.LinkDataSetScrolled(distance); }
    void RecordChanged(TField* field) override { client_.LinkRecordChanged(field); }
    void LayoutChanged() override { client_.LinkLayoutChanged(); }
    void UpdateData() override { client_.LinkUpdateData(); }
    void FocusControl(TField* field) override { client_.LinkFocusControl(field); }

private:
    IGridDataLinkClientEh& client_;
};
