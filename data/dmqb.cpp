#include "data/dmqb.h"

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/fields/field.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "data/errors/error_log.h"
#include "data/errors/error_translation.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"

Tfdmqb* fdmqb = nullptr;

namespace {

// What the translation rules need to know of where the error came from.
TErrorSource ErrorSourceOf(TObject* Sender, TDataSet* DataSet) {
    TErrorSource source;
    if (!DataSet)
        return source; // application-wide
    if (Sender) {
        source.kind = TErrorSource::Kind::ProviderUpdate;
        if (auto* provider = dynamic_cast<TDataSetProvider*>(Sender);
            provider && provider->DataSet())
            source.providerDataSetName = provider->DataSet()->Name();
        return source;
    }
    source.kind = TErrorSource::Kind::ClientDataSet;
    for (TField* field : DataSet->FieldList())
        source.fields.push_back({field->FieldName(), field->Required(), field->IsNull()});
    for (int i = 0; i < DataSet->IndexFieldCount(); ++i)
        if (TField* field = DataSet->IndexFields(i))
            source.indexFieldNames << field->FieldName();
    return source;
}

} // namespace

Tfdmqb::Tfdmqb(TComponent* owner) : TDataModule(owner) {
    THandlerTable handlers;
    handlers.Add<TNotifyEvent>("DataModuleCreate", [this](TObject* s) { DataModuleCreate(s); });
    InitModule(handlers, QStringLiteral(":/data/dmqb.form"));
}

void Tfdmqb::BindComponents() {
    Quelbo = FindRequired<TSQLConnection>(*this, "Quelbo");
    QBorrar = FindRequired<TSQLQuery>(*this, "QBorrar");
    Dorvan = FindRequired<TSQLConnection>(*this, "Dorvan");
    QArticulos = FindRequired<TSQLQuery>(*this, "QArticulos");
    TArticulo = FindRequired<TSQLQuery>(*this, "TArticulo");
}

void Tfdmqb::DataModuleCreate(TObject*) {
    Application->OnException = [this](TObject* Sender, const Exception& E) {
        ENoManejada(Sender, E);
    };
}

void Tfdmqb::ConfigurarProviders(TComponent* Root) {
    const int count = Root->ComponentCount();
    for (int i = 0; i < count; ++i) {
        TComponent* component = Root->Components(i);
        if (component->ComponentCount() > 0) {
            ConfigurarProviders(component);
        } else if (auto* provider = dynamic_cast<TDataSetProvider*>(component)) {
            provider->OnUpdateError = [this](TObject* Sender, TDataSet* DataSet, EUpdateError& E,
                                             TUpdateKind UpdateKind, TResolverResponse& Response) {
                ManejarError(Sender, DataSet, E, UpdateKind, Response);
            };
        } else if (auto* client = dynamic_cast<TClientDataSet*>(component)) {
            client->SetPacketRecords(1000);
            const TDataSetErrorEvent handler = [this](TDataSet* DataSet, EDatabaseError& E,
                                                      TDataAction& Action) {
                ManejarClientError(DataSet, E, Action);
            };
            client->OnPostError = handler;
            client->OnEditError = handler;
            client->OnDeleteError = handler;
        }
    }
}

void Tfdmqb::ManejarError(TObject* Sender, TDataSet* DataSet, const Exception& E, TUpdateKind,
                          TResolverResponse& Response) {
    AppendErrorLog(DirErrores, UsuarioLog, E.Message());
    Response = rrAbort;
    QString text = E.Message();
    try {
        text = TranslateErrorMessage(E.Message(), ErrorSourceOf(Sender, DataSet));
    } catch (...) {
        // The dataset could not tell its fields: the raw message is shown.
    }
    MessageBeep();
    MessageBoxes().Show(
        {text, QStringLiteral("Error"), TMsgDlgType::mtError, {QStringLiteral("OK")}});
}

void Tfdmqb::ManejarClientError(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action) {
    Action = daAbort;
    TResolverResponse response = rrAbort;
    ManejarError(nullptr, DataSet, E, ukModify, response);
}

void Tfdmqb::ENoManejada(TObject* Sender, const Exception& E) {
    TResolverResponse response = rrAbort;
    ManejarError(Sender, nullptr, E, ukModify, response);
}
