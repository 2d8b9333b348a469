#include "forms/actarticulos.h"

Tfactarticulos* factarticulos = nullptr;

Tfactarticulos::Tfactarticulos(TComponent* owner) : TForm(owner) {
    InitForm(THandlerTable(), QStringLiteral(":/forms/actarticulos.form"));
}
