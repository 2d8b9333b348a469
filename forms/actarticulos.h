#pragma once
// The results window "Productos actualizados": the export action of the
// login window creates one and shows it modally. Its activation uploads the
// articles that changed in the ERP since the login window's date and time
// to the remote catalog, writes their photographs into the web folder and
// stamps the company; the articles then stay on view until it is closed.

#include "data/dataset/client/clientdataset.h"
#include "forms/scheduled_run.h"
#include "platform/ui/form.h"

class TBlobField;
class TDataSetProvider;
class TDataSource;
class TDBGridEh;
class TDBNavigator;
class TEDBImage;
class TField;
class TPanel;
class TPngSpeedButton;

class Tfactarticulos : public TForm {
public:
    explicit Tfactarticulos(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("Tfactarticulos"); }

    TPanel* Panel1 = nullptr;
    TPngSpeedButton* PngSpeedButton1 = nullptr;
    TDBNavigator* DBNavigator2 = nullptr;
    TDBGridEh* DBGridEh2 = nullptr;
    TEDBImage* EDBImage1 = nullptr;
    TPanel* Panel2 = nullptr;
    TDataSetProvider* PArticulos = nullptr;
    TClientDataSet* CArticulos = nullptr;
    TField* CArticulosCODIGO = nullptr;
    TField* CArticulosDESCRIPCION = nullptr;
    TField* CArticulosUNIDAD = nullptr;
    TField* CArticulosCATEG = nullptr;
    TField* CArticulosSUBCATEG = nullptr;
    TField* CArticulosPRECIO = nullptr;
    TBlobField* CArticulosFOTO = nullptr;
    TField* CArticulosACTIVO = nullptr;
    TDataSource* DArticulos = nullptr;
    TDataSetProvider* PArticuloqb = nullptr;
    TClientDataSet* Carticuloqb = nullptr;
    TField* CarticuloqbARTI_COD = nullptr;
    TField* CarticuloqbARTI_DES = nullptr;
    TField* CarticuloqbARTI_UNIDAD = nullptr;
    TField* CarticuloqbCATE_ID = nullptr;
    TField* CarticuloqbSUCA_ID = nullptr;
    TBlobField* CarticuloqbARTI_FOTO = nullptr;
    TField* CarticuloqbARTI_ACTIVO = nullptr;

    // The upload run.
    void FormActivate(TObject* Sender);
    // Empties the grid; the window then hides.
    void FormClose(TObject* Sender, TCloseAction& Action);
    // "Salir".
    void PngSpeedButton1Click(TObject* Sender);
    // An article the remote database refused: one line in the error log,
    // and one more for the message after the run. The change stays in the
    // change log, as without a handler, and the run goes on.
    void CarticuloqbReconcileError(TClientDataSet* DataSet, EReconcileError& E,
                                   TUpdateKind UpdateKind, TReconcileAction& Action);

protected:
    void BindComponents() override;

private:
    THandlerTable Handlers();
    // One article of CArticulos: one lookup, one insert or update applied,
    // and its photograph file when it has one.
    void SubirArticulo();
    // Records in COMPANIA the date and time this run started from.
    void SellarCompania();

    // What the run has done so far.
    TUploadCounts cuenta_;
    // The base address of the photographs' addresses, read at the start of the run.
    QString urlBase_;
};

// The newest results window.
extern Tfactarticulos* factarticulos;
