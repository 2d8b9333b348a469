#include "data/dataset/register_dataset_classes.h"

#include "data/dataset/bcd_fields.h"
#include "data/dataset/blob_fields.h"
#include "data/dataset/boolean_field.h"
#include "data/dataset/clientdataset.h"
#include "data/dataset/dataset_provider.h"
#include "data/dataset/datasource.h"
#include "data/dataset/datetime_fields.h"
#include "data/dataset/float_field.h"
#include "data/dataset/form_params.h"
#include "data/dataset/integer_fields.h"
#include "data/dataset/string_field.h"
#include "platform/formfile/class_registry.h"
#include "platform/formfile/form_reader.h"

#include <array>

namespace {

bool Is(const QString& a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString ReferenceName(const FormValue& v) {
    return v.kind == FormValue::Kind::String ? v.text : FormValues::Identifier(v);
}

constexpr std::array<const char*, poRetainServerOrder + 1> kProviderOptions = {
    "poFetchBlobsOnDemand",
    "poFetchDetailsOnDemand",
    "poIncFieldProps",
    "poCascadeDeletes",
    "poCascadeUpdates",
    "poReadOnly",
    "poAllowMultiRecordUpdates",
    "poDisableInserts",
    "poDisableEdits",
    "poDisableDeletes",
    "poNoReset",
    "poAutoRefresh",
    "poPropogateChanges",
    "poAllowCommandText",
    "poRetainServerOrder",
};

TProviderOptions ProviderOptions(const FormValue& v) {
    TProviderOptions options = 0;
    for (const QString& id : FormValues::Set(v)) {
        size_t i = 0;
        while (i < kProviderOptions.size() && !Is(id, kProviderOptions[i]))
            ++i;
        if (i == kProviderOptions.size())
            throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(id));
        options |= 1u << i;
    }
    return options;
}

void RegisterFields() {
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

} // namespace

void RegisterDatasetClasses() {
    RegisterFields();

    RegisterAbstractClass<TDataSet>(QStringLiteral("TDataSet"), QStringLiteral("TComponent"))
        .Event<TDataSetErrorEvent>(QStringLiteral("OnPostError"), &TDataSet::OnPostError)
        .Event<TDataSetErrorEvent>(QStringLiteral("OnEditError"), &TDataSet::OnEditError)
        .Event<TDataSetErrorEvent>(QStringLiteral("OnDeleteError"), &TDataSet::OnDeleteError)
        .Event<TDataSetNotifyEvent>(QStringLiteral("AfterOpen"), &TDataSet::AfterOpen)
        .Event<TDataSetNotifyEvent>(QStringLiteral("BeforeClose"), &TDataSet::BeforeClose)
        .Event<TDataSetNotifyEvent>(QStringLiteral("AfterPost"), &TDataSet::AfterPost)
        .Event<TDataSetNotifyEvent>(QStringLiteral("AfterScroll"), &TDataSet::AfterScroll);

    RegisterClass<TClientDataSet>(QStringLiteral("TClientDataSet"), QStringLiteral("TDataSet"))
        .Property(QStringLiteral("ProviderName"), &TClientDataSet::SetProviderName)
        .Property(QStringLiteral("CommandText"), &TClientDataSet::SetCommandText)
        .Property(QStringLiteral("PacketRecords"), &TClientDataSet::SetPacketRecords)
        .Property(QStringLiteral("FetchOnDemand"), &TClientDataSet::SetFetchOnDemand)
        .Property(QStringLiteral("ReadOnly"), &TClientDataSet::SetReadOnly)
        .Property(QStringLiteral("Active"), &TClientDataSet::SetStreamedActive)
        .Raw(QStringLiteral("Params"),
             [](TClientDataSet& c, const FormValue& v, TComponent&) { c.SetParams(FormParams(v)); })
        .Event<TReconcileErrorEvent>(QStringLiteral("OnReconcileError"),
                                     &TClientDataSet::OnReconcileError);

    RegisterClass<TDataSetProvider>(QStringLiteral("TDataSetProvider"),
                                    QStringLiteral("TComponent"))
        .Raw(QStringLiteral("DataSet"),
             [](TDataSetProvider& p, const FormValue& v, TComponent& root) {
                 const QString name = ReferenceName(v);
                 if (name.isEmpty()) {
                     p.SetDataSet(nullptr);
                     return;
                 }
                 // "fdmqb.QBorrar" waits until the data module has been read.
                 TReferenceResolver::Request(p, root, name,
                                             [&p](TComponent* found) { p.SetDataSet(found); });
             })
        .Raw(QStringLiteral("Options"), [](TDataSetProvider& p, const FormValue& v,
                                           TComponent&) { p.SetOptions(ProviderOptions(v)); })
        .Raw(QStringLiteral("UpdateMode"),
             [](TDataSetProvider& p, const FormValue& v, TComponent&) {
                 p.SetUpdateMode(
                     FormValues::Enum<TUpdateMode>(v, {{"upWhereAll", upWhereAll},
                                                       {"upWhereChanged", upWhereChanged},
                                                       {"upWhereKeyOnly", upWhereKeyOnly}}));
             })
        .Property(QStringLiteral("ResolveToDataSet"), &TDataSetProvider::SetResolveToDataSet)
        .Event<TResolverErrorEvent>(QStringLiteral("OnUpdateError"),
                                    &TDataSetProvider::OnUpdateError);

    RegisterClass<TDataSource>(QStringLiteral("TDataSource"), QStringLiteral("TComponent"))
        .Raw(QStringLiteral("DataSet"),
             [](TDataSource& s, const FormValue& v, TComponent& root) {
                 const QString name = ReferenceName(v);
                 if (name.isEmpty()) {
                     s.SetDataSet(nullptr);
                     return;
                 }
                 TReferenceResolver::Request(s, root, name, [&s, name](TComponent* found) {
                     auto* ds = ComponentAs<TDataSet>(found);
                     if (!ds)
                         throw EPropertyValue(QStringLiteral("%1 is not a dataset").arg(name));
                     s.SetDataSet(ds);
                 });
             })
        .Property(QStringLiteral("Enabled"), &TDataSource::SetEnabled)
        .Property(QStringLiteral("AutoEdit"), &TDataSource::SetAutoEdit)
        .Event<TNotifyEvent>(QStringLiteral("OnStateChange"), &TDataSource::OnStateChange)
        .Event<TDataChangeEvent>(QStringLiteral("OnDataChange"), &TDataSource::OnDataChange)
        .Event<TNotifyEvent>(QStringLiteral("OnUpdateData"), &TDataSource::OnUpdateData);
}
