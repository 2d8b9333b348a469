#include "data/dataset/values/field_type.h"

#include <array>

namespace {

constexpr std::array<const char*, ftFMTBcd + 1> kNames = {
    "Unknown",     "String",    "SmallInt",  "Integer",    "Word",     "Boolean",    "Float",
    "Currency",    "BCD",       "Date",      "Time",       "DateTime", "Bytes",      "VarBytes",
    "AutoInc",     "Blob",      "Memo",      "Graphic",    "FmtMemo",  "ParadoxOle", "DBaseOle",
    "TypedBinary", "Cursor",    "FixedChar", "WideString", "LargeInt", "ADT",        "Array",
    "Reference",   "DataSet",   "OraBlob",   "OraClob",    "Variant",  "Interface",  "IDispatch",
    "Guid",        "TimeStamp", "FMTBcd",
};

// Identifiers differ from the display names in case only here and there.
constexpr std::array<const char*, ftFMTBcd + 1> kIdents = {
    "ftUnknown",    "ftString",     "ftSmallint", "ftInteger",     "ftWord",      "ftBoolean",
    "ftFloat",      "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",      "ftDateTime",
    "ftBytes",      "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",      "ftGraphic",
    "ftFmtMemo",    "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor",    "ftFixedChar",
    "ftWideString", "ftLargeint",   "ftADT",      "ftArray",       "ftReference", "ftDataSet",
    "ftOraBlob",    "ftOraClob",    "ftVariant",  "ftInterface",   "ftIDispatch", "ftGuid",
    "ftTimeStamp",  "ftFMTBcd",
};

} // namespace

QString FieldTypeName(TFieldType type) {
    const auto i = static_cast<size_t>(type);
    return i < kNames.size() ? QString::fromLatin1(kNames[i]) : QStringLiteral("Unknown");
}

QString FieldTypeIdent(TFieldType type) {
    const auto i = static_cast<size_t>(type);
    return i < kIdents.size() ? QString::fromLatin1(kIdents[i]) : QStringLiteral("ftUnknown");
}

std::optional<TFieldType> FieldTypeFromIdent(QStringView ident) {
    for (size_t i = 0; i < kIdents.size(); ++i)
        if (ident.compare(QLatin1String(kIdents[i]), Qt::CaseInsensitive) == 0)
            return static_cast<TFieldType>(i);
    return std::nullopt;
}

bool IsBlobType(TFieldType type) {
    return (type >= ftBlob && type <= ftTypedBinary) || type == ftOraBlob || type == ftOraClob;
}

bool IsStringType(TFieldType type) {
    return type == ftString || type == ftFixedChar || type == ftWideString;
}
