#pragma once
// The parameter list of a query or client dataset as a form description
// writes it: Params = items, each item setting DataType, Name, ParamType and
// Value.

#include "data/dataset/params.h"
#include "platform/formfile/form_value.h"

// Raises EPropertyValue for a value of another kind or an unknown item property.
TParams FormParams(const FormValue& value);
