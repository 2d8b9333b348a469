#pragma once
// TDBGridEhSumList: the grid's sum list (the SumList property). It hands its
// settings to its producer, through which the vertical scroll bar reads the
// record number and the record count.

#include "grid/sumlist/db_sum_list_producer.h"

class TDBGridEhSumList {
public:
    bool Active() const { return producer_.Active(); }
    void SetActive(bool on) { producer_.SetActive(on); }
    bool VirtualRecords() const { return producer_.VirtualRecords(); }
    void SetVirtualRecords(bool on) { producer_.SetVirtualRecords(on); }

    TDBSumListProducer& Producer() { return producer_; }
    const TDBSumListProducer& Producer() const { return producer_; }

private:
    TDBSumListProducer producer_;
};
