#pragma once
// TFloatField: a double-precision number (FLOAT, DOUBLE PRECISION columns).

#include "data/dataset/fields/field.h"

class TFloatField : public TField {
public:
    explicit TFloatField(TComponent* owner = nullptr);
    QString ClassName() const override { return QStringLiteral("TFloatField"); }
    int Precision() const { return precision_; }
    void SetPrecision(int p) { precision_ = p; }

protected:
    TValue ConvertIn(const TValue& value) const override { return TValue(value.AsFloat()); }
    QString GetText(const TValue& value, bool display) const override;
    int DefaultDisplayWidth() const override { return precision_ + 1; }

private:
    int precision_ = 15;
};
