#include "data/dataset/fields/field_datalink.h"

#include "data/dataset/fields/field.h"

void TFieldDataLink::SetFieldName(const QString& name) {
    if (name == fieldName_)
        return;
    fieldName_ = name;
    UpdateField();
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly() && (!field_ || field_->CanModify());
}

bool TFieldDataLink::Edit() {
    if (CanModify())
        TDataLink::Edit();
    return fieldEditing_;
}

TValue TFieldDataLink::Value() const {
    return field_ ? field_->Value() : ownValue_;
}

void TFieldDataLink::SetValue(const TValue& value) {
    if (field_)
        field_->SetValue(value);
    else
        ownValue_ = value;
}

TObject* TFieldDataLink::Sender() const {
    return control_;
}

void TFieldDataLink::UpdateField() {
    TDataSet* ds = DataSet();
    SetField(Active() && ds && !fieldName_.isEmpty() ? ds->FindField(fieldName_) : nullptr);
}

void TFieldDataLink::SetField(TField* field) {
    if (field == field_)
        return;
    field_ = field;
    EditingChanged();
    RecordChanged(nullptr);
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    Fire(OnActiveChange, Sender());
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}

void TFieldDataLink::EditingChanged() {
    SetFieldEditing(TDataLink::Editing() && CanModify());
}

void TFieldDataLink::SetFieldEditing(bool editing) {
    if (fieldEditing_ == editing)
        return;
    fieldEditing_ = editing;
    modified_ = false;
    Fire(OnEditingChange, Sender());
}

void TFieldDataLink::RecordChanged(TField* field) {
    if (field && field != field_)
        return;
    Fire(OnDataChange, Sender());
    modified_ = false;
}

void TFieldDataLink::UpdateData() {
    if (!modified_)
        return;
    if (field_)
        Fire(OnUpdateData, Sender());
    modified_ = false;
}
