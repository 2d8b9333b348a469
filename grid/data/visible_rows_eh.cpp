#include "grid/data/visible_rows_eh.h"

#include "data/dataset/dataset.h"

#include <algorithm>

void TVisibleRowsEh::SetCapacity(int rows) {
    capacity_ = std::max(1, rows);
}

void TVisibleRowsEh::KeepCurrentRowAt(int row) {
    keepPlace_ = true;
    place_ = std::max(0, row);
}

void TVisibleRowsEh::Sync(const TDataSet* dataSet, bool insertingAtEnd) {
    rows_.clear();
    currentRow_ = -1;
    insertPosition_ = 0;
    const bool keep = keepPlace_;
    keepPlace_ = false;
    if (!dataSet || !dataSet->Active()) {
        top_ = 1;
        recordCount_ = rowCount_ = recNo_ = 0;
        return;
    }
    recordCount_ = dataSet->RecordCount();
    recNo_ = dataSet->RecNo();
    const bool inserting = dataSet->State() == dsInsert;
    if (inserting)
        insertPosition_ =
            insertingAtEnd || recordCount_ == 0 ? recordCount_ + 1 : std::max(1, recNo_);
    rowCount_ = recordCount_ + (inserting ? 1 : 0);
    if (rowCount_ == 0) {
        top_ = 1;
        return;
    }
    const int current = std::clamp(inserting ? insertPosition_ : recNo_, 1, rowCount_);
    if (keep)
        top_ = current - place_;
    if (current < top_)
        top_ = current;
    if (current > top_ + capacity_ - 1)
        top_ = current - capacity_ + 1;
    top_ = std::clamp(top_, 1, std::max(1, rowCount_ - capacity_ + 1));
    const int last = std::min(rowCount_, top_ + capacity_ - 1);
    for (int position = top_; position <= last; ++position) {
        if (position == insertPosition_)
            rows_.push_back({0, true});
        else
            rows_.push_back(
                {insertPosition_ > 0 && position > insertPosition_ ? position - 1 : position,
                 false});
    }
    currentRow_ = current - top_;
}

int TVisibleRowsEh::FirstRecNo() const {
    for (const TVisibleRowEh& row : rows_)
        if (!row.inserted)
            return row.recNo;
    return 0;
}

int TVisibleRowsEh::LastRecNo() const {
    for (auto it = rows_.rbegin(); it != rows_.rend(); ++it)
        if (!it->inserted)
            return it->recNo;
    return 0;
}

TValue TVisibleRowsEh::Value(const TDataSet& dataSet, int row, const TField& field) const {
    const TVisibleRowEh& r = Row(row);
    if (r.inserted)
        return dataSet.GetFieldValue(field);
    return dataSet.FieldValueAt(field, r.recNo);
}
