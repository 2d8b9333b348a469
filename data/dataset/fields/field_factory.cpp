#include "data/dataset/fields/field_factory.h"

#include "data/dataset/fields/bcd_fields.h"
#include "data/dataset/fields/blob_fields.h"
#include "data/dataset/fields/boolean_field.h"
#include "data/dataset/fields/datetime_fields.h"
#include "data/dataset/fields/float_field.h"
#include "data/dataset/fields/integer_fields.h"
#include "data/dataset/fields/string_field.h"

namespace {

enum class ValueKind {
    None,
    Text,
    Whole,
    Floating,
    Decimal,
    Date,
    Time,
    DateTime,
    Blob,
    Boolean,
    Bytes
};

ValueKind KindOf(TFieldType type) {
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
        return ValueKind::Text;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
        return ValueKind::Whole;
    case ftFloat:
    case ftCurrency:
        return ValueKind::Floating;
    case ftBCD:
    case ftFMTBcd:
        return ValueKind::Decimal;
    case ftDate:
        return ValueKind::Date;
    case ftTime:
        return ValueKind::Time;
    case ftDateTime:
    case ftTimeStamp:
        return ValueKind::DateTime;
    case ftBoolean:
        return ValueKind::Boolean;
    case ftBytes:
    case ftVarBytes:
        return ValueKind::Bytes;
    default:
        return IsBlobType(type) ? ValueKind::Blob : ValueKind::None;
    }
}

} // namespace

TField* CreateFieldForType(TFieldType type, TComponent* owner) {
    switch (type) {
    case ftString:
    case ftGuid:
        return new TStringField(owner);
    case ftFixedChar: {
        auto* f = new TStringField(owner);
        f->SetFixedChar(true);
        return f;
    }
    case ftWideString: {
        auto* f = new TStringField(owner);
        f->SetWide(true);
        return f;
    }
    case ftSmallint:
        return new TSmallintField(owner);
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return new TIntegerField(owner);
    case ftLargeint:
        return new TLargeintField(owner);
    case ftFloat:
    case ftCurrency:
        return new TFloatField(owner);
    case ftBCD:
        return new TBCDField(owner);
    case ftFMTBcd:
        return new TFMTBCDField(owner);
    case ftBoolean:
        return new TBooleanField(owner);
    case ftDate:
        return new TDateField(owner);
    case ftTime:
        return new TTimeField(owner);
    case ftDateTime:
        return new TDateTimeField(owner);
    case ftTimeStamp:
        return new TSQLTimeStampField(owner);
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
        return new TMemoField(owner);
    case ftBytes:
        return new TBytesField(owner);
    case ftVarBytes: {
        auto* f = new TBytesField(owner);
        f->SetVariable(true);
        return f;
    }
    default:
        return IsBlobType(type) ? new TBlobField(owner) : nullptr;
    }
}

bool FieldTypesCompatible(TFieldType declared, TFieldType column) {
    const ValueKind kind = KindOf(declared);
    return kind != ValueKind::None && kind == KindOf(column);
}
