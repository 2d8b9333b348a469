#include "forms/actarticulos.h"

#include "controls/dbimage/edb_image.h"
#include "controls/pngbutton/png_speed_button.h"
#include "controls/timeedit/db_date_time_edit_eh.h"
#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/blob_fields.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dmqb.h"
#include "data/errors/error_log.h"
#include "forms/accesoqb.h"
#include "forms/company_number.h"
#include "forms/settings_sources.h"
#include "forms/upload_texts.h"
#include "grid/dbgrideh.h"
#include "platform/system/file_write.h"
#include "platform/system/format_settings.h"
#include "platform/system/one_line.h"
#include "platform/ui/application.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/db_navigator.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/panel.h"

Tfactarticulos* factarticulos = nullptr;

namespace {

// The lower bound of the run as the login window holds it: the date in the
// user's short date format and the time box's text, read anew each time.
QString FechaDesde() {
    return FormatDateTime(FormatSettings().ShortDateFormat, faccesoqb->EFecIni->Date());
}
QString HoraDesde() {
    return faccesoqb->EHora->Text();
}

} // namespace

Tfactarticulos::Tfactarticulos(TComponent* owner) : TForm(owner) {
    InitForm(Handlers(), QStringLiteral(":/forms/actarticulos.form"));
}

THandlerTable Tfactarticulos::Handlers() {
    THandlerTable h;
    h.Add<TNotifyEvent>("FormActivate", [this](TObject* s) { FormActivate(s); });
    h.Add<TCloseEvent>("FormClose", [this](TObject* s, TCloseAction& a) { FormClose(s, a); });
    h.Add<TNotifyEvent>("PngSpeedButton1Click", [this](TObject* s) { PngSpeedButton1Click(s); });
    h.Add<TReconcileErrorEvent>(
        "CarticuloqbReconcileError",
        [this](TClientDataSet* d, EReconcileError& e, TUpdateKind k, TReconcileAction& a) {
            CarticuloqbReconcileError(d, e, k, a);
        });
    return h;
}

void Tfactarticulos::BindComponents() {
    Panel1 = FindRequired<TPanel>(*this, "Panel1");
    PngSpeedButton1 = FindRequired<TPngSpeedButton>(*this, "PngSpeedButton1");
    DBNavigator2 = FindRequired<TDBNavigator>(*this, "DBNavigator2");
    DBGridEh2 = FindRequired<TDBGridEh>(*this, "DBGridEh2");
    EDBImage1 = FindRequired<TEDBImage>(*this, "EDBImage1");
    Panel2 = FindRequired<TPanel>(*this, "Panel2");
    PArticulos = FindRequired<TDataSetProvider>(*this, "PArticulos");
    CArticulos = FindRequired<TClientDataSet>(*this, "CArticulos");
    CArticulosCODIGO = FindRequired<TField>(*this, "CArticulosCODIGO");
    CArticulosDESCRIPCION = FindRequired<TField>(*this, "CArticulosDESCRIPCION");
    CArticulosUNIDAD = FindRequired<TField>(*this, "CArticulosUNIDAD");
    CArticulosCATEG = FindRequired<TField>(*this, "CArticulosCATEG");
    CArticulosSUBCATEG = FindRequired<TField>(*this, "CArticulosSUBCATEG");
    CArticulosPRECIO = FindRequired<TField>(*this, "CArticulosPRECIO");
    CArticulosFOTO = FindRequired<TBlobField>(*this, "CArticulosFOTO");
    CArticulosACTIVO = FindRequired<TField>(*this, "CArticulosACTIVO");
    DArticulos = FindRequired<TDataSource>(*this, "DArticulos");
    PArticuloqb = FindRequired<TDataSetProvider>(*this, "PArticuloqb");
    Carticuloqb = FindRequired<TClientDataSet>(*this, "Carticuloqb");
    CarticuloqbARTI_COD = FindRequired<TField>(*this, "CarticuloqbARTI_COD");
    CarticuloqbARTI_DES = FindRequired<TField>(*this, "CarticuloqbARTI_DES");
    CarticuloqbARTI_UNIDAD = FindRequired<TField>(*this, "CarticuloqbARTI_UNIDAD");
    CarticuloqbCATE_ID = FindRequired<TField>(*this, "CarticuloqbCATE_ID");
    CarticuloqbSUCA_ID = FindRequired<TField>(*this, "CarticuloqbSUCA_ID");
    CarticuloqbARTI_FOTO = FindRequired<TBlobField>(*this, "CarticuloqbARTI_FOTO");
    CarticuloqbARTI_ACTIVO = FindRequired<TField>(*this, "CarticuloqbARTI_ACTIVO");
}

void Tfactarticulos::FormActivate(TObject*) {
    cuenta_ = {};
    TScheduledRun* const programado = faccesoqb->ScheduledRun();
    // A scheduler's run ends with the upload however it ends: once the error
    // hook has reported a failure, the window closes as "Salir" does.
    const TAfterHandler salir(programado ? this : nullptr, [this] { PngSpeedButton1Click(this); });
    Panel2->Show();
    // The company goes into the stamp unquoted: a text that is not a number
    // stops the run before anything reaches a database.
    CheckedCompanyNumber(faccesoqb->Cia->Text());
    // So does a base address that would give every photograph a wrong one.
    urlBase_ = URLBase();
    // Every article runs the same lookup and the same few writes on the
    // catalog, and the lookup only reads its table.
    TRepeatedWork repeated(*fdmqb->Quelbo);

    CArticulos->Close();
    CArticulos->SetCommandText(ChangedArticlesStatement(FechaDesde(), HoraDesde()));
    CArticulos->Open();
    cuenta_.read = CArticulos->RecordCount();
    if (programado)
        programado->UploadStarted(cuenta_);
    // The temporaries of photographs whose writing a killed run cut short.
    RemoveLeftoverTemporaries(PhotoFolder(), kPhotoFileEnd);
    // A stop signal ends the run between two articles, never inside one, and
    // leaves the company unstamped: the next run uploads what this one left.
    while (!CArticulos->Eof() && !Application->Terminated()) {
        SubirArticulo();
        CArticulos->Next();
        if (programado)
            programado->ArticleDone(cuenta_);
    }
    if (Application->Terminated())
        return;
    SellarCompania();
    Panel2->Hide();
    if (programado)
        programado->Stamped(FechaDesde(), HoraDesde());

    if (cuenta_.refused == 1)
        ShowMessage(QStringLiteral("No se pudo subir 1 artículo; el detalle está en ERRORES.TXT"));
    else if (cuenta_.refused > 1)
        ShowMessage(QStringLiteral("No se pudieron subir %1 artículos; el detalle está en "
                                   "ERRORES.TXT")
                        .arg(cuenta_.refused));
}

void Tfactarticulos::SubirArticulo() {
    const QString codigo = CArticulosCODIGO->AsString();
    const QString compania = faccesoqb->Cia->Text();
    const bool conFoto = !CArticulosFOTO->IsNull();
    Panel2->SetCaption(QStringLiteral("Actualizando articulo ") + codigo + QStringLiteral("..."));
    // The code names the photograph's file: one that cannot stops the run
    // before the article is written at all.
    if (conFoto)
        CheckedPhotoCode(codigo);

    Carticuloqb->Close();
    Carticuloqb->FetchParams();
    Carticuloqb->ParamByName(QStringLiteral("COD")).SetAsString(codigo);
    Carticuloqb->Open();
    if (Carticuloqb->IsEmpty()) {
        Carticuloqb->Insert();
        CarticuloqbARTI_COD->SetAsString(codigo);
    } else {
        Carticuloqb->Edit();
    }
    CarticuloqbARTI_DES->SetAsString(CArticulosDESCRIPCION->AsString());
    CarticuloqbARTI_UNIDAD->SetAsString(CArticulosUNIDAD->AsString());
    CarticuloqbCATE_ID->SetAsInteger(CArticulosCATEG->AsInteger());
    CarticuloqbSUCA_ID->SetAsInteger(CArticulosSUBCATEG->AsInteger());
    if (conFoto)
        CarticuloqbARTI_FOTO->SetAsString(PhotoAddress(urlBase_, compania, codigo));
    CarticuloqbARTI_ACTIVO->SetAsString(QStringLiteral("S"));
    Carticuloqb->Post();
    Carticuloqb->ApplyUpdates(0);

    if (conFoto) {
        Panel2->SetCaption(QStringLiteral("Exportando imagen articulo ") + codigo +
                           QStringLiteral("..."));
        Repaint();
        EDBImage1->SaveToFile(PhotoFile(compania, codigo));
        ++cuenta_.photos;
    }
    ++cuenta_.done;
}

void Tfactarticulos::SellarCompania() {
    TClientDataSet* stamp = faccesoqb->CBorrar;
    stamp->Close();
    stamp->SetCommandText(CompanyStampStatement(faccesoqb->EFecIni->Date(), HoraDesde(),
                                                CheckedCompanyNumber(faccesoqb->Cia->Text())));
    stamp->Execute();
}

void Tfactarticulos::CarticuloqbReconcileError(TClientDataSet*, EReconcileError& E, TUpdateKind,
                                               TReconcileAction&) {
    ++cuenta_.refused;
    // One line per article: the server's text may hold line breaks, and so
    // may the code.
    AppendErrorLog(fdmqb->DirErrores, fdmqb->UsuarioLog,
                   OneLine(QStringLiteral("No se pudo subir el artículo \"") +
                           CArticulosCODIGO->AsString() + QStringLiteral("\": ") + E.Message()));
}

void Tfactarticulos::FormClose(TObject*, TCloseAction&) {
    CArticulos->Close();
    // The window is still modal: this only confirms the modal result.
    Close();
}

void Tfactarticulos::PngSpeedButton1Click(TObject*) {
    Close();
}
