#include "data/dataset/client/register_client_classes.h"

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/form_params.h"
#include "data/dataset/register_dataset_classes.h"
#include "platform/formfile/class_registry.h"
#include "platform/formfile/form_reader.h"

#include <array>

namespace {

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
        while (i < kProviderOptions.size() &&
               id.compare(QLatin1String(kProviderOptions[i]), Qt::CaseInsensitive) != 0)
            ++i;
        if (i == kProviderOptions.size())
            throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(id));
        options |= 1u << i;
    }
    return options;
}

} // namespace

void RegisterClientClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterDatasetClasses();

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
                 // "fdmqb.QBorrar" waits until the data module has been read.
                 SetReference<TComponent>(p, root, v, QStringLiteral("component"),
                                          [&p](TComponent* c) { p.SetDataSet(c); });
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
}
