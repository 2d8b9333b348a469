#pragma once
// TFieldDataLink: the data link of a control that shows one field of the
// current record (the time box, the image control). It finds the field by
// FieldName whenever the dataset opens or its fields change, and tells the
// control through four hooks:
//   OnDataChange     the record or the field's value changed (also when the
//                    dataset opens or closes); the control reloads its value
//   OnEditingChange  editing of the field started or ended (Editing())
//   OnUpdateData     the dataset is posting and the control marked the link
//                    Modified(): write the value into Field()
//   OnActiveChange   the dataset opened or closed
// A control calls Modified() when the user changes its value and Edit()
// before that, to put the dataset into edit mode. Without a field (no data
// source, or no FieldName) the link keeps a value of its own: Value() and
// SetValue() then read and write it, so an unbound control stores its value
// the same way a bound one does.

#include "data/dataset/datalink.h"
#include "data/dataset/values/value.h"
#include "platform/core/events.h"

class TFieldDataLink : public TDataLink {
public:
    TFieldDataLink() = default;

    const QString& FieldName() const { return fieldName_; }
    void SetFieldName(const QString& name);
    // The bound field; null while the dataset is closed or has no such field.
    TField* Field() const { return field_; }
    // The control that owns the link (passed as Sender to the hooks' users).
    TComponent* Control() const { return control_; }
    void SetControl(TComponent* control) { control_ = control; }

    // The field is being edited: the dataset edits or inserts and the field can be modified.
    bool Editing() const { return fieldEditing_; }
    // Not read-only, and the field (when there is one) can be modified.
    bool CanModify() const;
    // Puts the dataset into edit mode when the field can be modified; true
    // when the field is being edited afterwards.
    bool Edit();
    // The control's value differs from the field's: OnUpdateData runs at the next post.
    void Modified() { modified_ = true; }
    bool IsModified() const { return modified_; }
    // Runs the data-change hook again and clears the modified mark.
    void Reset() { RecordChanged(nullptr); }

    // The field's value, or the link's own value when there is no field.
    TValue Value() const;
    void SetValue(const TValue& value);

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    void UpdateField();
    void SetField(TField* field);
    void SetFieldEditing(bool editing);
    TObject* Sender() const;

    QString fieldName_;
    TField* field_ = nullptr;
    TComponent* control_ = nullptr;
    bool fieldEditing_ = false;
    bool modified_ = false;
    TValue ownValue_;
};
