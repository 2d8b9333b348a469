#pragma once
// Date and time fields: TDateTimeField (and TSQLTimeStampField, a TIMESTAMP
// column) hold both parts, TDateField only the date, TTimeField only the time
// of day. They show in the user's short date and long time formats.

#include "data/dataset/fields/field.h"

class TDateTimeField : public TField {
public:
    explicit TDateTimeField(TComponent* owner = nullptr) : TField(owner, ftDateTime, 0) {}
    QString ClassName() const override { return QStringLiteral("TDateTimeField"); }

protected:
    TDateTimeField(TComponent* owner, TFieldType type) : TField(owner, type, 0) {}
    TValue ConvertIn(const TValue& value) const override;
    QString GetAsString() const override { return GetText(Value(), false); }
    // The date, then the time when it is not midnight.
    QString GetText(const TValue& value, bool display) const override;
    int DefaultDisplayWidth() const override { return 18; }
};

class TSQLTimeStampField : public TDateTimeField {
public:
    explicit TSQLTimeStampField(TComponent* owner = nullptr) : TDateTimeField(owner, ftTimeStamp) {}
    QString ClassName() const override { return QStringLiteral("TSQLTimeStampField"); }
};

class TDateField : public TDateTimeField {
public:
    explicit TDateField(TComponent* owner = nullptr) : TDateTimeField(owner, ftDate) {}
    QString ClassName() const override { return QStringLiteral("TDateField"); }

protected:
    TValue ConvertIn(const TValue& value) const override;
    QString GetText(const TValue& value, bool display) const override;
    int DefaultDisplayWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
public:
    explicit TTimeField(TComponent* owner = nullptr) : TDateTimeField(owner, ftTime) {}
    QString ClassName() const override { return QStringLiteral("TTimeField"); }

protected:
    TValue ConvertIn(const TValue& value) const override;
    QString GetText(const TValue& value, bool display) const override;
    int DefaultDisplayWidth() const override { return 10; }
};
