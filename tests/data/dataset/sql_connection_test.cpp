// TSQLConnection: the parameter list, states, connecting (against the real
// local server) and transactions.

#include "data/dataset/db_error.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "tests/support/database_error_of.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// A connection set up as the data module's are.
std::unique_ptr<TSQLConnection> DesignTimeConnection(const QStringList& params,
                                                     TComponent* owner = nullptr) {
    auto c = std::make_unique<TSQLConnection>(owner);
    c->SetConnectionName(QStringLiteral("IBLocal"));
    c->SetDriverName(QStringLiteral("Interbase"));
    c->SetGetDriverFunc(QStringLiteral("getSQLDriverFB"));
    c->SetLibraryName(QStringLiteral("sqldrvfb.dll"));
    c->SetVendorLib(QStringLiteral("FBCLIENT.DLL"));
    c->SetLoginPrompt(false);
    c->SetParams(params);
    return c;
}

const QString kConnectFailed =
    QStringLiteral("SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: ");

} // namespace

TEST(SqlConnectionParams, AreReadByNameWithoutCase) {
    TSQLConnection c;
    c.SetParams(
        {"BlobSize=-1", "SQLDialect=3", "Password=ferrolake", "Empty=", "NoEquals", "A=b=c"});
    EXPECT_EQ(c.ParamValue(u"SqlDialect"), QStringLiteral("3"));
    EXPECT_EQ(c.ParamValue(u"PASSWORD"), QStringLiteral("ferrolake"));
    EXPECT_EQ(c.ParamValue(u"Empty"), QString());
    EXPECT_EQ(c.ParamIndex(u"empty"), 3);
    EXPECT_EQ(c.ParamValue(u"Missing"), QString());
    EXPECT_EQ(c.ParamIndex(u"Missing"), -1);
    EXPECT_EQ(c.ParamIndex(u"noequals"), 4);
    EXPECT_EQ(c.ParamValue(u"A"), QStringLiteral("b=c"));
}

TEST(SqlConnectionParams, WritingReplacesInPlaceOrAppends) {
    TSQLConnection c;
    c.SetParams({"Database=old", "Password=ferrolake", "User_Name=sysdba"});
    c.SetParamValue(QStringLiteral("password"), QStringLiteral("secret"));
    c.SetParamValue(QStringLiteral("Database"), QStringLiteral(" 10.0.0.1/quelbo.fdb "));
    c.SetParamValue(QStringLiteral("RoleName"), QStringLiteral("RoleName"));
    EXPECT_EQ(c.Params().Lines(), (QStringList{"Database= 10.0.0.1/quelbo.fdb ", "password=secret",
                                               "User_Name=sysdba", "RoleName=RoleName"}));
    // The list itself does the same (Params.Values[...] of the description).
    c.Params().SetValue(QStringLiteral("user_name"), QStringLiteral("otro"));
    EXPECT_EQ(c.Params().Value(u"USER_NAME"), QStringLiteral("otro"));
    EXPECT_EQ(c.Params().Count(), 4);
    EXPECT_EQ(c.Params().Lines()[2], QStringLiteral("user_name=otro"));
}

TEST(SqlConnectionParams, TrueOrFalseReadings) {
    const struct {
        const char* value;
        bool expected;
    } cases[] = {{"True", true},   {"TRUE", true},  {"true", true}, {" True ", true},
                 {"False", false}, {"", false},     {"1", false},   {"Yes", false},
                 {"T", false},     {"TRUE1", false}};
    TSQLConnection c;
    for (const auto& k : cases) {
        c.SetParams({QStringLiteral("WaitOnLocks=") + QString::fromUtf8(k.value)});
        EXPECT_EQ(c.ParamBool(u"waitonlocks"), k.expected) << k.value;
    }
    c.SetParams({});
    EXPECT_FALSE(c.ParamBool(u"WaitOnLocks"));
}

TEST(SqlConnectionParams, IsolationReadings) {
    const struct {
        const char* value;
        TTransIsolationLevel expected;
    } cases[] = {
        {"ReadCommited", xilREADCOMMITTED},
        {"ReadCommitted", xilREADCOMMITTED},
        {"RepeatableRead", xilREPEATABLEREAD},
        {"REPEATABLEREAD", xilREPEATABLEREAD},
        {"DirtyRead", xilDIRTYREAD},
        {"dirtyread", xilDIRTYREAD},
        {" DirtyRead", xilREADCOMMITTED},
        {"Snapshot", xilREADCOMMITTED},
        {"", xilREADCOMMITTED},
    };
    TSQLConnection c;
    c.SetDriverName(QStringLiteral("Interbase"));
    for (const auto& k : cases) {
        c.SetParams({QStringLiteral("interbase transisolation=") + QString::fromUtf8(k.value)});
        EXPECT_EQ(c.TransIsolation(), k.expected) << k.value;
    }
    // The name follows DriverName.
    c.SetParams({"Interbase TransIsolation=RepeatableRead"});
    c.SetDriverName(QStringLiteral("Other"));
    EXPECT_EQ(c.TransIsolation(), xilREADCOMMITTED);
}

TEST(SqlConnectionParams, LocaleCodeIsHexadecimal) {
    TSQLConnection c;
    c.SetParams({"LocaleCode=0000"});
    EXPECT_EQ(c.LocaleCode(), 0);
    c.SetParams({"LocaleCode=0C0A"});
    EXPECT_EQ(c.LocaleCode(), 0x0C0A);
}

TEST(SqlConnectionDefaults, AreThoseOfTheClass) {
    TSQLConnection c;
    EXPECT_FALSE(c.Connected());
    EXPECT_EQ(c.ConnectionState(), csStateClosed);
    EXPECT_TRUE(c.KeepConnection());
    EXPECT_FALSE(c.LoadParamsOnConnect());
    EXPECT_TRUE(c.LoginPrompt());
    EXPECT_EQ(c.ClassName(), QStringLiteral("TSQLConnection"));
}

TEST(SqlConnectionOpen, AnEmptyDatabaseIsMissing) {
    auto c = DesignTimeConnection({"Database=  ", "User_Name=sysdba", "Password=x"});
    EXPECT_EQ(DatabaseErrorOf([&] { c->Open(); }), QStringLiteral("Missing Database property"));
    EXPECT_EQ(c->ConnectionState(), csStateClosed);
    c->SetParams({"User_Name=sysdba"});
    EXPECT_EQ(DatabaseErrorOf([&] { c->Open(); }), QStringLiteral("Missing Database property"));
}

TEST(SqlConnectionOpen, OnlyTheBuiltInDriverLoads) {
    TestDatabase db(QStringLiteral("conn"));
    auto c = DesignTimeConnection(db.ConnectionParams());
    c->SetLibraryName(QStringLiteral("other.dll"));
    EXPECT_EQ(DatabaseErrorOf([&] { c->Open(); }), QStringLiteral("Unable to Load other.dll"));
    c->SetLibraryName(QStringLiteral(" SQLDRVFB.DLL "));
    c->SetGetDriverFunc(QStringLiteral("getSQLDriverX"));
    EXPECT_EQ(DatabaseErrorOf([&] { c->Open(); }),
              QStringLiteral("Unable to Find Procedure getSQLDriverX"));
    EXPECT_FALSE(c->Connected());
    c->SetGetDriverFunc(QStringLiteral("getSQLDriverFB"));
    c->Open();
    EXPECT_TRUE(c->Connected());
}

TEST(SqlConnectionOpen, ConnectsWithTheRightCredentials) {
    TestDatabase db(QStringLiteral("conn"));
    auto c = DesignTimeConnection(db.ConnectionParams());
    c->Open();
    EXPECT_TRUE(c->Connected());
    EXPECT_EQ(c->ConnectionState(), csStateOpen);
    EXPECT_EQ(c->QuoteChar(), QStringLiteral("\""));
    c->Open(); // already open: nothing happens
    EXPECT_EQ(c->ConnectionState(), csStateOpen);
    c->Close();
    EXPECT_EQ(c->ConnectionState(), csStateClosed);
    c->Close();
    EXPECT_EQ(DatabaseErrorOf([&] { c->QuoteChar(); }),
              QStringLiteral("Cannot perform this operation on a closed connection"));
    c->SetConnected(true);
    EXPECT_TRUE(c->Connected());
}

TEST(SqlConnectionOpen, TheDatabaseValueIsTrimmed) {
    TestDatabase db(QStringLiteral("conn"));
    auto c = DesignTimeConnection(db.ConnectionParams());
    c->SetParamValue(QStringLiteral("Database"),
                     QStringLiteral("  ") + db.Database() + QStringLiteral("\t "));
    c->Open();
    EXPECT_TRUE(c->Connected());
}

TEST(SqlConnectionOpen, FailuresCarryTheServersText) {
    TestDatabase db(QStringLiteral("conn"));
    const QString missing =
        TestDatabase::DataDir() + QStringLiteral("/amqb_missing_%1.fdb").arg(getpid());
    const QString host = QStringLiteral("amqb-nohost.invalid");
    const struct {
        const char* what;
        QString database;
        QString password;
        QString serverText;
    } cases[] = {
        {"wrong password", db.Database(), QStringLiteral("wrong-password"),
         QStringLiteral("Your user name and password are not defined. Ask your database "
                        "administrator to set up "
                        "a Firebird login.")},
        {"missing file", TestDatabase::Host() + QStringLiteral("/3050:") + missing,
         TestDatabase::Password(),
         QStringLiteral("I/O error during \"open\" operation for file \"%1\"\r\nError while trying "
                        "to open file\r\n"
                        "No such file or directory")
             .arg(missing)},
        {"unknown host", host + QStringLiteral("/3050:/data/quelbo.fdb"), TestDatabase::Password(),
         QStringLiteral(
             "Unable to complete network request to host \"%1\".\r\nFailed to locate host "
             "machine.\r\n"
             "The specified name was not found in the hosts file or Domain Name Services.")
             .arg(host)},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        auto c = DesignTimeConnection(db.ConnectionParams());
        c->SetParamValue(QStringLiteral("Database"), k.database);
        c->SetParamValue(QStringLiteral("password"), k.password);
        const QString message = DatabaseErrorOf([&] { c->Open(); });
        EXPECT_EQ(message, kConnectFailed + k.serverText);
        EXPECT_EQ(c->LastError(), message);
        EXPECT_EQ(c->ConnectionState(), csStateClosed);
    }
}

TEST(SqlConnectionOpen, TheRefusedLoginAndTheUnknownHostAreRecognisable) {
    // What the error messages shown to the user look for in these texts.
    TestDatabase db(QStringLiteral("conn"));
    auto c = DesignTimeConnection(db.ConnectionParams());
    c->SetParamValue(QStringLiteral("Password"), QStringLiteral("nope"));
    EXPECT_TRUE(DatabaseErrorOf([&] {
                    c->Open();
                }).contains(QStringLiteral("Your user name and password are not defined")));
    c->SetParamValue(QStringLiteral("Database"), QStringLiteral("far-away.invalid/3050:x.fdb"));
    const QString host = DatabaseErrorOf([&] { c->Open(); });
    EXPECT_TRUE(host.contains(QStringLiteral("Unable to complete network request")));
    EXPECT_TRUE(host.contains(QStringLiteral("\"far-away.invalid\"")));
}

TEST(SqlConnectionTransactions, FollowTheRules) {
    TestDatabase db(QStringLiteral("conn"));
    db.Run(QStringLiteral("create table T (ID integer not null primary key);"));
    auto c = DesignTimeConnection(db.ConnectionParams());
    TTransactionDesc desc;
    EXPECT_EQ(desc.TransactionID, 1u);
    EXPECT_EQ(DatabaseErrorOf([&] { c->Commit(desc); }),
              QStringLiteral("Cannot perform this operation on a closed connection"));
    EXPECT_EQ(DatabaseErrorOf([&] { c->Rollback(desc); }),
              QStringLiteral("Cannot perform this operation on a closed connection"));
    // Starting opens the connection on demand.
    desc.IsolationLevel = c->TransIsolation();
    c->StartTransaction(desc);
    EXPECT_TRUE(c->Connected());
    EXPECT_TRUE(c->InTransaction());
    EXPECT_EQ(DatabaseErrorOf([&] { c->StartTransaction(desc); }),
              QStringLiteral("A transaction is already active"));

    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("ID"), ptInput).SetAsInteger(1);
    EXPECT_EQ(c->Execute(QStringLiteral("insert into T (ID) values (?)"), &params), 1);
    c->Rollback(desc);
    EXPECT_FALSE(c->InTransaction());
    EXPECT_EQ(DatabaseErrorOf([&] { c->Commit(desc); }),
              QStringLiteral("There is no active transaction"));
    EXPECT_EQ(DatabaseErrorOf([&] { c->Rollback(desc); }),
              QStringLiteral("There is no active transaction"));
    EXPECT_EQ(db.Query(QStringLiteral("select count(*) from T")),
              (std::vector<QStringList>{{"0"}}));

    c->StartTransaction(desc);
    c->Execute(QStringLiteral("insert into T (ID) values (?)"), &params);
    c->Commit(desc);
    EXPECT_EQ(db.Query(QStringLiteral("select count(*) from T")),
              (std::vector<QStringList>{{"1"}}));
    // Closing the connection rolls back what is still open.
    c->StartTransaction(desc);
    params[0].SetAsInteger(2);
    c->Execute(QStringLiteral("insert into T (ID) values (?)"), &params);
    c->Close();
    EXPECT_FALSE(c->InTransaction());
    EXPECT_EQ(db.Query(QStringLiteral("select count(*) from T")),
              (std::vector<QStringList>{{"1"}}));
}

TEST(SqlConnectionExecute, RunsAFreshStatementAndCountsRows) {
    TestDatabase db(QStringLiteral("conn"));
    db.Run(QStringLiteral("create table T (ID integer not null primary key, NAME varchar(20));"
                          "insert into T values (1, 'a'); insert into T values (2, 'b');"));
    auto c = DesignTimeConnection(db.ConnectionParams());
    TParams params;
    params.CreateParam(ftString, QStringLiteral("N"), ptInput).SetAsString(QStringLiteral("z"));
    params.CreateParam(ftInteger, QStringLiteral("ID"), ptInput).SetAsInteger(0);
    // Opens on demand; no transaction: the driver commits on its own.
    EXPECT_EQ(c->Execute(QStringLiteral("update T set NAME = ? where ID > ?"), &params), 2);
    EXPECT_EQ(c->ConnectionState(), csStateOpen);
    EXPECT_EQ(db.Query(QStringLiteral("select NAME from T order by ID")),
              (std::vector<QStringList>{{"z"}, {"z"}}));
    EXPECT_EQ(c->ExecuteDirect(QStringLiteral("delete from T where ID = 1")), 1);
    EXPECT_EQ(c->ExecuteDirect(QStringLiteral("delete from T where ID = 1")), 0);
    // A refused statement: status above 100, the server's words at position 19.
    const QString message =
        DatabaseErrorOf([&] { c->ExecuteDirect(QStringLiteral("insert into T values (2, 'x')")); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("SQL Server Error: ")));
    EXPECT_TRUE(message.mid(18).startsWith(QStringLiteral("violation of PRIMARY")))
        << qPrintable(message);
    EXPECT_EQ(c->LastError(), message);
    EXPECT_EQ(c->ConnectionState(), csStateOpen);
}

TEST(SqlConnectionRepeatedWork, NestsAndOutlivesAReconnect) {
    TestDatabase db;
    auto c = DesignTimeConnection(db.ConnectionParams());
    const Driver::Connection* driver = nullptr;
    {
        TRepeatedWork outer(*c);
        {
            TRepeatedWork inner(*c);
            c->Open();
            driver = &c->DriverConnection();
            EXPECT_TRUE(driver->StatementReuse() && driver->ReadOnlyReads());
        }
        // The login sequence closes and opens the connection again.
        c->Close();
        c->Open();
        EXPECT_TRUE(driver->StatementReuse() && driver->ReadOnlyReads());
        EXPECT_EQ(c->ExecuteDirect(QStringLiteral("create table T (ID integer)")), 0);
        EXPECT_EQ(c->ExecuteDirect(QStringLiteral("insert into T values (1)")), 1);
    }
    EXPECT_FALSE(driver->StatementReuse() || driver->ReadOnlyReads());
}
