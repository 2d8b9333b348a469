#pragma once
// Test fixture: a fresh, empty Firebird database on the local server for one
// test, dropped again when the object goes.
//
//   TestDatabase db;                      // creates <AMQB_FB_DATA>/t_<unique>.fdb
//   db.Run("create table T (ID integer not null primary key, NAME varchar(20));"
//          "insert into T values (1, 'uno');");
//   db.Query("select NAME from T")        // -> {{"uno"}}
//   conn->SetParams(db.ConnectionParams()); // the data module's design-time lines
//
// The database has no default character set, like the program's. The
// server, folder and login come from the environment that tests/CMakeLists.txt
// sets (AMQB_FB_HOST, AMQB_FB_DATA, AMQB_FB_USER, AMQB_FB_PASSWORD), and
// without it from tools/server.env as it was when the tests were built.

#include "data/driver/connection.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace Firebird {
class IAttachment;
}

// A server that test databases are made on: its address as the client
// library names it ("localhost/3050") and a folder on it that the server may
// create database files in.
struct DatabaseServer {
    QString address;
    QString dataDir;
};

class TestDatabase {
public:
    // `tag` goes into the file name to tell the databases of a run apart.
    explicit TestDatabase(const QString& tag = QStringLiteral("t"),
                          const DatabaseServer& server = LocalServer());
    ~TestDatabase(); // drops the database (unless made by Existing); a failure is only printed
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The database `file` of `server`, attached with the test login;
    // created with the script `fixture` of tests/fixtures when it does not
    // exist yet, and kept when the object goes. For the databases the
    // program reaches through the aliases of its design-time parameters.
    static std::unique_ptr<TestDatabase> Existing(const QString& file, const QString& fixture,
                                                  const DatabaseServer& server = LocalServer());

    static QString Host();
    static QString DataDir();
    // The local server of the environment, on its standard port.
    static DatabaseServer LocalServer();
    static QString User();
    static QString Password();

    // The file as the server sees it.
    const QString& File() const { return file_; }
    // "host/port:file", the form of the "Database" parameter.
    QString Database() const;
    // A TSQLConnection parameter list for this database, in the order of
    // the data module's (BlobSize ... WaitOnLocks), with the test login.
    QStringList ConnectionParams() const;
    Driver::ConnectOptions Options() const;

    // Runs a script: statements end with ';' (outside quotes and comments);
    // "SET TERM <t> ;" changes the terminator as in isql, for procedures.
    // Each statement is committed on its own; COMMIT lines are skipped.
    // A failing statement raises Driver::Error.
    void Run(const QString& script);
    // Runs a script of tests/fixtures ("quelbo.sql": the remote catalog's
    // tables ARTICULOS and COMPANIA with company 1; "dorvan.sql": the ERP's).
    void RunFixture(const QString& name);
    // The text of a file of tests/fixtures.
    static QString FixtureText(const QString& name);
    // The rows of a query, each column as text (a null is a null QString).
    std::vector<QStringList> Query(const QString& sql);
    // The fixture's own attachment (SYSDBA), for anything else.
    Driver::Connection& Connection() { return *conn_; }
    // A new attachment in place of one that its server dropped (a server
    // stopped and started again).
    void Reattach();

    // The statements of a script, as Run splits it.
    static QStringList SplitScript(const QString& script);

private:
    TestDatabase(const DatabaseServer& server, const QString& file, bool keep);

    DatabaseServer server_;
    QString file_;
    bool keep_ = false;
    std::unique_ptr<Driver::Connection> conn_;
};

// Creates the database `name` ("server:file") straight through the client
// library, with the test login, and returns the library's attachment to it,
// for a test that must see the library without the driver around it.
// Raises Driver::Error.
Firebird::IAttachment* CreateDatabaseThroughTheLibrary(const QString& name);
