#pragma once
// A window-like owner holding what the results window holds for its
// photographs: a query on a fresh Firebird database with a table of blobs,
// the provider and client dataset that read it, the data source, and the
// image control bound to the blob field, read from a form description.

#include "controls/dbimage/edb_image.h"
#include "controls/dbimage/register_edb_image.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/client/register_client_classes.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/field.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "data/driver/cursor.h"
#include "data/driver/statement.h"
#include "platform/formfile/form_reader.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>
#include <optional>

class DbImageTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClientClasses();
        RegisterEDBImageClass();
        // The system's error texts in English, whatever the machine's language.
        std::setlocale(LC_MESSAGES, "C");
        ASSERT_TRUE(dir_.isValid());
        db_.Run(QStringLiteral("create table FOTOS (ID integer not null primary key,"
                               " NOMBRE varchar(20), FOTO blob sub_type 0)"));
        auto* conn = new TSQLConnection(&window_);
        conn->SetName(QStringLiteral("Dorvan"));
        conn->SetLoginPrompt(false);
        conn->SetParams(db_.ConnectionParams());
        auto* query = new TSQLQuery(&window_);
        query->SetName(QStringLiteral("QArticulos"));
        query->SetSQLConnection(conn);
        query->SetSQLText(QStringLiteral("select ID, NOMBRE, FOTO from FOTOS order by ID"));
    }

    // One row; no photo gives a null blob.
    void Insert(int id, const std::optional<QByteArray>& photo) {
        const auto stmt = db_.Connection().Prepare(
            QStringLiteral("insert into FOTOS (ID, NOMBRE, FOTO) values (?, ?, ?)"));
        stmt->SetInt32(0, id);
        stmt->SetText(1, QStringLiteral("Foto %1").arg(id));
        if (photo)
            stmt->SetBlob(2, *photo);
        else
            stmt->SetNull(2, Driver::DataType::Blob);
        stmt->Execute();
    }

    // Reads provider, client dataset, data source and image control;
    // `imageLines` adds properties to the control (indented by 4).
    void ReadWindow(const QString& imageLines = {}, const THandlerTable& handlers = {}) {
        ReadComponentText(window_, handlers, QStringLiteral(R"(TComponent factarticulos
  TDataSetProvider PArticulos
    DataSet = QArticulos
  TClientDataSet CArticulos
    ProviderName = "PArticulos"
  TDataSource DArticulos
    DataSet = CArticulos
  TEDBImage EDBImage1
    DataField = "FOTO"
    DataSource = DArticulos
    Visible = False
    ZoomToFit = False
)") + imageLines,
                          QStringLiteral("test.form"));
        cds_ = ComponentAs<TClientDataSet>(window_.FindComponent(u"CArticulos"));
        source_ = ComponentAs<TDataSource>(window_.FindComponent(u"DArticulos"));
        image_ = ComponentAs<TEDBImage>(window_.FindComponent(u"EDBImage1"));
        ASSERT_TRUE(cds_ && source_ && image_);
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QStringList Files() const {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
    // The file's bytes; none when there is no such file.
    static std::optional<QByteArray> Read(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }
    // The class of the picture's graphic; empty without one.
    QString GraphicClass() const {
        const TGraphic* graphic = image_->Picture().Graphic();
        return graphic ? graphic->ClassName() : QString();
    }

    TestDatabase db_{QStringLiteral("dbimage")};
    QTemporaryDir dir_;
    TComponent window_;
    TClientDataSet* cds_ = nullptr;
    TDataSource* source_ = nullptr;
    TEDBImage* image_ = nullptr;
};
