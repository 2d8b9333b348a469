#pragma once
// TStringField: a text column of a given size in characters; with FixedChar
// it stands for a fixed-width (CHAR) column.

#include "data/dataset/fields/field.h"

class TStringField : public TField {
public:
    explicit TStringField(TComponent* owner = nullptr) : TField(owner, ftString, 20) {}
    QString ClassName() const override { return QStringLiteral("TStringField"); }

    bool FixedChar() const { return DataType() == ftFixedChar; }
    void SetFixedChar(bool on) { SetDataType(on ? ftFixedChar : ftString); }
    // The form description's spelling of the wide variant; texts are held the same way.
    void SetWide(bool on) { SetDataType(on ? ftWideString : ftString); }

protected:
    // Text longer than the size is cut to it.
    TValue ConvertIn(const TValue& value) const override;
    int DefaultDisplayWidth() const override { return Size(); }
};
