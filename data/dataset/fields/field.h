#pragma once
// TField: one column of a dataset's current record, as data-aware controls
// and program code read and write it. Declared fields come from a form
// description (a field block nested under its dataset); the others are made
// from the columns of the result when a dataset without declared fields opens.

#include "data/dataset/values/field_type.h"
#include "data/dataset/values/value.h"
#include "platform/core/component.h"

#include <functional>

class TDataSet;
class TField;

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

using TFieldNotifyEvent = std::function<void(TField* Sender)>;

class TField : public TComponent {
public:
    explicit TField(TComponent* owner = nullptr);
    ~TField() override;
    QString ClassName() const override { return QStringLiteral("TField"); }

    // The dataset the field belongs to. Setting it appends the field to that
    // dataset's field list; the dataset must be closed.
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    // A field block nested under its dataset in a form description.
    void SetParentComponent(TComponent* parent) override;

    const QString& FieldName() const { return fieldName_; }
    void SetFieldName(const QString& name);
    // The caption of grid titles and messages: the label when set, else the name.
    QString DisplayLabel() const { return displayLabel_.isEmpty() ? fieldName_ : displayLabel_; }
    void SetDisplayLabel(const QString& label) { displayLabel_ = label; }
    QString DisplayName() const { return DisplayLabel(); }
    // Characters a control should leave for the field; each class has its
    // default (the size of a text field, precision + 1 of a decimal, ...).
    int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultDisplayWidth(); }
    void SetDisplayWidth(int width) { displayWidth_ = width; }
    // Numbers right, everything else left, unless set.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    bool Required() const { return required_; }
    void SetRequired(bool v) { required_ = v; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    TFieldKind FieldKind() const { return fieldKind_; }
    void SetFieldKind(TFieldKind kind) { fieldKind_ = kind; }

    TFieldType DataType() const { return dataType_; }
    // Characters of a text field, digits after the point of a decimal, 0 otherwise.
    int Size() const { return size_; }
    virtual void SetSize(int size) { size_ = size; }
    // The 1-based column of the dataset's rows the field reads; 0 while unbound.
    int FieldNo() const { return fieldNo_; }
    // The position in the dataset's field list.
    int Index() const;
    virtual bool IsBlob() const { return false; }
    // Not read-only, a data field, and the dataset can be modified.
    bool CanModify() const;

    // Reading and writing the current record (the edit buffer while the
    // dataset inserts or edits). Writing needs the edit or insert state.
    bool IsNull() const { return Value().IsNull(); }
    TValue Value() const;
    void SetValue(const TValue& value);
    void Clear() { SetValue(TValue()); }
    QString AsString() const { return GetAsString(); }
    void SetAsString(const QString& v) { SetValue(TValue(v)); }
    qint64 AsInteger() const { return Value().AsInteger(); }
    void SetAsInteger(qint64 v) { SetValue(TValue(v)); }
    double AsFloat() const { return Value().AsFloat(); }
    void SetAsFloat(double v) { SetValue(TValue(v)); }
    TBcd AsBCD() const { return Value().AsBcd(); }
    void SetAsBCD(TBcd v) { SetValue(TValue(v)); }
    bool AsBoolean() const { return Value().AsBoolean(); }
    void SetAsBoolean(bool v) { SetValue(TValue(v)); }
    TDateTime AsDateTime() const { return Value().AsDateTime(); }
    void SetAsDateTime(TDateTime v) { SetValue(TValue(v)); }
    QByteArray AsBytes() const { return Value().AsBytes(); }
    void SetAsBytes(const QByteArray& v) { SetValue(TValue(v)); }

    // The text a control shows (DisplayText) and edits (Text); null gives "".
    QString DisplayText() const { return GetText(Value(), true); }
    QString Text() const { return GetText(Value(), false); }
    // The text shown for `value` read from another record of the dataset
    // (the rows of a grid other than the current one).
    QString DisplayTextOf(const TValue& value) const { return GetText(value, true); }
    void SetText(const QString& text) { SetAsString(text); }

    // Called after every change of the field's value.
    TFieldNotifyEvent OnChange;

    // The dataset binds and unbinds its fields.
    void Bind(int fieldNo) { fieldNo_ = fieldNo; }

protected:
    TField(TComponent* owner, TFieldType type, int size);
    void SetDataType(TFieldType type) { dataType_ = type; }
    // Checks and converts a value about to be written (range checks, text
    // cut to the size); raises EDatabaseError or EConvertError.
    virtual TValue ConvertIn(const TValue& value) const { return value; }
    virtual QString GetAsString() const { return Value().AsString(); }
    // The text of `value` as this field shows (display) or edits it.
    virtual QString GetText(const TValue& value, bool display) const;
    virtual int DefaultDisplayWidth() const { return 10; }

private:
    friend class TDataSet;
    TDataSet* dataSet_ = nullptr;
    QString fieldName_;
    QString displayLabel_;
    int displayWidth_ = 0;
    TAlignment alignment_ = taLeftJustify;
    bool required_ = false;
    bool readOnly_ = false;
    bool visible_ = true;
    TFieldKind fieldKind_ = fkData;
    TFieldType dataType_ = ftUnknown;
    int size_ = 0;
    int fieldNo_ = 0;
};
