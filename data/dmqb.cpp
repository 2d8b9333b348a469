#include "data/dmqb.h"

#include "data/dataset/register_sql_classes.h"
#include "data/dataset/sqlconnection.h"
#include "data/dataset/sqlquery.h"
#include "platform/ui/form.h"

Tfdmqb* fdmqb = nullptr;

namespace {
void RegisterDmqbClass() {
    static const bool done = [] {
        RegisterSqlClasses();
        RegisterAbstractClass<Tfdmqb>("Tfdmqb", "TDataModule");
        return true;
    }();
    (void)done;
}
} // namespace

Tfdmqb::Tfdmqb(TComponent* owner) : TDataModule(owner) {
    RegisterDmqbClass();
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

// The application-wide exception hook is installed by the error-reporting routines.
void Tfdmqb::DataModuleCreate(TObject*) {}
