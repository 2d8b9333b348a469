#include "data/dataset/fields/field.h"

#include "data/dataset/dataset.h"
#include "data/dataset/db_error.h"

TField::TField(TComponent* owner) : TComponent(owner) {}

TField::TField(TComponent* owner, TFieldType type, int size)
    : TComponent(owner), dataType_(type), size_(size) {}

TField::~TField() {
    if (dataSet_)
        dataSet_->RemoveField(this);
}

void TField::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_)
        return;
    if (dataSet_)
        dataSet_->RemoveField(this);
    if (dataSet)
        dataSet->AddField(this);
}

void TField::SetParentComponent(TComponent* parent) {
    if (auto* ds = ComponentAs<TDataSet>(parent))
        SetDataSet(ds);
}

void TField::SetFieldName(const QString& name) {
    if (dataSet_ && dataSet_->Active())
        DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    fieldName_ = name;
}

int TField::Index() const {
    return dataSet_ ? dataSet_->FieldIndexOf(this) : -1;
}

bool TField::CanModify() const {
    return !readOnly_ && fieldKind_ == fkData && dataSet_ && dataSet_->CanModify();
}

TValue TField::Value() const {
    if (!dataSet_)
        DatabaseError(QStringLiteral("Field '%1' has no dataset").arg(DisplayName()));
    return dataSet_->GetFieldValue(*this);
}

void TField::SetValue(const TValue& value) {
    if (!dataSet_)
        DatabaseError(QStringLiteral("Field '%1' has no dataset").arg(DisplayName()));
    dataSet_->SetFieldValue(*this, value.IsNull() ? value : ConvertIn(value));
}

QString TField::GetText(const TValue& value, bool) const {
    return value.AsString();
}
