#include "data/errors/error_translation.h"

#include <gtest/gtest.h>

namespace {

using Kind = TErrorSource::Kind;

struct Case {
    const char* title;
    Kind kind;
    const char* message;
    const char* expected;
};

// Names a case in test listings.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.title;
}

TErrorSource SourceFor(Kind kind) {
    TErrorSource source;
    source.kind = kind;
    source.providerDataSetName = QStringLiteral("TArticulo");
    source.fields = {{"ARTI_COD", true, false},
                     {"ARTI_DES", true, true},
                     {"ARTI_UNIDAD", false, true},
                     {"ARTI_ACTIVO", true, true}};
    source.indexFieldNames = {"ARTI_COD", "ARTI_DES"};
    return source;
}

class Translation : public testing::TestWithParam<Case> {};

TEST_P(Translation, GivesTheTextOfItsRule) {
    const Case& c = GetParam();
    EXPECT_EQ(TranslateErrorMessage(QString::fromUtf8(c.message), SourceFor(c.kind)),
              QString::fromUtf8(c.expected));
}

const char* const kConnect = "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: ";

INSTANTIATE_TEST_SUITE_P(
    Rules, Translation,
    testing::Values(
        // Provider update errors: 20 characters from position 19.
        Case{"primary", Kind::ProviderUpdate,
             "SQL Server Error: violation of PRIMARY or UNIQUE KEY constraint \"INTEG_2\"",
             "Ya existe el registro en la tabla Articulo"},
        Case{"foreign", Kind::ProviderUpdate,
             "SQL Server Error: violation of FOREIGN KEY constraint \"FK_1\"",
             "Está borrando o insertando un registro en la tabla Articulo que tiene una relación "
             "con otra tabla."},
        Case{"other update error", Kind::ProviderUpdate,
             "Record not found or changed by another user",
             "Record not found or changed by another user"},
        Case{"shifted by a first line", Kind::ProviderUpdate,
             "SQLDriver Error: x\r\nSQL Server Error: violation of PRIMARY",
             "SQLDriver Error: x\r\nSQL Server Error: violation of PRIMARY"},
        // Client dataset errors.
        Case{"master record", Kind::ClientDataSet, "Cannot delete master record with details",
             "Error. Borre antes los detalles dependientes del registro."},
        Case{"required fields", Kind::ClientDataSet, "Field 'ARTI_DES' must have a value",
             "Los campos ARTI_DES, ARTI_ACTIVO,  son obligatorios."},
        Case{"key", Kind::ClientDataSet, "key violation.",
             "Ya existe un registro con el mismo ARTI_COD ARTI_DES "},
        Case{"Key with a capital K", Kind::ClientDataSet, "Key violation.", "Key violation."},
        Case{"other client error", Kind::ClientDataSet, "Dataset not in edit or insert mode",
             "Dataset not in edit or insert mode"},
        Case{"shorter than the positions read", Kind::ClientDataSet, "Fi", "Fi"},
        // Exceptions that no handler caught.
        Case{"not from the driver", Kind::Application, "Cannot create file \"c:\\x.jpg\"",
             "Se presento el siguiente error: Cannot create file \"c:\\x.jpg\""},
        Case{"SQLDriver not at the very start", Kind::Application,
             " SQLDriver Error: [0x0015]: Connection failed",
             "Se presento el siguiente error:  SQLDriver Error: [0x0015]: Connection failed"},
        Case{
            "login refused", Kind::Application,
            "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: Your user name and "
            "password are not defined. Ask your database administrator to set up a Firebird login.",
            "El nombre de Usuario o la clave son incorrectas."},
        Case{"file not found", Kind::Application,
             "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: I/O error for file "
             "\"C:\\TREVOLA\\QUELBO.FDB\"",
             "No se encontró el archivo o la ruta C:\\TREVOLA\\QUELBO.FDB"},
        Case{"file not found, Firebird 3 wording", Kind::Application,
             "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: I/O error during "
             "\"open\" operation for file \"/srv/x/quelbo.fdb\"\r\nError while trying to open file",
             "No se encontró el archivo o la ruta /srv/x/quelbo.fdb"},
        Case{"unknown host", Kind::Application,
             "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: Unable to complete "
             "network request to host \"nohost.invalid\".\r\nFailed to locate host machine.",
             "No se encontró el equipo servidor con nombre nohost.invalid"},
        Case{"network error without quotes", Kind::Application,
             "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: Unable to complete "
             "network request to host",
             "No se encontró el equipo servidor con nombre "},
        Case{
            "server not running", Kind::Application,
            "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: connection refused",
            "No se encontró el servidor Interbase/Firebird. Verifique Servidor en panel de control "
            "y puerto TCP 3050."},
        Case{"other driver error", Kind::Application, "SQLDriver Error: Unknown Error Code '99'",
             "Se presento el siguiente error: SQLDriver Error: Unknown Error Code '99'"}),
    [](const testing::TestParamInfo<Case>& info) {
        std::string name;
        for (const char* p = info.param.title; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(Translation, NoRequiredFieldNullLeavesTwoBlanks) {
    TErrorSource source;
    source.kind = Kind::ClientDataSet;
    source.fields = {{"A", true, false}, {"B", false, true}};
    EXPECT_EQ(TranslateErrorMessage("Field 'A' must have a value", source),
              "Los campos  son obligatorios.");
}

TEST(Translation, AProviderDataSetWithOnlyItsPrefixGivesAnEmptyTable) {
    TErrorSource source;
    source.kind = Kind::ProviderUpdate;
    source.providerDataSetName = "Q";
    EXPECT_EQ(TranslateErrorMessage("SQL Server Error: violation of PRIMARY", source),
              "Ya existe el registro en la tabla ");
}

TEST(Translation, QuotedNameNeedsTwoQuotes) {
    EXPECT_EQ(QuotedName("a \"b\" \"c\""), "b");
    EXPECT_EQ(QuotedName("only \"one"), "");
    EXPECT_EQ(QuotedName("none"), "");
    EXPECT_EQ(QuotedName("\"\""), "");
    const QString m = "operation for file \"x\"";
    EXPECT_EQ(QuotedName(m, m.indexOf("for file")), "x");
}

} // namespace
