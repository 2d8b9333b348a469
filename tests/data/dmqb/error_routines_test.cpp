#include "data/dataset/clientdataset.h"
#include "data/dataset/dataset_provider.h"
#include "data/dataset/sqlconnection.h"
#include "data/dataset/sqlquery.h"
#include "data/dmqb.h"
#include "platform/system/ansi.h"
#include "platform/system/datetime.h"
#include "platform/system/format_settings.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ErrorRoutines : public testing::Test {
protected:
    void SetUp() override {
        LoadFromLocale(QLocale(QLocale::Spanish, QLocale::Spain));
        Application->CreateForm(fdmqb);
        fdmqb->DirErrores = dir_.path();
    }
    void TearDown() override {
        delete fdmqb;
        fdmqb = nullptr;
        Application->OnException = nullptr;
        LoadFromLocale(QLocale::system());
    }

    QString Log() const {
        QFile f(dir_.filePath("ERRORES.TXT"));
        return f.open(QIODevice::ReadOnly) ? FromAnsi(f.readAll()) : QString();
    }
    // Opens Quelbo as the login window does, through the dispatcher, so that
    // a failure takes the path of every uncaught exception.
    void Connect(const QString& database, const QString& user, const QString& password) {
        TSQLConnection* quelbo = fdmqb->Quelbo;
        quelbo->SetParamValue("Database", database);
        quelbo->SetParamValue("User_Name", user);
        quelbo->SetParamValue("password", password);
        Application->Dispatch(nullptr, [&] { quelbo->Open(); });
    }

    QTemporaryDir dir_;
    TRecordingAnswerer boxes_;
    TFixedClock clock_{EncodeDateTime(2020, 4, 23, 14, 5, 9, 0)};
};

struct ConnectCase {
    const char* title;
    QString database;
    QString password;
    QString serverWords; // a part of the raw message
    QString shown;
};

void PrintTo(const ConnectCase& c, std::ostream* os) {
    *os << c.title;
}

class RefusedConnections : public ErrorRoutines, public testing::WithParamInterface<ConnectCase> {};

TEST_P(RefusedConnections, LogTheRawMessageAndShowTheSpanishText) {
    const ConnectCase& c = GetParam();
    TestDatabase db;
    const QString database = c.database.isEmpty() ? db.Database() : c.database;
    Connect(database, TestDatabase::User(), c.password);

    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, c.shown);
    EXPECT_EQ(boxes_.boxes[0].caption, "Error");
    EXPECT_EQ(boxes_.boxes[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(boxes_.boxes[0].buttons, QStringList{"OK"});
    EXPECT_EQ(boxes_.beeps, 1);

    const QString log = Log();
    EXPECT_TRUE(
        log.startsWith("23/4/2020,14:05:09,,SQLDriver Error: [0x0015]: Connection failed\r\n"
                       "SQL Server Error: "))
        << log.toStdString();
    EXPECT_TRUE(log.contains(c.serverWords)) << log.toStdString();
    EXPECT_TRUE(log.endsWith("\r\n"));
    EXPECT_FALSE(fdmqb->Quelbo->Connected());
}

INSTANTIATE_TEST_SUITE_P(
    RealServer, RefusedConnections,
    testing::Values(
        ConnectCase{"refused login", "", "wrong", "Your user name and password are not defined",
                    "El nombre de Usuario o la clave son incorrectas."},
        ConnectCase{"missing database file",
                    "localhost/3050:/var/lib/firebird/3.0/data/articulosmqb/no_such.fdb",
                    "ferrolake", "I/O error during \"open\" operation for file",
                    "No se encontró el archivo o la ruta "
                    "/var/lib/firebird/3.0/data/articulosmqb/no_such.fdb"},
        ConnectCase{"unknown host", "nohost.invalid/3050:C:\\TREVOLA\\quelbo.fdb", "ferrolake",
                    "Unable to complete network request to host \"nohost.invalid\"",
                    "No se encontró el equipo servidor con nombre nohost.invalid"}));

TEST_F(ErrorRoutines, TheSilentAbortLeavesNoLineAndNoBox) {
    Application->Dispatch(nullptr, [] { Abort(); });
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_EQ(boxes_.beeps, 0);
    EXPECT_FALSE(QFile::exists(dir_.filePath("ERRORES.TXT")));
}

TEST_F(ErrorRoutines, AnUnwritableLogStillGivesTheBox) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("ERRORES.TXT"));
    Application->Dispatch(nullptr, [] { throw Exception("Cannot create file \"c:\\x.jpg\""); });
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text,
              "Se presento el siguiente error: Cannot create file \"c:\\x.jpg\"");
}

TEST_F(ErrorRoutines, AProviderUpdateErrorNamesTheTableOfItsQuery) {
    TComponent window;
    auto* provider = new TDataSetProvider(&window);
    provider->SetDataSet(fdmqb->TArticulo);
    TClientDataSet delta;
    TResolverResponse response = rrSkip;
    fdmqb->ManejarError(
        provider, &delta,
        Exception("SQL Server Error: violation of PRIMARY or UNIQUE KEY constraint"), ukInsert,
        response);
    EXPECT_EQ(response, rrAbort);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "Ya existe el registro en la tabla Articulo");
}

TEST_F(ErrorRoutines, ConfigurarProvidersHooksWhatTheWindowOwns) {
    TComponent window;
    auto* provider = new TDataSetProvider(&window);
    auto* client = new TClientDataSet(&window);
    auto* holder = new TComponent(&window); // owns others: examined, never hooked
    auto* innerClient = new TClientDataSet(holder);
    auto* ownerClient = new TClientDataSet(&window);
    new TComponent(ownerClient); // a client dataset that owns something is not hooked
    fdmqb->ConfigurarProviders(&window);

    EXPECT_TRUE(static_cast<bool>(provider->OnUpdateError));
    EXPECT_EQ(client->PacketRecords(), 1000);
    EXPECT_TRUE(client->OnPostError && client->OnEditError && client->OnDeleteError);
    EXPECT_EQ(innerClient->PacketRecords(), 1000);
    EXPECT_EQ(ownerClient->PacketRecords(), -1);
    EXPECT_FALSE(static_cast<bool>(ownerClient->OnPostError));

    EDatabaseError error("Field 'ARTI_DES' must have a value");
    TDataAction action = daFail;
    client->OnPostError(client, error, action);
    EXPECT_EQ(action, daAbort);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "Los campos  son obligatorios.");
}

} // namespace
