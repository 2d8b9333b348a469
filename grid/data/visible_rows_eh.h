#pragma once
// The rows on view: which records of the dataset the grid shows, as record
// numbers in the dataset's current order, and where the current record and a
// record being inserted stand among them. Only the visible rows are held,
// never the dataset's rows; cells are read through the dataset when painted.
// Widget-free: it knows a dataset and a number of rows, nothing else.

#include "data/dataset/values/value.h"

#include <vector>

class TDataSet;
class TField;

struct TVisibleRowEh {
    int recNo = 0;         // in the dataset's current order; 0 for the inserted row
    bool inserted = false; // the record being inserted (the edit buffer)
};

class TVisibleRowsEh {
public:
    // How many data rows the view has room for (at least 1).
    int Capacity() const { return capacity_; }
    void SetCapacity(int rows);

    // Brings the rows in line with the dataset: the current record stays in
    // view and the window moves as little as that needs, but never leaves
    // empty rows below while records above are hidden. `insertingAtEnd` tells
    // a record being appended (shown after the last) from one being inserted
    // before the current record.
    void Sync(const TDataSet* dataSet, bool insertingAtEnd);
    // The next Sync puts the current record on the given row of the view if
    // the data allows (page moves keep the row's place; a search restores it).
    void KeepCurrentRowAt(int row);
    void KeepCurrentRowPlace() { KeepCurrentRowAt(currentRow_); }

    // Rows that hold a record (at most Capacity).
    int Count() const { return static_cast<int>(rows_.size()); }
    const TVisibleRowEh& Row(int row) const { return rows_.at(static_cast<size_t>(row)); }
    // The row of the current record, -1 when there is none.
    int CurrentRow() const { return currentRow_; }
    // The place in the dataset's order (counting an inserted row) of the
    // first and last rows on view.
    int FirstPosition() const { return top_; }
    int LastPosition() const { return top_ + Count() - 1; }
    // Records of the dataset, and rows in all (the records and an inserted one).
    int RecordCount() const { return recordCount_; }
    int RowCount() const { return rowCount_; }
    int RecNo() const { return recNo_; }
    // The first and last record numbers on view (0 when none).
    int FirstRecNo() const;
    int LastRecNo() const;
    // The row an inserted record takes in the order, 0 when none is inserted.
    int InsertPosition() const { return insertPosition_; }
    bool InsertingAtEnd() const {
        return insertPosition_ > 0 && insertPosition_ == recordCount_ + 1;
    }

    // The value of `field` in the record on `row`.
    TValue Value(const TDataSet& dataSet, int row, const TField& field) const;

private:
    int capacity_ = 1;
    std::vector<TVisibleRowEh> rows_;
    int top_ = 1;
    int currentRow_ = -1;
    int recordCount_ = 0;
    int rowCount_ = 0;
    int recNo_ = 0;
    int insertPosition_ = 0;
    bool keepPlace_ = false;
    int place_ = 0;
};
