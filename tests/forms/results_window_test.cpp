// The results window as its description makes it, before any upload: the
// docked parts, the panels, the hidden image control, the "Salir" button,
// the navigator, and the datasets with their declared fields; then shown by
// F5 on real databases: its activation uploads once, whatever the window
// system does.

#include "controls/dbimage/edb_image.h"
#include "controls/pngbutton/png_speed_button.h"
#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/field.h"
#include "data/dataset/sql/sqlquery.h"
#include "forms/settings_sources.h"
#include "forms/upload_texts.h"
#include "grid/dbgrideh.h"
#include "grid/finddialog/find_dialog_eh.h"
#include "platform/ui/db_navigator.h"
#include "platform/ui/edit.h"
#include "platform/ui/panel.h"
#include "tests/forms/upload_fixture.h"

#include <QFile>

namespace {

class ResultsWindow : public LoginFixture {
protected:
    void SetUp() override {
        settings_.WriteServerList("srv1\r\n");
        Create();
        r_ = new Tfactarticulos(w_);
    }
    // "class name size required" of each declared field, in order.
    static QStringList Fields(const TClientDataSet& ds) {
        QStringList fields;
        for (const TField* f : ds.FieldList())
            fields << QStringLiteral("%1 %2 %3 %4")
                          .arg(f->ClassName(), f->FieldName())
                          .arg(f->Size())
                          .arg(f->Required() ? "required" : "-");
        return fields;
    }

    Tfactarticulos* r_ = nullptr;
};

// Every button of the navigator is drawn, and only in the engraved colours of
// a disabled button, never in the text colour of an enabled one.
void ExpectDisabledButtons(const TDBNavigator& navigator) {
    const QImage image = navigator.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPalette& palette = navigator.Widget()->palette();
    const QRgb dark = palette.color(QPalette::Dark).rgb();
    const QRgb light = palette.color(QPalette::Light).rgb();
    const QRgb face = palette.color(QPalette::Button).rgb();
    for (TNavigateBtn b : {nbFirst, nbPrior, nbNext, nbLast}) {
        const QRect r = navigator.ButtonRect(b);
        ASSERT_FALSE(r.isEmpty()) << b;
        int glyph = 0;
        int other = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                glyph += p == dark;
                other += p != dark && p != light && p != face;
            }
        EXPECT_GE(glyph, 12) << b;
        EXPECT_EQ(other, 0) << b;
    }
}

TEST_F(ResultsWindow, TheDescriptionDocksButtonBarAndNavigatorAndKeepsThePhotographControlHidden) {
    EXPECT_EQ(r_->Caption(), "Productos actualizados");
    EXPECT_EQ(r_->Owner(), w_);
    EXPECT_EQ(QRect(r_->Left(), r_->Top(), r_->Width(), r_->Height()), QRect(194, 108, 870, 500));
    EXPECT_TRUE(r_->KeyPreview());
    // The grid fills the window above the navigator and the button bar.
    EXPECT_EQ(r_->ClientWidth(), 854);
    EXPECT_EQ(r_->ClientHeight(), 406 + 18 + 37);
    EXPECT_EQ(r_->DBGridEh2->Widget()->geometry(), QRect(0, 0, 854, 406));
    EXPECT_EQ(r_->DBNavigator2->Widget()->geometry(), QRect(0, 406, 854, 18));
    EXPECT_EQ(r_->Panel1->Widget()->geometry(), QRect(0, 424, 854, 37));
    EXPECT_TRUE(r_->DBNavigator2->Flat());
    EXPECT_EQ(r_->DBNavigator2->VisibleButtons(), kAllNavButtons);
    ExpectDisabledButtons(*r_->DBNavigator2);

    EXPECT_EQ(r_->DBGridEh2->DataSource(), r_->DArticulos);
    QStringList columns;
    for (const TColumnEh* c : r_->DBGridEh2->VisibleColumns())
        columns << c->FieldName();
    EXPECT_EQ(columns,
              (QStringList{"CODIGO", "DESCRIPCION", "UNIDAD", "CATEG", "SUBCATEG", "PRECIO"}));
    EXPECT_TRUE(r_->DBGridEh2->AutoFitColWidths());
    EXPECT_TRUE(r_->DBGridEh2->SortLocal());
    EXPECT_EQ(r_->DBGridEh2->FooterRowCount(), 1);

    // The status panel sits over the grid.
    EXPECT_EQ(r_->Panel2->Widget()->geometry(), QRect(240, 88, 250, 41));
    EXPECT_EQ(r_->Panel2->Widget()->parentWidget(), r_->Widget());
    const QObjectList& stack = r_->Widget()->children();
    EXPECT_GT(stack.indexOf(r_->Panel2->Widget()), stack.indexOf(r_->DBGridEh2->Widget()));
    EXPECT_FALSE(r_->Panel2->Visible());
    EXPECT_EQ(r_->Panel2->Caption(), "Subiendo articulo ...");
    EXPECT_EQ(r_->Panel2->BevelInner(), TPanelBevel::bvLowered);

    EXPECT_FALSE(r_->EDBImage1->Visible());
    EXPECT_EQ(r_->EDBImage1->Widget()->geometry(), QRect(400, 48, 105, 105));
    EXPECT_FALSE(r_->EDBImage1->ZoomToFit());
    EXPECT_TRUE(r_->EDBImage1->AutoDisplay());
    EXPECT_EQ(r_->EDBImage1->DataSource(), r_->DArticulos);
    EXPECT_EQ(r_->EDBImage1->DataField(), "FOTO");

    TPngSpeedButton* salir = r_->PngSpeedButton1;
    EXPECT_EQ(salir->Parent(), r_->Panel1);
    EXPECT_EQ(QRect(salir->Left(), salir->Top(), salir->Width(), salir->Height()),
              QRect(792, 2, 57, 33));
    EXPECT_EQ(salir->Caption(), "Salir");
    EXPECT_TRUE(salir->Flat());
    EXPECT_EQ(salir->Layout(), TButtonLayout::blGlyphRight);
    EXPECT_EQ(salir->PngImage().Width(), 16u);
    EXPECT_EQ(salir->PngImage().Height(), 16u);
    EXPECT_EQ(salir->PngImage().Transparency(), TPngTransparency::Alpha);
    // The description holds the repository's glyph, byte for byte.
    QFile glyph(AMQB_SALIR_GLYPH_PATH);
    ASSERT_TRUE(glyph.open(QIODevice::ReadOnly));
    const std::vector<uint8_t> bytes = salir->PngImage().SaveToBytes();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())),
              glyph.readAll());
}

TEST_F(ResultsWindow, TheDatasetsDeclareTheirFieldsAndHaveNoErrorHandlers) {
    EXPECT_EQ(r_->PArticulos->DataSet(), fdmqb->QArticulos);
    EXPECT_TRUE(r_->PArticulos->HasOption(poAllowCommandText));
    EXPECT_EQ(r_->PArticuloqb->DataSet(), fdmqb->TArticulo);
    EXPECT_FALSE(r_->PArticuloqb->HasOption(poAllowCommandText));
    EXPECT_FALSE(r_->PArticulos->OnUpdateError);
    EXPECT_FALSE(r_->PArticuloqb->OnUpdateError);
    EXPECT_EQ(r_->DArticulos->DataSet(), r_->CArticulos);

    EXPECT_EQ(r_->CArticulos->ProviderName(), "PArticulos");
    EXPECT_EQ(r_->CArticulos->CommandText(),
              "select * from articulos_miquelbo('2018/01/01', '00:00')");
    EXPECT_TRUE(r_->CArticulos->Params().Count() == 0);
    EXPECT_EQ(Fields(*r_->CArticulos),
              (QStringList{"TStringField CODIGO 20 -", "TStringField DESCRIPCION 60 -",
                           "TStringField UNIDAD 8 -", "TIntegerField CATEG 0 -",
                           "TIntegerField SUBCATEG 0 -", "TFMTBCDField PRECIO 2 -",
                           "TBlobField FOTO 0 -", "TStringField ACTIVO 1 -"}));
    EXPECT_EQ(r_->Carticuloqb->ProviderName(), "PArticuloqb");
    ASSERT_EQ(r_->Carticuloqb->Params().Count(), 1);
    EXPECT_EQ(r_->Carticuloqb->Params()[0].Name(), "COD");
    EXPECT_EQ(r_->Carticuloqb->Params()[0].DataType(), ftString);
    EXPECT_EQ(r_->Carticuloqb->Params()[0].AsString(), "01");
    EXPECT_EQ(Fields(*r_->Carticuloqb),
              (QStringList{"TStringField ARTI_COD 20 required",
                           "TStringField ARTI_DES 100 required", "TStringField ARTI_UNIDAD 10 -",
                           "TSmallintField CATE_ID 0 -", "TSmallintField SUCA_ID 0 -",
                           "TBlobField ARTI_FOTO 0 -", "TStringField ARTI_ACTIVO 1 -"}));
    for (TClientDataSet* ds : {r_->CArticulos, r_->Carticuloqb}) {
        EXPECT_EQ(ds->PacketRecords(), -1);
        EXPECT_FALSE(ds->OnPostError || ds->OnEditError || ds->OnDeleteError);
    }
    // Only the refusals of the catalog are followed, to log them.
    EXPECT_FALSE(r_->CArticulos->OnReconcileError);
    EXPECT_TRUE(r_->Carticuloqb->OnReconcileError);
}

TEST_F(ResultsWindow, PhotographsAreAddressedOnTheServerTheLoginWindowShows) {
    EXPECT_EQ(PhotoAddress(URLBase(), "1", "B2"), w_->Ubicacion->Text() + "/1-B2.jpg");
}

} // namespace

namespace {

// A window system that never activates the results window: its activation
// notices are dropped before they reach it.
class TResultsNeverActivated : public QObject {
public:
    TResultsNeverActivated() { QApplication::instance()->installEventFilter(this); }
    ~TResultsNeverActivated() override { QApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        return event->type() == QEvent::WindowActivate && widget && factarticulos &&
               widget == factarticulos->Widget();
    }
};

using ResultsWindowShown = UploadFixture;

TEST_F(ResultsWindowShown, UploadsOnceThoughTheWindowSystemNeverActivatesIt) {
    AddArticle({.code = "A1"});
    Login();
    auto windowSystem = std::make_optional<TResultsNeverActivated>();
    QStringList shownFirst;
    QStringList stampFirst;
    QStringList shownAfterFind;
    modals_.answer = [&](TForm& form) {
        if (&form == DBGridEhFindDlg) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
            form.Close();
            return;
        }
        auto& results = dynamic_cast<Tfactarticulos&>(form);
        auto codes = [&] {
            QStringList rows;
            if (results.CArticulos->Active())
                for (int r = 1; r <= results.CArticulos->RecordCount(); ++r)
                    rows << results.CArticulos->FieldValueAt(*results.CArticulosCODIGO, r)
                                .AsString();
            return rows;
        };
        shownFirst = codes();
        stampFirst = Stamp();
        // The bound changes in the login window meanwhile, which a second run
        // would stamp. The window system comes round to activating the
        // window, the find dialog opens over it and closes, and the window is
        // activated once more: none of that uploads again. (The offscreen
        // platform sends no notice to a window that a closed dialog returns
        // to: the test sends the one Qt delivers from a window system.)
        w_->EHora->SetText(QStringLiteral("08:00:00"));
        windowSystem.reset();
        ShowGridFindDialog(*results.DBGridEh2, QString(), true);
        QEvent activated(QEvent::WindowActivate);
        QApplication::sendEvent(results.Widget(), &activated);
        shownAfterFind = codes();
        // The navigator stays disabled with the rows on view: a click moves nothing.
        ASSERT_TRUE(results.CArticulos->Eof());
        ExpectDisabledButtons(*results.DBNavigator2);
        QTest::mouseClick(results.DBNavigator2->Widget(), Qt::LeftButton, {},
                          results.DBNavigator2->ButtonRect(nbFirst).center());
        EXPECT_TRUE(results.CArticulos->Eof());
        QTest::mouseClick(results.PngSpeedButton1->Widget(), Qt::LeftButton);
    };
    Key(Qt::Key_F5);

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(modals_.shown, (std::vector<QString>{"Tfactarticulos", "TDBGridEhFindDlg"}));
    EXPECT_EQ(shownFirst, QStringList{"A1"});
    EXPECT_EQ(stampFirst, (QStringList{"2020-04-23", "14:05:09"}));
    EXPECT_EQ(shownAfterFind, QStringList{"A1"});
    EXPECT_EQ(Catalog("ARTI_COD"), std::vector<QStringList>{{"A1"}});
    EXPECT_EQ(Stamp(), stampFirst);
}

} // namespace
