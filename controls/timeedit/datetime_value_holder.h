#pragma once
// Where a date-time box keeps its stored value, the one that posting writes.
//
// An unbound box keeps it in a TDateTimeValueHolderEh of its own. A field
// data link takes the same place for a bound box (SetValueHolder): it returns
// the field's value, says whether the field can be modified, puts the dataset
// into edit state before the user's first change, writes the posted value into
// the field, and calls the box back through IDateTimeValueClientEh when the
// record or the field changed (the box shows the stored value again) or when
// the record is about to be posted (the box posts what it edits first).

#include "controls/timeedit/datetime_edit_reading.h"

// The box's side, called by the holder.
class IDateTimeValueClientEh {
public:
    virtual ~IDateTimeValueClientEh() = default;
    // The stored value changed from outside: the box renders it again.
    virtual void StoredValueChanged() = 0;
    // The stored value is about to be used: the box posts its edit now.
    virtual void UpdateStoredValue() = 0;
};

class IDateTimeValueHolderEh {
public:
    virtual ~IDateTimeValueHolderEh() = default;
    virtual TNullableDateTime StoredValue() const = 0;
    // Writes a posted value; may raise when the value is refused.
    virtual void SetStoredValue(const TNullableDateTime& value) = 0;
    // False when the value cannot be changed at all.
    virtual bool CanModify() const = 0;
    // Enters edit state before a change; false when that is not possible now.
    virtual bool Edit() = 0;
    // The box to call back; null detaches it.
    virtual void SetClient(IDateTimeValueClientEh* client) = 0;
};

// The value of a box bound to nothing: always modifiable, starts Null.
class TDateTimeValueHolderEh final : public IDateTimeValueHolderEh {
public:
    TNullableDateTime StoredValue() const override { return value_; }
    void SetStoredValue(const TNullableDateTime& value) override { value_ = value; }
    bool CanModify() const override { return true; }
    bool Edit() override { return true; }
    void SetClient(IDateTimeValueClientEh*) override {}

private:
    TNullableDateTime value_;
};
