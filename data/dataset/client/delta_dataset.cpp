#include "data/dataset/client/delta_dataset.h"

#include "data/dataset/fields/field.h"
#include "data/dataset/update_error.h"

TDeltaDataSet::TDeltaDataSet(const TDelta& delta) : delta_(delta) {}

TDeltaDataSet::~TDeltaDataSet() {
    CloseForDestruction();
}

void TDeltaDataSet::Position(int index) {
    if (!Active())
        Open();
    current_ = index;
    DataEvent(deDataSetChange);
}

const TDeltaChange* TDeltaDataSet::CurrentChange() const {
    if (current_ < 0 || current_ >= Count())
        return nullptr;
    return &delta_.changes[static_cast<size_t>(current_)];
}

void TDeltaDataSet::InternalOpen() {
    current_ = 0;
    MakeFields(delta_.columns);
}

bool TDeltaDataSet::InternalNext() {
    if (current_ >= Count() - 1) {
        current_ = Count();
        return false;
    }
    ++current_;
    return true;
}

bool TDeltaDataSet::InternalPrior() {
    if (current_ <= 0) {
        current_ = 0;
        return false;
    }
    --current_;
    return true;
}

TDataBookmark TDeltaDataSet::InternalBookmark() const {
    return CurrentChange() ? static_cast<TDataBookmark>(current_) : NoDataBookmark;
}

void TDeltaDataSet::InternalGotoBookmark(TDataBookmark bookmark) {
    current_ = static_cast<int>(bookmark);
}

bool TDeltaDataSet::InternalBookmarkValid(TDataBookmark bookmark) const {
    return bookmark != NoDataBookmark && static_cast<int>(bookmark) < Count();
}

void TDeltaDataSet::ReadOnly() {
    throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}
void TDeltaDataSet::InternalInsert(bool) {
    ReadOnly();
}
void TDeltaDataSet::InternalEdit() {
    ReadOnly();
}
void TDeltaDataSet::InternalDelete() {
    ReadOnly();
}
void TDeltaDataSet::InternalSetFieldValue(const TField&, const TValue&) {
    ReadOnly();
}

TValue TDeltaDataSet::InternalGetFieldValue(const TField& field) const {
    const TDeltaChange* change = CurrentChange();
    const int column = FieldIndexOf(&field);
    if (!change || column < 0 || column >= static_cast<int>(change->newValues.size()))
        return TValue();
    return change->newValues[static_cast<size_t>(column)];
}
