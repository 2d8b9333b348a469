#pragma once
// Binary fields: TBlobField (a BLOB column: photographs and other bytes held
// whole), TMemoField (a text BLOB) and TBytesField (a short binary column).
// A blob shows as "(BLOB)" ("(blob)" when null), a memo as "(MEMO)".

#include "data/dataset/fields/field.h"

class TBlobField : public TField {
public:
    explicit TBlobField(TComponent* owner = nullptr) : TField(owner, ftBlob, 0) {}
    QString ClassName() const override { return QStringLiteral("TBlobField"); }
    bool IsBlob() const override { return true; }
    qsizetype BlobSize() const { return AsBytes().size(); }

protected:
    TBlobField(TComponent* owner, TFieldType type) : TField(owner, type, 0) {}
    TValue ConvertIn(const TValue& value) const override { return TValue(value.AsBytes()); }
    QString GetText(const TValue& value, bool display) const override;
};

class TMemoField : public TBlobField {
public:
    explicit TMemoField(TComponent* owner = nullptr) : TBlobField(owner, ftMemo) {}
    QString ClassName() const override { return QStringLiteral("TMemoField"); }

protected:
    TValue ConvertIn(const TValue& value) const override { return TValue(value.AsString()); }
    QString GetText(const TValue& value, bool display) const override;
};

class TBytesField : public TField {
public:
    explicit TBytesField(TComponent* owner = nullptr) : TField(owner, ftBytes, 16) {}
    QString ClassName() const override { return QStringLiteral("TBytesField"); }
    void SetVariable(bool on) { SetDataType(on ? ftVarBytes : ftBytes); }

protected:
    TValue ConvertIn(const TValue& value) const override { return TValue(value.AsBytes()); }
};
