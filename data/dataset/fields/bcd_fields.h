#pragma once
// Fixed-point decimal fields held exactly: TFMTBCDField (NUMERIC/DECIMAL of
// up to 18 digits, as the queries read them) and TBCDField. Size is the
// number of digits after the point, Precision the number of digits in all.

#include "data/dataset/fields/field.h"

class TFMTBCDField : public TField {
public:
    explicit TFMTBCDField(TComponent* owner = nullptr) : TFMTBCDField(owner, ftFMTBcd) {}
    QString ClassName() const override { return QStringLiteral("TFMTBCDField"); }
    int Precision() const { return precision_; }
    void SetPrecision(int p) { precision_ = p; }

protected:
    TFMTBCDField(TComponent* owner, TFieldType type);
    // Rounded to the field's scale (half away from zero).
    TValue ConvertIn(const TValue& value) const override;
    // Without trailing zeros after the point: 1234.5, 7; the text shown has
    // the user's decimal separator (1234,5), the text edited keeps the point.
    QString GetText(const TValue& value, bool display) const override;
    int DefaultDisplayWidth() const override { return precision_ + 1; }

private:
    int precision_ = 15;
};

class TBCDField : public TFMTBCDField {
public:
    explicit TBCDField(TComponent* owner = nullptr) : TFMTBCDField(owner, ftBCD) {}
    QString ClassName() const override { return QStringLiteral("TBCDField"); }
};
