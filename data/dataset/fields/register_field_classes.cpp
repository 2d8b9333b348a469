#include "data/dataset/fields/register_field_classes.h"

#include "data/dataset/fields/bcd_fields.h"
#include "data/dataset/fields/blob_fields.h"
#include "data/dataset/fields/boolean_field.h"
#include "data/dataset/fields/datetime_fields.h"
#include "data/dataset/fields/float_field.h"
#include "data/dataset/fields/integer_fields.h"
#include "data/dataset/fields/string_field.h"
#include "platform/formfile/class_registry.h"

void RegisterFieldClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterAbstractClass<TField>(QStringLiteral("TField"), QStringLiteral("TComponent"))
        .Property(QStringLiteral("FieldName"), &TField::SetFieldName)
        .Property(QStringLiteral("DisplayLabel"), &TField::SetDisplayLabel)
        .Property(QStringLiteral("DisplayWidth"), &TField::SetDisplayWidth)
        .Property(QStringLiteral("Size"), &TField::SetSize)
        .Property(QStringLiteral("Required"), &TField::SetRequired)
        .Property(QStringLiteral("ReadOnly"), &TField::SetReadOnly)
        .Property(QStringLiteral("Visible"), &TField::SetVisible)
        .Raw(QStringLiteral("Alignment"),
             [](TField& f, const FormValue& v, TComponent&) {
                 f.SetAlignment(FormValues::Enum<TAlignment>(v, {{"taLeftJustify", taLeftJustify},
                                                                 {"taRightJustify", taRightJustify},
                                                                 {"taCenter", taCenter}}));
             })
        .Raw(QStringLiteral("FieldKind"), [](TField& f, const FormValue& v, TComponent&) {
            f.SetFieldKind(FormValues::Enum<TFieldKind>(v, {{"fkData", fkData},
                                                            {"fkCalculated", fkCalculated},
                                                            {"fkLookup", fkLookup},
                                                            {"fkInternalCalc", fkInternalCalc},
                                                            {"fkAggregate", fkAggregate}}));
        });
    const QString field = QStringLiteral("TField");
    RegisterClass<TStringField>(QStringLiteral("TStringField"), field)
        .Property(QStringLiteral("FixedChar"), &TStringField::SetFixedChar);
    RegisterClass<TIntegerField>(QStringLiteral("TIntegerField"), field);
    RegisterClass<TSmallintField>(QStringLiteral("TSmallintField"),
                                  QStringLiteral("TIntegerField"));
    RegisterClass<TLargeintField>(QStringLiteral("TLargeintField"),
                                  QStringLiteral("TIntegerField"));
    RegisterClass<TFloatField>(QStringLiteral("TFloatField"), field)
        .Property(QStringLiteral("Precision"), &TFloatField::SetPrecision);
    RegisterClass<TFMTBCDField>(QStringLiteral("TFMTBCDField"), field)
        .Property(QStringLiteral("Precision"), &TFMTBCDField::SetPrecision);
    RegisterClass<TBCDField>(QStringLiteral("TBCDField"), QStringLiteral("TFMTBCDField"));
    RegisterClass<TBooleanField>(QStringLiteral("TBooleanField"), field);
    RegisterClass<TDateTimeField>(QStringLiteral("TDateTimeField"), field);
    RegisterClass<TSQLTimeStampField>(QStringLiteral("TSQLTimeStampField"),
                                      QStringLiteral("TDateTimeField"));
    RegisterClass<TDateField>(QStringLiteral("TDateField"), QStringLiteral("TDateTimeField"));
    RegisterClass<TTimeField>(QStringLiteral("TTimeField"), QStringLiteral("TDateTimeField"));
    RegisterClass<TBlobField>(QStringLiteral("TBlobField"), field);
    RegisterClass<TMemoField>(QStringLiteral("TMemoField"), QStringLiteral("TBlobField"));
    RegisterClass<TBytesField>(QStringLiteral("TBytesField"), field);
}
