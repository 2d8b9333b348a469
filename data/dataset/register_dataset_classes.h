#pragma once
// Registers the field classes, TClientDataSet, TDataSetProvider and
// TDataSource with the class registry, with the properties and events their
// form descriptions set. Declared fields are blocks nested under their
// client dataset ("TStringField CArticulosCODIGO" with FieldName, Size, ...).

// Safe to call more than once.
void RegisterDatasetClasses();
