#include "forms/accesoqb.h"

#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/register_ui_classes.h"

Tfaccesoqb* faccesoqb = nullptr;

namespace {
void RegisterAccesoqbClass() {
    static const bool done = [] {
        RegisterUiClasses();
        RegisterAbstractClass<Tfaccesoqb>("Tfaccesoqb", "TForm");
        return true;
    }();
    (void)done;
}
} // namespace

Tfaccesoqb::Tfaccesoqb(TComponent* owner) : TForm(owner) {
    RegisterAccesoqbClass();
    InitForm(Handlers(), QStringLiteral(":/forms/accesoqb.form"));
}

THandlerTable Tfaccesoqb::Handlers() {
    THandlerTable h;
    h.Add<TNotifyEvent>("FormCreate", [this](TObject* s) { FormCreate(s); });
    h.Add<TCloseEvent>("FormClose", [this](TObject* s, TCloseAction& a) { FormClose(s, a); });
    return h;
}

void Tfaccesoqb::BindComponents() {
    Servidor = FindRequired<TComboBox>(*this, "Servidor");
    Tusua = FindRequired<TEdit>(*this, "Tusua");
    TClave = FindRequired<TEdit>(*this, "TClave");
    Cia = FindRequired<TEdit>(*this, "Cia");
}

void Tfaccesoqb::FormCreate(TObject*) {}

void Tfaccesoqb::FormClose(TObject*, TCloseAction& Action) {
    Action = TCloseAction::caFree;
}
