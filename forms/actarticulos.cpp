#include "forms/actarticulos.h"

#include "controls/dbimage/register_edb_image.h"
#include "platform/ui/register_ui_classes.h"

Tfactarticulos* factarticulos = nullptr;

namespace {
void RegisterActarticulosClass() {
    static const bool done = [] {
        RegisterUiClasses();
        RegisterEDBImageClass();
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
