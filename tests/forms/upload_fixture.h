#pragma once
// The whole program in one process for an upload: the login window and the
// data module on settings of their own, a fresh catalog database (company 1
// stamped 23 April 2020, 14:05:09) and a fresh ERP database that the data
// module's local connection is pointed at, and the web folder on the drive
// C of the settings. The test connects as a person would, fills the ERP,
// presses F5, and looks at the results window before it is closed.

#include "controls/dbimage/edb_image.h"
#include "controls/pngbutton/png_speed_button.h"
#include "controls/timeedit/db_date_time_edit_eh.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/driver/cursor.h"
#include "data/driver/statement.h"
#include "grid/dbgrideh.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/edit.h"
#include "platform/ui/panel.h"
#include "tests/forms/catalog_database.h"
#include "tests/forms/login_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <clocale>
#include <optional>

// One row of the ERP's articles.
struct ErpArticle {
    QString code;
    QString description = QStringLiteral("Artículo");
    QString unit = QStringLiteral("PZA");
    qint32 categ = 1;
    qint32 subcateg = 10;
    qint64 priceCents = 150;
    std::optional<QByteArray> photo = std::nullopt;
    // When it last changed; after the catalog's stamp unless set.
    QDateTime changed = QDateTime(QDate(2020, 5, 1), QTime(10, 0));
};

// What the results window showed once its activation (the upload) was over.
struct ResultsSeen {
    bool shown = false;
    bool panel2Visible = false;
    QString panel2Caption;
    bool articlesActive = false;
    QStringList codes; // the rows of CArticulos, in order
    int gridRows = -1; // the rows the grid shows
    bool articlesEof = false;
    bool imageVisible = true;
    // After the window was closed.
    bool articlesActiveAfterClose = true;
};

// How the test closes the results window.
enum class CloseBy { Salir, CloseBox };

class UploadFixture : public LoginFixture {
protected:
    void SetUp() override {
        // The system's error texts in English, whatever the machine's language.
        std::setlocale(LC_MESSAGES, "C");
        erp_.RunFixture(QStringLiteral("dorvan.sql"));
        QDir().mkpath(WebFolder());
        settings_.WriteServerList(catalog_.ServerLine().toLocal8Bit() + "\r\n");
        Create();
        fdmqb->Dorvan->SetParamValue(QStringLiteral("Database"), erp_.Database());
        ShowWindow();
    }

    // Types user, password and company and leaves the company box.
    void Login(const QString& company = QStringLiteral("1")) {
        w_->Tusua->SetText(TestDatabase::User());
        w_->TClave->SetText(TestDatabase::Password());
        w_->Cia->SetText(company);
        w_->Cia->SetFocus();
        Key(Qt::Key_Tab);
        ASSERT_TRUE(w_->SpeedButton1->Enabled()) << "the connection failed";
    }

    void AddArticle(const ErpArticle& a) {
        const auto insert = erp_.Connection().Prepare(
            QStringLiteral("insert into ARTICULOS_ERP (CODIGO, DESCRIPCION, UNIDAD, CATEG, "
                           "SUBCATEG, PRECIO, FOTO, ACTIVO, CAMBIO) values (?, ?, ?, ?, ?, ?, ?, "
                           "'S', ?)"));
        insert->SetText(0, a.code);
        insert->SetText(1, a.description);
        insert->SetText(2, a.unit);
        insert->SetInt32(3, a.categ);
        insert->SetInt32(4, a.subcateg);
        insert->SetDecimal(5, a.priceCents, 2);
        if (a.photo)
            insert->SetBlob(6, *a.photo);
        else
            insert->SetNull(6, Driver::DataType::Blob);
        insert->SetTimestamp(7, a.changed);
        insert->Execute();
    }

    // F5 where the focus is: the results window runs the upload, the test
    // looks at it, and "Salir" closes it (and so the login window).
    ResultsSeen Upload(CloseBy closeBy = CloseBy::Salir) {
        ResultsSeen seen;
        modals_.answer = [&](TForm& form) {
            auto& results = dynamic_cast<Tfactarticulos&>(form);
            seen.shown = form.Widget()->isVisible();
            seen.panel2Visible = results.Panel2->Visible();
            seen.panel2Caption = results.Panel2->Caption();
            seen.articlesActive = results.CArticulos->Active();
            if (seen.articlesActive) {
                seen.articlesEof = results.CArticulos->Eof();
                for (int r = 1; r <= results.CArticulos->RecordCount(); ++r)
                    seen.codes << results.CArticulos->FieldValueAt(*results.CArticulosCODIGO, r)
                                      .AsString();
            }
            seen.imageVisible = results.EDBImage1->Widget()->isVisible();
            seen.gridRows = results.DBGridEh2->Rows().Count();
            if (closeBy == CloseBy::Salir)
                QTest::mouseClick(results.PngSpeedButton1->Widget(), Qt::LeftButton);
            else
                results.Widget()->close();
            seen.articlesActiveAfterClose = results.CArticulos->Active();
        };
        Key(Qt::Key_F5);
        return seen;
    }

    // The message boxes shown, in order.
    QStringList BoxTexts() const {
        QStringList texts;
        for (const auto& box : boxes_.boxes)
            texts << box.text;
        return texts;
    }

    std::vector<QStringList> Catalog(const QString& columns = QStringLiteral(
                                         "ARTI_COD, ARTI_DES, ARTI_UNIDAD, CATE_ID, SUCA_ID, "
                                         "cast(ARTI_FOTO as varchar(200)), ARTI_ACTIVO")) {
        return catalog_.Db().Query(QStringLiteral("select ") + columns +
                                   QStringLiteral(" from ARTICULOS order by ARTI_COD"));
    }
    QStringList Stamp(int company = 1) {
        const auto rows = catalog_.Db().Query(
            QStringLiteral("select COMP_FECACT, COMP_HORACT from COMPANIA where COMP_ID = %1")
                .arg(company));
        return rows.empty() ? QStringList() : rows[0];
    }

    QString WebFolder() const {
        return settings_.DriveC() + QStringLiteral("/wamp/www/trevola/imgarti");
    }
    // The files in the web folder, by name.
    QStringList PhotoFiles() const { return QDir(WebFolder()).entryList(QDir::Files, QDir::Name); }
    QByteArray PhotoBytes(const QString& name) const {
        QFile file(WebFolder() + u'/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    CatalogDatabase catalog_;
    TestDatabase erp_{QStringLiteral("erp")};
};
