// The upload run of the results window, from F5 in the login window to the
// rows of the catalog, the photograph files, the company's stamp, the error
// log and the boxes shown, on real databases and real files.

#include "platform/system/format_settings.h"
#include "tests/forms/upload_fixture.h"
#include "tests/imaging/support/test_images.h"
#include "tests/imaging/support/test_jpeg_writer.h"

#include <QRandomGenerator>

namespace {

const QString kRunError = QStringLiteral("Se presento el siguiente error: ");

QByteArray Jpeg() {
    return WriteTestJpeg(TestPattern(64, 48));
}
QByteArray Png() {
    return PngFile(Solid(8, 8, qRgb(200, 0, 0)));
}
QByteArray RandomBytes(int size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(7);
    for (char& b : bytes)
        b = static_cast<char>(generator.bounded(256));
    return bytes;
}

QString Address(const QString& name) {
    return QStringLiteral("http://www.trevola.invalid/trevola/imgarti/") + name;
}

using UploadRun = UploadFixture;

TEST_F(UploadRun, ChangedArticlesAreInsertedOrUpdatedInPlaceWithTheirPhotographs) {
    // The catalog also has a price column: the run never writes it.
    catalog_.Db().Run(
        "alter table ARTICULOS add PRECIO numeric(15,2);"
        "insert into ARTICULOS (ARTI_COD, ARTI_DES, ARTI_UNIDAD, CATE_ID, SUCA_ID, ARTI_FOTO, "
        "ARTI_ACTIVO) values ('A1', 'Viejo', 'CJA', 9, 90, 'http://antes/a1.jpg', 'N');");
    const QByteArray jpeg = Jpeg();
    AddArticle({.code = "A1", .description = "Tornillo", .categ = 2, .subcateg = 20});
    AddArticle({.code = "B2", .description = "Tuerca", .unit = "KG", .photo = jpeg});
    AddArticle({.code = "C3", .description = "Arandela", .categ = -3, .subcateg = 32767});
    AddArticle({.code = "Z9", .changed = QDateTime(QDate(2020, 4, 23), QTime(14, 5, 8))});
    Login();

    const ResultsSeen seen = Upload();

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_TRUE(seen.shown);
    EXPECT_FALSE(seen.panel2Visible);
    EXPECT_FALSE(seen.imageVisible);
    EXPECT_EQ(seen.codes, (QStringList{"A1", "B2", "C3"}));
    EXPECT_EQ(seen.gridRows, 3);
    EXPECT_TRUE(seen.articlesEof);
    EXPECT_FALSE(seen.articlesActiveAfterClose);
    // A1 keeps its row and its photograph's address; B2 and C3 get rows of their own.
    EXPECT_EQ(Catalog(), (std::vector<QStringList>{
                             {"A1", "Tornillo", "PZA", "2", "20", "http://antes/a1.jpg", "S"},
                             {"B2", "Tuerca", "KG", "1", "10", Address("1-B2.jpg"), "S"},
                             {"C3", "Arandela", "PZA", "-3", "32767", QString(), "S"}}));
    EXPECT_EQ(Catalog("PRECIO"), (std::vector<QStringList>{{QString()}, {QString()}, {QString()}}));
    EXPECT_EQ(PhotoFiles(), QStringList{"1-B2.jpg"});
    EXPECT_EQ(PhotoBytes("1-B2.jpg"), jpeg);
    EXPECT_EQ(Stamp(), (QStringList{"2020-04-23", "14:05:09"}));
    EXPECT_EQ(settings_.ErrorLog(), QByteArray());
    // Closing the results window ended the program.
    EXPECT_EQ(modals_.shown, std::vector<QString>{"Tfactarticulos"});
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(UploadRun, WithNoArticleChangedTheGridIsEmptyAndTheBoundUsedIsStamped) {
    AddArticle({.code = "A1", .photo = Jpeg()});
    Login();
    // The user moves the bound past every change before pressing F5.
    w_->EFecIni->SetDate(EncodeDate(2020, 6, 1));
    w_->EHora->SetText("08:00:00");

    const ResultsSeen seen = Upload(CloseBy::CloseBox);

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_TRUE(seen.articlesActive);
    EXPECT_TRUE(seen.codes.isEmpty());
    EXPECT_EQ(seen.gridRows, 0);
    EXPECT_FALSE(seen.panel2Visible);
    EXPECT_FALSE(seen.articlesActiveAfterClose);
    EXPECT_TRUE(Catalog().empty());
    EXPECT_TRUE(PhotoFiles().isEmpty());
    EXPECT_EQ(Stamp(), (QStringList{"2020-06-01", "08:00:00"}));
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(UploadRun, PhotographFilesHoldTheBlobsByteForByteAndReplaceOldFilesWhole) {
    const std::pair<const char*, QByteArray> photos[] = {
        {"JPEG", Jpeg()},
        {"PNG", Png()},
        {"RANDOM", RandomBytes(30000)},
        {"TWO", QByteArray("\xFF\xD8", 2)},
    };
    for (const auto& [code, bytes] : photos)
        AddArticle({.code = code, .photo = bytes});
    // An older, longer photograph of the PNG article is replaced, not overwritten in part.
    LoginSettings::WriteFile(WebFolder() + "/1-PNG.jpg", RandomBytes(100000));
    Login();

    Upload();

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(PhotoFiles(), (QStringList{"1-JPEG.jpg", "1-PNG.jpg", "1-RANDOM.jpg", "1-TWO.jpg"}));
    for (const auto& [code, bytes] : photos) {
        SCOPED_TRACE(code);
        EXPECT_EQ(PhotoBytes(QStringLiteral("1-%1.jpg").arg(code)), bytes);
    }
}

TEST_F(UploadRun, PhotographsAreAddressedOnTheBaseAddressOfTheSettings) {
    settings_.WriteSettings("Directorio = " + settings_.AppDir().toLocal8Bit() +
                            "\nURLBase = https://fotos.example.test/\n[Drives]\nC = " +
                            settings_.DriveC().toLocal8Bit() + "\n");
    AddArticle({.code = "B 2", .photo = Jpeg()});
    Login();

    Upload();

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(Catalog("ARTI_COD, cast(ARTI_FOTO as varchar(200))"),
              (std::vector<QStringList>{
                  {"B 2", "https://fotos.example.test/trevola/imgarti/1-B%202.jpg"}}));
    EXPECT_EQ(PhotoFiles(), QStringList{"1-B 2.jpg"});
}

TEST_F(UploadRun, ABadBaseAddressStopsTheRunBeforeAnythingIsWritten) {
    AddArticle({.code = "A1", .photo = Jpeg()});
    Login();
    // Changed after the login window read it.
    settings_.WriteSettings(
        "Directorio = " + settings_.AppDir().toLocal8Bit() +
        "\nURLBase = www.example.test\n[Drives]\nC = " + settings_.DriveC().toLocal8Bit() + "\n");

    const ResultsSeen seen = Upload();

    EXPECT_EQ(BoxTexts(), QStringList{kRunError + "El valor URLBase no es una dirección de "
                                                  "servidor válida (http://servidor o "
                                                  "https://servidor): \"www.example.test\""});
    EXPECT_FALSE(seen.articlesActive);
    EXPECT_TRUE(Catalog().empty());
    EXPECT_TRUE(PhotoFiles().isEmpty());
    EXPECT_EQ(Stamp(), (QStringList{"2020-04-23", "14:05:09"}));
}

TEST_F(UploadRun, AMissingWebFolderStopsTheRunAtThePhotographWithoutAStamp) {
    AddArticle({.code = "A1"});
    AddArticle({.code = "B2", .photo = Jpeg()});
    AddArticle({.code = "C3"});
    ASSERT_TRUE(QDir(WebFolder()).removeRecursively());
    Login();
    w_->EHora->SetText("15:00:00");

    const ResultsSeen seen = Upload();

    const QString message = QStringLiteral("Cannot create file \"c:\\wamp\\www\\trevola\\imgarti\\"
                                           "1-B2.jpg\". No such file or directory");
    EXPECT_EQ(BoxTexts(), QStringList{kRunError + message});
    EXPECT_TRUE(settings_.ErrorLog().contains(",," + message.toLatin1() + "\r\n"))
        << settings_.ErrorLog().toStdString();
    EXPECT_TRUE(seen.panel2Visible);
    EXPECT_EQ(seen.panel2Caption, "Exportando imagen articulo B2...");
    // The rows read stay on view; B2 was written before its photograph.
    EXPECT_EQ(seen.codes, (QStringList{"A1", "B2", "C3"}));
    EXPECT_FALSE(seen.articlesEof);
    EXPECT_EQ(Catalog("ARTI_COD"), (std::vector<QStringList>{{"A1"}, {"B2"}}));
    EXPECT_EQ(Stamp(), (QStringList{"2020-04-23", "14:05:09"}));
}

TEST_F(UploadRun, ACategoryOutsideSixteenBitsStopsTheRunKeepingTheArticlesBefore) {
    AddArticle({.code = "A1", .photo = Jpeg()});
    AddArticle({.code = "B2", .categ = 40000, .photo = Jpeg()});
    AddArticle({.code = "C3"});
    Login();
    w_->EHora->SetText("15:00:00");

    const ResultsSeen seen = Upload();

    EXPECT_EQ(BoxTexts(),
              QStringList{kRunError + "40000 is not a valid value for field 'CATE_ID'. The allowed "
                                      "range is -32768 to 32767"});
    EXPECT_TRUE(seen.panel2Visible);
    EXPECT_EQ(seen.panel2Caption, "Actualizando articulo B2...");
    EXPECT_EQ(Catalog("ARTI_COD"), std::vector<QStringList>{{"A1"}});
    EXPECT_EQ(PhotoFiles(), QStringList{"1-A1.jpg"});
    EXPECT_EQ(Stamp(), (QStringList{"2020-04-23", "14:05:09"}));
}

TEST_F(UploadRun, ACodeThatCannotNameAFileStopsTheRunBeforeItsArticleIsWritten) {
    AddArticle({.code = "A1", .photo = Jpeg()});
    AddArticle({.code = "B/1"}); // no photograph, so no file named after it
    AddArticle({.code = "B/2", .photo = Jpeg()});
    AddArticle({.code = "C3", .photo = Jpeg()});
    Login();

    const ResultsSeen seen = Upload();

    const QString message =
        QStringLiteral("El código de artículo no sirve como nombre de archivo: \"B/2\"");
    EXPECT_EQ(BoxTexts(), QStringList{kRunError + message});
    EXPECT_TRUE(settings_.ErrorLog().contains(",," + message.toLatin1() + "\r\n"));
    EXPECT_TRUE(seen.panel2Visible);
    EXPECT_EQ(seen.panel2Caption, "Actualizando articulo B/2...");
    EXPECT_EQ(Catalog("ARTI_COD"), (std::vector<QStringList>{{"A1"}, {"B/1"}}));
    EXPECT_EQ(PhotoFiles(), QStringList{"1-A1.jpg"});
    EXPECT_TRUE(QDir(settings_.DriveC()).entryList({"*B*"}, QDir::Files).isEmpty());
    EXPECT_EQ(Stamp(), (QStringList{"2020-04-23", "14:05:09"}));
}

TEST_F(UploadRun, ACompanyTextThatIsNoNumberStopsTheRunBeforeAnythingIsSent) {
    AddArticle({.code = "A1", .photo = Jpeg()});
    Login();
    // Typed after connecting, without leaving the box.
    w_->Cia->SetText("1 OR 1=1");

    const ResultsSeen seen = Upload();

    EXPECT_EQ(BoxTexts(),
              QStringList{kRunError + "El número de compañía no es válido: \"1 OR 1=1\""});
    EXPECT_TRUE(seen.panel2Visible);
    EXPECT_EQ(seen.panel2Caption, "Subiendo articulo ...");
    EXPECT_FALSE(seen.articlesActive);
    EXPECT_FALSE(fdmqb->Dorvan->Connected());
    EXPECT_TRUE(Catalog().empty());
    EXPECT_TRUE(PhotoFiles().isEmpty());
    EXPECT_EQ(catalog_.Db().Query("select COMP_ID, COMP_FECACT, COMP_HORACT from COMPANIA"),
              (std::vector<QStringList>{{"1", "2020-04-23", "14:05:09"}}));
}

TEST_F(UploadRun, ArticlesTheCatalogRefusesAreLoggedOneLineEachAndTheRunGoesOn) {
    catalog_.Db().Run(
        "alter table ARTICULOS add constraint UNIDAD_CONOCIDA check (ARTI_UNIDAD <> 'MAL');"
        "insert into ARTICULOS (ARTI_COD, ARTI_DES, ARTI_UNIDAD, ARTI_ACTIVO) "
        "values ('D4', 'Antes', 'PZA', 'S');");
    AddArticle({.code = "A1", .photo = Jpeg()});
    AddArticle({.code = "B2", .unit = "MAL"}); // a new article refused
    AddArticle({.code = "C3", .photo = Jpeg()});
    AddArticle({.code = "D4", .unit = "MAL"}); // an update refused
    Login();
    w_->EHora->SetText("15:00:00");

    const ResultsSeen seen = Upload();

    EXPECT_EQ(BoxTexts(), QStringList{"No se pudieron subir 2 artículos; el detalle está en "
                                      "ERRORES.TXT"});
    EXPECT_FALSE(seen.panel2Visible);
    EXPECT_EQ(Catalog("ARTI_COD, ARTI_DES, ARTI_UNIDAD"),
              (std::vector<QStringList>{
                  {"A1", "Artículo", "PZA"}, {"C3", "Artículo", "PZA"}, {"D4", "Antes", "PZA"}}));
    EXPECT_EQ(PhotoFiles(), (QStringList{"1-A1.jpg", "1-C3.jpg"}));
    EXPECT_EQ(Stamp(), (QStringList{"2020-04-23", "15:00:00"}));

    const QStringList lines =
        QString::fromLatin1(settings_.ErrorLog()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << settings_.ErrorLog().toStdString();
    const std::pair<const char*, int> refused[] = {{"B2", 0}, {"D4", 1}};
    for (const auto& [code, at] : refused) {
        SCOPED_TRACE(code);
        const QString& line = lines[at];
        // Date, time, the empty user, then the code and the server's own words.
        EXPECT_EQ(line.section(',', 2, 2), QString());
        EXPECT_TRUE(line.section(',', 3).startsWith(
            QStringLiteral("No se pudo subir el art\u00edculo \"%1\": ").arg(code)))
            << line.toStdString();
        EXPECT_TRUE(line.contains("CHECK constraint UNIDAD_CONOCIDA")) << line.toStdString();
        EXPECT_FALSE(line.contains('\n') || line.contains('\r'));
    }
}

TEST_F(UploadRun, OneRefusedArticleIsOneLineEvenWithLineBreaksInItsCode) {
    catalog_.Db().Run(
        "alter table ARTICULOS add constraint UNIDAD_CONOCIDA check (ARTI_UNIDAD <> 'MAL');");
    AddArticle({.code = "A1", .photo = Jpeg()});
    AddArticle({.code = "E\r\n5\n", .unit = "MAL"});
    Login();

    Upload();

    EXPECT_EQ(BoxTexts(),
              QStringList{"No se pudo subir 1 artículo; el detalle está en ERRORES.TXT"});
    EXPECT_EQ(Catalog("ARTI_COD"), std::vector<QStringList>{{"A1"}});
    const QByteArray log = settings_.ErrorLog();
    ASSERT_TRUE(log.endsWith("\r\n")) << log.toStdString();
    EXPECT_EQ(log.count("\r\n"), 1) << log.toStdString();
    EXPECT_EQ(log.count('\n'), 1) << log.toStdString();
    EXPECT_EQ(log.count('\r'), 1) << log.toStdString();
    EXPECT_TRUE(QString::fromLatin1(log).contains(
        QStringLiteral(",,No se pudo subir el art\u00edculo \"E 5 \": ")))
        << log.toStdString();
}

TEST_F(UploadRun, InSpanishMexicoTheProcedureGetsDayFirstAndTheStampAnUnambiguousDate) {
    LoadFromLocale(QLocale(QLocale::Spanish, QLocale::Mexico));
    struct RestoreLocale {
        ~RestoreLocale() { LoadFromLocale(QLocale::system()); }
    } restore;
    ASSERT_EQ(FormatSettings().ShortDateFormat, "dd/MM/yyyy");
    erp_.Run("update CONFIGURACION set ORDEN_FECHA = 'DMY';");
    // Read as 4 May, the bound would skip both.
    AddArticle({.code = "A1", .changed = QDateTime(QDate(2020, 4, 5), QTime(12, 0))});
    AddArticle({.code = "B2", .changed = QDateTime(QDate(2020, 4, 20), QTime(9, 0))});
    AddArticle({.code = "Z9", .changed = QDateTime(QDate(2020, 4, 5), QTime(9, 59, 59))});
    Login();
    w_->EFecIni->SetDate(EncodeDate(2020, 4, 5));
    w_->EHora->SetText("10:00:00");

    const ResultsSeen seen = Upload();

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(seen.codes, (QStringList{"A1", "B2"}));
    EXPECT_EQ(Stamp(), (QStringList{"2020-04-05", "10:00:00"}));
}

TEST_F(UploadRun, AnEmptyTimeBoxGoesAsItsBlankFormIntoBothStatements) {
    // A procedure that hands back the texts it was given, as each article's
    // description: the ERP's own reads an empty time and a blank one alike.
    erp_.Run(QStringLiteral(
        "SET TERM ^ ;"
        "ALTER PROCEDURE ARTICULOS_MIQUELBO (FECHA VARCHAR(30), HORA VARCHAR(30))"
        " RETURNS (CODIGO VARCHAR(20), DESCRIPCION VARCHAR(60), UNIDAD VARCHAR(8),"
        " CATEG INTEGER, SUBCATEG INTEGER, PRECIO NUMERIC(15,2), FOTO BLOB SUB_TYPE 0,"
        " ACTIVO CHAR(1))"
        " AS BEGIN"
        "  FOR SELECT CODIGO, '[' || :FECHA || '|' || :HORA || ']', UNIDAD, CATEG, SUBCATEG,"
        "   PRECIO, FOTO, ACTIVO FROM ARTICULOS_ERP ORDER BY CODIGO"
        "   INTO :CODIGO, :DESCRIPCION, :UNIDAD, :CATEG, :SUBCATEG, :PRECIO, :FOTO, :ACTIVO"
        "  DO SUSPEND;"
        " END^"
        "SET TERM ; ^"));
    catalog_.Db().Run("insert into COMPANIA values (3, '2020-04-23', null);");
    AddArticle({.code = "A1"});
    Login("3");
    ASSERT_EQ(w_->EHora->Text(), "  :  :  ");

    Upload();

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(Catalog("ARTI_COD, ARTI_DES"),
              (std::vector<QStringList>{{"A1", "[04/23/2020|  :  :  ]"}}));
    EXPECT_EQ(Stamp(3), (QStringList{"2020-04-23", "  :  :  "}));
}

TEST_F(UploadRun, ACompanyWithoutAStampUploadsEveryArticle) {
    AddArticle({.code = "A1", .changed = QDateTime(QDate(1990, 1, 1), QTime(0, 0))});
    AddArticle({.code = "B2"});
    Login("2");
    ASSERT_EQ(w_->EFecIni->Date().ToQDate(), QDate(1899, 12, 30));

    const ResultsSeen seen = Upload();

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(seen.codes, (QStringList{"A1", "B2"}));
    EXPECT_EQ(Catalog("ARTI_COD"), (std::vector<QStringList>{{"A1"}, {"B2"}}));
    // The stamp finds no row of company 2 and changes none.
    EXPECT_EQ(catalog_.Db().Query("select COMP_ID from COMPANIA"), std::vector<QStringList>{{"1"}});
}

} // namespace
