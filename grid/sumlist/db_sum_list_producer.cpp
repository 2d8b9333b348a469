#include "grid/sumlist/db_sum_list_producer.h"

#include "data/dataset/dataset.h"

bool TDBSumListProducer::IsSequenced() const {
    if (!dataSet_ || !dataSet_->Active())
        return false;
    // A dataset that numbers its records reports a number for any record.
    return dataSet_->IsEmpty() || dataSet_->RecNo() > 0 || dataSet_->State() == dsInsert;
}

int TDBSumListProducer::RecNo() const {
    return IsSequenced() ? dataSet_->RecNo() : 0;
}

int TDBSumListProducer::RecordCount() const {
    return IsSequenced() ? dataSet_->RecordCount() : 0;
}
