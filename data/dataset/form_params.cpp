#include "data/dataset/form_params.h"

#include "platform/formfile/class_registry.h"
#include "platform/formfile/form_error.h"

namespace {

// A parameter value as a form writes it: a string, a number or True/False.
TValue FormParamValue(const FormValue& v) {
    switch (v.kind) {
    case FormValue::Kind::String:
        return TValue(v.text);
    case FormValue::Kind::Integer:
        return TValue(static_cast<qint64>(v.integer));
    case FormValue::Kind::Float:
        return TValue(v.number);
    case FormValue::Kind::Identifier:
        if (v.text.compare(QLatin1String("Null"), Qt::CaseInsensitive) == 0)
            return TValue();
        return TValue(FormValues::Boolean(v));
    case FormValue::Kind::Bytes:
        return TValue(v.bytes);
    default:
        break;
    }
    throw EPropertyValue(
        QStringLiteral("Invalid parameter value of kind %1").arg(FormValue::KindName(v.kind)));
}

// Params = items: each item sets DataType, Name, ParamType and Value.
} // namespace

TParams FormParams(const FormValue& v) {
    if (v.kind != FormValue::Kind::Collection)
        throw EPropertyValue(
            QStringLiteral("Expected items, found %1").arg(FormValue::KindName(v.kind)));
    TParams params;
    for (const std::vector<FormProperty>& item : v.items) {
        TParam& p = params.CreateParam(ftUnknown, QString(), ptUnknown);
        for (const FormProperty& prop : item) {
            const FormValue& value = *prop.value;
            if (prop.name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0) {
                p.SetName(FormValues::String(value));
            } else if (prop.name.compare(QLatin1String("DataType"), Qt::CaseInsensitive) == 0) {
                const QString id = FormValues::Identifier(value);
                const std::optional<TFieldType> t = FieldTypeFromIdent(id);
                if (!t)
                    throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(id));
                p.SetDataType(*t);
            } else if (prop.name.compare(QLatin1String("ParamType"), Qt::CaseInsensitive) == 0) {
                const QString id = FormValues::Identifier(value);
                const std::optional<TParamType> t = ParamTypeFromIdent(id);
                if (!t)
                    throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(id));
                p.SetParamType(*t);
            } else if (prop.name.compare(QLatin1String("Value"), Qt::CaseInsensitive) == 0) {
                p.SetValue(FormParamValue(value));
            } else {
                throw EPropertyValue(
                    QStringLiteral("Unknown property %1 of a parameter").arg(prop.name));
            }
        }
    }
    return params;
}
