#pragma once
// The data module: the remote catalog connection Quelbo and the local ERP
// connection Dorvan with the queries through which every read and write
// passes, and the routines that report every error that reaches the user.

#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/dataset.h"
#include "platform/ui/data_module.h"

class TSQLConnection;
class TSQLQuery;

class Tfdmqb : public TDataModule {
public:
    explicit Tfdmqb(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("Tfdmqb"); }

    TSQLConnection* Quelbo = nullptr;
    TSQLQuery* QBorrar = nullptr;
    TSQLConnection* Dorvan = nullptr;
    TSQLQuery* QArticulos = nullptr;
    TSQLQuery* TArticulo = nullptr;

    // The folder of the error log and the user written into each line;
    // nothing in the program sets them.
    QString DirErrores;
    QString UsuarioLog;

    // Installs ENoManejada as the application's exception hook.
    void DataModuleCreate(TObject* Sender);
    // Hooks the error routines into the providers and client datasets that
    // `Root` owns, descending into components that own others.
    void ConfigurarProviders(TComponent* Root);
    // Logs the error, sets Response to rrAbort, translates the message by
    // the rules of where it came from, beeps and shows it in an error box.
    void ManejarError(TObject* Sender, TDataSet* DataSet, const Exception& E,
                      TUpdateKind UpdateKind, TResolverResponse& Response);
    // The client datasets' edit, post and delete errors: abandons the
    // operation silently after reporting it.
    void ManejarClientError(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action);
    // The application-wide hook.
    void ENoManejada(TObject* Sender, const Exception& E);

protected:
    void BindComponents() override;
};

extern Tfdmqb* fdmqb;
