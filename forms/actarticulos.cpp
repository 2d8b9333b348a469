#include "forms/actarticulos.h"

#include "platform/ui/register_ui_classes.h"

Tfactarticulos* factarticulos = nullptr;

namespace {
void RegisterActarticulosClass() {
    static const bool done = [] {
        RegisterUiClasses();
        RegisterAbstractClass<Tfactarticulos>("Tfactarticulos", "TForm");
        return true;
    }();
    (void)done;
}
} // namespace

Tfactarticulos::Tfactarticulos(TComponent* owner) : TForm(owner) {
    RegisterActarticulosClass();
    InitForm(THandlerTable(), QStringLiteral(":/forms/actarticulos.form"));
}
