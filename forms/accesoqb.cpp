#include "forms/accesoqb.h"

#include "controls/timeedit/db_date_time_edit_eh.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/fields/field.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dmqb.h"
#include "forms/actarticulos.h"
#include "forms/company_number.h"
#include "forms/scheduled_run.h"
#include "forms/server_list.h"
#include "forms/settings_sources.h"
#include "forms/upload_texts.h"
#include "platform/system/command_line.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/edit.h"
#include "platform/ui/group_box.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/speed_button.h"

Tfaccesoqb* faccesoqb = nullptr;

namespace {

constexpr unsigned short kKeyF5 = 116;
constexpr unsigned short kKeyEscape = 27;

} // namespace

Tfaccesoqb::Tfaccesoqb(TComponent* owner) : TForm(owner) {
    InitForm(Handlers(), QStringLiteral(":/forms/accesoqb.form"));
}

THandlerTable Tfaccesoqb::Handlers() {
    THandlerTable h;
    h.Add<TNotifyEvent>("FormCreate", [this](TObject* s) { FormCreate(s); });
    h.Add<TNotifyEvent>("FormActivate", [this](TObject* s) { FormActivate(s); });
    h.Add<TCloseEvent>("FormClose", [this](TObject* s, TCloseAction& a) { FormClose(s, a); });
    h.Add<TKeyEvent>("FormKeyDown", [this](TObject* s, unsigned short& k, TShiftState shift) {
        FormKeyDown(s, k, shift);
    });
    h.Add<TKeyPressEvent>("Enteratab", [this](TObject* s, QChar& k) { Enteratab(s, k); });
    h.Add<TNotifyEvent>("CiaExit", [this](TObject* s) { CiaExit(s); });
    h.Add<TNotifyEvent>("SpeedButton1Click", [this](TObject* s) { SpeedButton1Click(s); });
    h.Add<TNotifyEvent>("SpeedButton2Click", [this](TObject* s) { SpeedButton2Click(s); });
    return h;
}

void Tfaccesoqb::BindComponents() {
    Panel2 = FindRequired<TPanel>(*this, "Panel2");
    Label2 = FindRequired<TLabel>(*this, "Label2");
    GroupBox1 = FindRequired<TGroupBox>(*this, "GroupBox1");
    Label5 = FindRequired<TLabel>(*this, "Label5");
    Label8 = FindRequired<TLabel>(*this, "Label8");
    Label9 = FindRequired<TLabel>(*this, "Label9");
    Label6 = FindRequired<TLabel>(*this, "Label6");
    Servidor = FindRequired<TComboBox>(*this, "Servidor");
    Tusua = FindRequired<TEdit>(*this, "Tusua");
    TClave = FindRequired<TEdit>(*this, "TClave");
    Cia = FindRequired<TEdit>(*this, "Cia");
    Panel1 = FindRequired<TPanel>(*this, "Panel1");
    SpeedButton1 = FindRequired<TSpeedButton>(*this, "SpeedButton1");
    Label10 = FindRequired<TLabel>(*this, "Label10");
    SpeedButton2 = FindRequired<TSpeedButton>(*this, "SpeedButton2");
    GroupBox2 = FindRequired<TGroupBox>(*this, "GroupBox2");
    Label7 = FindRequired<TLabel>(*this, "Label7");
    Ubicacion = FindRequired<TEdit>(*this, "Ubicacion");
    Label4 = FindRequired<TLabel>(*this, "Label4");
    EFecIni = FindRequired<TDateTimePicker>(*this, "EFecIni");
    EHora = FindRequired<TDBDateTimeEditEh>(*this, "EHora");
    Panel5 = FindRequired<TPanel>(*this, "Panel5");
    PBorrar = FindRequired<TDataSetProvider>(*this, "PBorrar");
    CBorrar = FindRequired<TClientDataSet>(*this, "CBorrar");
}

void Tfaccesoqb::FormCreate(TObject*) {
    servidores_ = ReadServerList(ServerListPath());
    Servidor->SetItems(servidores_);
    Servidor->SetItemIndex(0);
    Ubicacion->SetText(PhotoFolderAddress(URLBase()));
}

void Tfaccesoqb::SetScheduledRun(TScheduledRun* run) {
    scheduledRun_ = run;
    SetActivatesWhenShown(run != nullptr);
}

void Tfaccesoqb::FormActivate(TObject*) {
    if (ParamStr(10).isEmpty())
        return;
    // A scheduler's run ends here however it ends: once the error hook has
    // reported a failure, the window closes (unless the export closed it).
    const TAfterHandler end(scheduledRun_ ? this : nullptr, [this] { Close(); });
    Servidor->ClearItems();
    Servidor->AddItem(ParamStr(1));
    Servidor->SetItemIndex(0);
    Tusua->SetText(ParamStr(2));
    TClave->SetText(ParamStr(3));
    Cia->SetText(ParamStr(4));
    // Opening is synchronous: the connection is open or closed by now.
    CiaExit(this);
    if (fdmqb->Quelbo->ConnectionState() == csStateOpen && !ParamStr(11).isEmpty())
        SpeedButton1Click(this);
}

void Tfaccesoqb::FormClose(TObject*, TCloseAction& Action) {
    Action = TCloseAction::caFree;
}

void Tfaccesoqb::FormKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift) {
    if (Shift & (ssShift | ssCtrl | ssAlt))
        return;
    if (Key == kKeyF5 && SpeedButton1->Enabled())
        SpeedButton1Click(Sender);
    else if (Key == kKeyEscape)
        SpeedButton2Click(Sender);
}

void Tfaccesoqb::Enteratab(TObject*, QChar& Key) {
    if (Key != QChar(13))
        return;
    Key = QChar(0);
    SelectNext(true);
}

void Tfaccesoqb::SpeedButton2Click(TObject*) {
    Close();
}

void Tfaccesoqb::SpeedButton1Click(TObject*) {
    factarticulos = new Tfactarticulos(this);
    factarticulos->ShowModal();
    Close();
}

void Tfaccesoqb::CiaExit(TObject*) {
    const QString company = Cia->Text();
    const QString user = Tusua->Text();
    const QString password = TClave->Text();
    if (company.isEmpty() || user.isEmpty() || password.isEmpty())
        return;

    Panel5->SetCaption(QStringLiteral("Conectando a la base de datos Trevola ..."));
    Panel5->Show();
    Repaint();

    // The company text goes into the stamp query unquoted: refuse anything
    // but a number before the server sees any of it.
    const QString companyNumber = CheckedCompanyNumber(company);

    TSQLConnection* quelbo = fdmqb->Quelbo;
    if (quelbo->Connected())
        quelbo->Close();
    quelbo->SetParamValue(QStringLiteral("Database"),
                          Servidor->Text() + QStringLiteral("/quelbo.fdb"));
    quelbo->SetParamValue(QStringLiteral("User_Name"), user);
    quelbo->SetParamValue(QStringLiteral("password"), password);
    quelbo->Open();

    fdmqb->ConfigurarProviders(this);
    CBorrar->Close();
    CBorrar->SetCommandText(
        QStringLiteral("select COMP_FECACT, COMP_HORACT from COMPANIA WHERE COMP_ID = ") +
        companyNumber);
    CBorrar->Open();
    EFecIni->SetEnabled(true);
    EFecIni->SetDate(CBorrar->Fields(0)->AsDateTime());
    EHora->SetText(CBorrar->Fields(1)->AsString());

    Panel5->Hide();
    CBorrar->Close();
    EFecIni->SetFocus();
    SpeedButton1->SetEnabled(true);
}
