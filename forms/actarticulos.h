#pragma once
// The results window "Productos actualizados": the export action of the
// login window creates one and shows it modally.

#include "platform/ui/form.h"

class Tfactarticulos : public TForm {
public:
    explicit Tfactarticulos(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("Tfactarticulos"); }
};

// The newest results window.
extern Tfactarticulos* factarticulos;
