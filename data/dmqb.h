#pragma once
// The data module: the remote catalog connection Quelbo and the local ERP
// connection Dorvan with the queries through which every read and write passes.

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

    void DataModuleCreate(TObject* Sender);

protected:
    void BindComponents() override;
};

extern Tfdmqb* fdmqb;
