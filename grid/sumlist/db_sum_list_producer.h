#pragma once
// TDBSumListProducer: what the grid's sum list works out over its dataset.
// Here that is the least the vertical scroll bar needs: whether the dataset
// numbers its records, and its record number and count when it does.
// Footer sums are not produced: no column of this program defines one.

class TDataSet;

class TDBSumListProducer {
public:
    TDBSumListProducer() = default;
    TDBSumListProducer(const TDBSumListProducer&) = delete;
    TDBSumListProducer& operator=(const TDBSumListProducer&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool on) { active_ = on; }
    // For datasets that cannot number their records the list would keep its
    // own ordered bookmarks; client datasets always number theirs.
    bool VirtualRecords() const { return virtualRecords_; }
    void SetVirtualRecords(bool on) { virtualRecords_ = on; }

    void SetDataSet(const TDataSet* dataSet) { dataSet_ = dataSet; }
    const TDataSet* DataSet() const { return dataSet_; }

    // The dataset is open and gives each record a number.
    bool IsSequenced() const;
    // 1-based; 0 without a numbered, open dataset.
    int RecNo() const;
    int RecordCount() const;

private:
    const TDataSet* dataSet_ = nullptr;
    bool active_ = false;
    bool virtualRecords_ = false;
};
