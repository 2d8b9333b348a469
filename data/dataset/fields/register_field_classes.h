#pragma once
// Registers TField and the field classes with the class registry, with the
// properties their form descriptions set. Declared fields are blocks nested
// under their client dataset ("TStringField CArticulosCODIGO" with
// FieldName, Size, ...).

// Safe to call more than once.
void RegisterFieldClasses();
