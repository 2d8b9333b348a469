#pragma once
// The field and parameter types shared by parameters, queries, fields and
// client datasets, in the order and with the names of the program's
// class library (TFieldType).

#include <QString>
#include <QStringView>
#include <optional>

enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftADT,
    ftArray,
    ftReference,
    ftDataSet,
    ftOraBlob,
    ftOraClob,
    ftVariant,
    ftInterface,
    ftIDispatch,
    ftGuid,
    ftTimeStamp,
    ftFMTBcd,
};

// The display name used in messages ("String", "SmallInt", "FMTBcd"), as in
// "Type mismatch for field '%s', expecting: %s actual: %s".
QString FieldTypeName(TFieldType type);
// The identifier of form descriptions ("ftString").
QString FieldTypeIdent(TFieldType type);
// Case-insensitive; no value for an unknown identifier.
std::optional<TFieldType> FieldTypeFromIdent(QStringView ident);

bool IsBlobType(TFieldType type);   // ftBlob, ftMemo, ftGraphic, ftFmtMemo, ... ftOraClob
bool IsStringType(TFieldType type); // ftString, ftFixedChar, ftWideString
