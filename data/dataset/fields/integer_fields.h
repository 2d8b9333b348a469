#pragma once
// Whole-number fields: TIntegerField (32 bits), TSmallintField (16 bits) and
// TLargeintField (64 bits). Writing a number outside the field's range
// raises "%d is not a valid value for field '%s'. The allowed range is %d to %d".

#include "data/dataset/fields/field.h"

class TIntegerField : public TField {
public:
    explicit TIntegerField(TComponent* owner = nullptr)
        : TIntegerField(owner, ftInteger, -2147483647LL - 1, 2147483647LL) {}
    QString ClassName() const override { return QStringLiteral("TIntegerField"); }
    qint64 MinValue() const { return min_; }
    qint64 MaxValue() const { return max_; }

protected:
    TIntegerField(TComponent* owner, TFieldType type, qint64 min, qint64 max);
    TValue ConvertIn(const TValue& value) const override;

private:
    qint64 min_;
    qint64 max_;
};

class TSmallintField : public TIntegerField {
public:
    explicit TSmallintField(TComponent* owner = nullptr)
        : TIntegerField(owner, ftSmallint, -32768, 32767) {}
    QString ClassName() const override { return QStringLiteral("TSmallintField"); }
};

class TLargeintField : public TIntegerField {
public:
    explicit TLargeintField(TComponent* owner = nullptr);
    QString ClassName() const override { return QStringLiteral("TLargeintField"); }

protected:
    int DefaultDisplayWidth() const override { return 15; }
};
