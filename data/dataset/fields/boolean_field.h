#pragma once
// TBooleanField: a true-or-false column, shown as "True" or "False".

#include "data/dataset/fields/field.h"

class TBooleanField : public TField {
public:
    explicit TBooleanField(TComponent* owner = nullptr) : TField(owner, ftBoolean, 0) {}
    QString ClassName() const override { return QStringLiteral("TBooleanField"); }

protected:
    TValue ConvertIn(const TValue& value) const override { return TValue(value.AsBoolean()); }
    QString GetText(const TValue& value, bool display) const override;
    int DefaultDisplayWidth() const override { return 5; }
};
