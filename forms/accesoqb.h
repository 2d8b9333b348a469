#pragma once
// The login window: the user picks the server, types user, password and
// company, and connects to the remote catalog database; it then shows the
// company's last upload stamp and enables the export (F5). It is the main
// window, and can also be driven from the command line.

#include "platform/ui/form.h"

class TClientDataSet;
class TComboBox;
class TDataSetProvider;
class TDateTimePicker;
class TDBDateTimeEditEh;
class TEdit;
class TGroupBox;
class TLabel;
class TPanel;
class TScheduledRun;
class TSpeedButton;

class Tfaccesoqb : public TForm {
public:
    explicit Tfaccesoqb(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("Tfaccesoqb"); }

    TPanel* Panel2 = nullptr;
    TLabel* Label2 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label6 = nullptr;
    TComboBox* Servidor = nullptr;
    TEdit* Tusua = nullptr;
    TEdit* TClave = nullptr;
    TEdit* Cia = nullptr;
    TPanel* Panel1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TLabel* Label10 = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TLabel* Label7 = nullptr;
    TEdit* Ubicacion = nullptr;
    TLabel* Label4 = nullptr;
    TDateTimePicker* EFecIni = nullptr;
    TDBDateTimeEditEh* EHora = nullptr;
    TPanel* Panel5 = nullptr;
    TDataSetProvider* PBorrar = nullptr;
    TClientDataSet* CBorrar = nullptr;

    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
    void Enteratab(TObject* Sender, QChar& Key);
    void CiaExit(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);

    // The server lines read at creation, kept for the window's lifetime.
    const QStringList& Servidores() const { return servidores_; }

    // A run that a scheduler owns, or none: its unattended steps then run
    // once as the window is shown, whatever the window system does, and the
    // window closes when they end, however they end.
    void SetScheduledRun(TScheduledRun* run);
    TScheduledRun* ScheduledRun() const { return scheduledRun_; }

protected:
    void BindComponents() override;

private:
    THandlerTable Handlers();

    QStringList servidores_;
    TScheduledRun* scheduledRun_ = nullptr;
};

extern Tfaccesoqb* faccesoqb;
