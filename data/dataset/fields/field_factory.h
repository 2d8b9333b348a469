#pragma once
// The field class that stands for each column type, and which declared
// field types a column of another type may feed.

#include "data/dataset/values/field_type.h"

class TComponent;
class TField;

// A new field of the class for `type` (TStringField for texts, TSmallintField,
// TIntegerField, TFMTBCDField, TDateField, TBlobField, ...) owned by
// `owner`; null for a type no field class holds.
TField* CreateFieldForType(TFieldType type, TComponent* owner);

// Whether a declared field of type `declared` can read a column of type
// `column`: the same kind of value (texts, whole numbers, floating numbers,
// decimals, dates, times, date-times, blobs, booleans, bytes).
bool FieldTypesCompatible(TFieldType declared, TFieldType column);
