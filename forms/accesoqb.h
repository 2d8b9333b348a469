#pragma once
// The login window: the user picks the server, types user, password and
// company, and connects to the remote catalog database. It is the main window.

#include "platform/ui/form.h"

class TComboBox;
class TEdit;

class Tfaccesoqb : public TForm {
public:
    explicit Tfaccesoqb(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("Tfaccesoqb"); }

    TComboBox* Servidor = nullptr;
    TEdit* Tusua = nullptr;
    TEdit* TClave = nullptr;
    TEdit* Cia = nullptr;

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

protected:
    void BindComponents() override;

private:
    THandlerTable Handlers();
};

extern Tfaccesoqb* faccesoqb;
