// TSQLQuery against the real local server, and the registration of both
// classes for form descriptions.

#include "data/dataset/db_error.h"
#include "data/dataset/sql/register_sql_classes.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "platform/formfile/form_reader.h"
#include "tests/support/database_error_of.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace {

class SqlQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The catalog's ARTICULOS, with a column of each kind the query reads.
        db_.RunFixture(QStringLiteral("quelbo.sql"));
        db_.Run(QStringLiteral(
            "alter table ARTICULOS add PRECIO decimal(15,2), add CATEG integer, add FEC date,"
            " add HORA time, add STAMP timestamp;"
            "insert into ARTICULOS (ARTI_COD, ARTI_DES, CATE_ID, ARTI_ACTIVO, PRECIO) values "
            "('01', 'Uno', 3, 'S', 1234567890123.45);"
            "insert into ARTICULOS (ARTI_COD, ARTI_DES, CATE_ID, ARTI_ACTIVO) values ('02', 'Dos', "
            "4, 'N');"));
        conn_ = new TSQLConnection(&root_);
        conn_->SetName(QStringLiteral("Quelbo"));
        conn_->SetConnectionName(QStringLiteral("IBLocal"));
        conn_->SetDriverName(QStringLiteral("Interbase"));
        conn_->SetLoginPrompt(false);
        conn_->SetParams(db_.ConnectionParams());
        query_ = new TSQLQuery(&root_);
        query_->SetName(QStringLiteral("TArticulo"));
        query_->SetSQLConnection(conn_);
    }
    TestDatabase db_{QStringLiteral("query")};
    TComponent root_;
    TSQLConnection* conn_ = nullptr;
    TSQLQuery* query_ = nullptr;
};

QByteArray Noise(qsizetype size) {
    QByteArray b(size, Qt::Uninitialized);
    quint32 x = 7;
    for (char& ch : b) {
        x = x * 1664525u + 1013904223u;
        ch = static_cast<char>(x >> 24);
    }
    return b;
}

} // namespace

TEST_F(SqlQueryTest, OpensItsConnectionOnDemandAndReadsForward) {
    query_->SetSQLText(QStringLiteral("SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD"));
    ASSERT_EQ(query_->Params().Count(), 1);
    query_->ParamByName(u"COD").SetAsString(QStringLiteral("01"));
    EXPECT_FALSE(conn_->Connected());
    query_->Open();
    EXPECT_TRUE(conn_->Connected());
    EXPECT_TRUE(query_->Active());
    EXPECT_FALSE(query_->Eof());
    EXPECT_EQ(query_->Value(query_->FieldIndex(u"arti_des")), TValue(QStringLiteral("Uno")));
    EXPECT_EQ(query_->Value(query_->FieldIndex(u"PRECIO")), TValue(TBcd{123456789012345, 2}));
    EXPECT_EQ(query_->Value(query_->FieldIndex(u"ARTI_ACTIVO")), TValue(QStringLiteral("S")));
    EXPECT_TRUE(query_->Value(query_->FieldIndex(u"ARTI_UNIDAD")).IsNull());
    query_->Next();
    EXPECT_TRUE(query_->Eof());
    query_->Next(); // at the end nothing moves
    EXPECT_TRUE(query_->Eof());
    query_->Close();
    EXPECT_FALSE(query_->Active());
    // The connection stays open and is reused.
    EXPECT_TRUE(conn_->Connected());
    query_->ParamByName(u"COD").SetAsString(QStringLiteral("02"));
    query_->Open();
    EXPECT_EQ(query_->Value(1), TValue(QStringLiteral("Dos")));
}

TEST_F(SqlQueryTest, DescribesItsColumns) {
    query_->SetSQLText(QStringLiteral("select * from ARTICULOS"));
    query_->Open();
    const struct {
        const char* name;
        TFieldType type;
        int size;
        bool required;
    } want[] = {
        {"ARTI_COD", ftString, 20, true},
        {"ARTI_DES", ftString, 100, true},
        {"ARTI_UNIDAD", ftString, 10, false},
        {"CATE_ID", ftSmallint, 0, false},
        {"SUCA_ID", ftSmallint, 0, false},
        {"ARTI_FOTO", ftBlob, 0, false},
        {"ARTI_ACTIVO", ftFixedChar, 1, false},
        {"PRECIO", ftFMTBcd, 2, false},
        {"CATEG", ftInteger, 0, false},
        {"FEC", ftDate, 0, false},
        {"HORA", ftTime, 0, false},
        {"STAMP", ftTimeStamp, 0, false},
    };
    ASSERT_EQ(query_->FieldCount(), static_cast<int>(std::size(want)));
    for (int i = 0; i < query_->FieldCount(); ++i) {
        const TSQLColumn& c = query_->Columns()[static_cast<size_t>(i)];
        SCOPED_TRACE(want[i].name);
        EXPECT_EQ(c.Name, QLatin1String(want[i].name));
        EXPECT_EQ(c.DataType, want[i].type);
        EXPECT_EQ(c.Size, want[i].size);
        EXPECT_EQ(c.Required, want[i].required);
        EXPECT_EQ(c.Origin, QStringLiteral("ARTICULOS.") + QLatin1String(want[i].name));
    }
    EXPECT_EQ(query_->Columns()[7].Scale, 2);
    EXPECT_EQ(query_->Columns()[7].Precision, 18);
}

TEST_F(SqlQueryTest, ReadsDatesAndTimesAsDateTimeValues) {
    db_.Run(QStringLiteral("update ARTICULOS set FEC = '2018-01-31', HORA = '06:00:00', "
                           "STAMP = '1899-12-31 18:00:00' where ARTI_COD = '01';"));
    query_->SetSQLText(
        QStringLiteral("select FEC, HORA, STAMP from ARTICULOS where ARTI_COD = '01'"));
    query_->Open();
    EXPECT_EQ(query_->Value(0).AsDateTime(), EncodeDate(2018, 1, 31));
    EXPECT_EQ(query_->Value(1).AsDateTime().Value(), 0.25);
    EXPECT_EQ(query_->Value(2).AsDateTime().Value(), 1.75);
}

TEST_F(SqlQueryTest, AFailingConnectionFailsTheOpen) {
    conn_->SetParamValue(QStringLiteral("password"), QStringLiteral("wrong"));
    query_->SetSQLText(QStringLiteral("select * from ARTICULOS"));
    const QString message = DatabaseErrorOf([&] { query_->Open(); });
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: "
                       "Your user name and password are not defined")));
    EXPECT_EQ(message, conn_->LastError());
    EXPECT_FALSE(query_->Active());
    EXPECT_FALSE(conn_->Connected());
    conn_->SetParamValue(QStringLiteral("Database"), QString());
    EXPECT_EQ(DatabaseErrorOf([&] { query_->Open(); }),
              QStringLiteral("Missing Database property"));
    EXPECT_EQ(DatabaseErrorOf([&] { query_->ExecSQL(); }),
              QStringLiteral("Missing Database property"));
}

TEST_F(SqlQueryTest, ClosingTheConnectionClosesItsQueries) {
    auto* other = new TSQLQuery(&root_);
    other->SetSQLConnection(conn_);
    other->SetSQLText(QStringLiteral("select ARTI_COD from ARTICULOS"));
    query_->SetSQLText(QStringLiteral("select ARTI_DES from ARTICULOS"));
    query_->Open();
    other->Open();
    EXPECT_EQ(conn_->DataSetCount(), 2);
    conn_->Close();
    EXPECT_FALSE(query_->Active());
    EXPECT_FALSE(other->Active());
    EXPECT_EQ(conn_->ConnectionState(), csStateClosed);
    delete other;
    EXPECT_EQ(conn_->DataSetCount(), 1);
}

TEST_F(SqlQueryTest, WithoutKeepConnectionTheLastQueryClosesTheConnection) {
    conn_->SetKeepConnection(false);
    query_->SetSQLText(QStringLiteral("select ARTI_DES from ARTICULOS"));
    query_->Open();
    EXPECT_TRUE(conn_->Connected());
    query_->Close();
    EXPECT_FALSE(conn_->Connected());
}

TEST_F(SqlQueryTest, AStatementWithoutRowsIsNoQuery) {
    query_->SetSQLText(QStringLiteral("update ARTICULOS set CATE_ID = 9 where ARTI_COD = :COD"));
    query_->ParamByName(u"COD").SetAsString(QStringLiteral("01"));
    EXPECT_EQ(DatabaseErrorOf([&] { query_->Open(); }),
              QStringLiteral("Cursor not returned from Query"));
    EXPECT_FALSE(query_->Active());
    EXPECT_EQ(query_->ExecSQL(), 1);
    EXPECT_EQ(query_->RowsAffected(), 1);
    EXPECT_EQ(db_.Query(QStringLiteral("select CATE_ID from ARTICULOS where ARTI_COD = '01'")),
              (std::vector<QStringList>{{"9"}}));
}

TEST_F(SqlQueryTest, NeedsAConnectionAndAStatement) {
    TSQLQuery lone;
    lone.SetSQLText(QStringLiteral("select 1 from RDB$DATABASE"));
    EXPECT_EQ(DatabaseErrorOf([&] { lone.Open(); }),
              QStringLiteral("SQLConnection property required for this operation"));
    query_->SetSQLText(QString());
    EXPECT_EQ(DatabaseErrorOf([&] { query_->Open(); }),
              QStringLiteral("No SQL statement available"));
}

TEST_F(SqlQueryTest, AKeyViolationCarriesTheServersWordsFromPosition19) {
    query_->SetSQLText(
        QStringLiteral("insert into ARTICULOS (ARTI_COD, ARTI_DES) values (:COD, :DES)"));
    query_->ParamByName(u"COD").SetAsString(QStringLiteral("01"));
    query_->ParamByName(u"DES").SetAsString(QStringLiteral("again"));
    const QString message = DatabaseErrorOf([&] { query_->ExecSQL(); });
    EXPECT_TRUE(message.mid(18).startsWith(QStringLiteral("violation of PRIMARY")))
        << qPrintable(message);
    EXPECT_EQ(query_->LastError(), message);
    EXPECT_EQ(conn_->ConnectionState(), csStateOpen);
}

TEST_F(SqlQueryTest, SettingTheStatementRebuildsTheParameters) {
    query_->SetSQLText(QStringLiteral("select * from ARTICULOS where ARTI_COD = :COD"));
    query_->ParamByName(u"COD").SetAsString(QStringLiteral("01"));
    query_->SetSQLText(QStringLiteral(
        "select * from ARTICULOS where ARTI_COD = :cod or ARTI_DES = :DES or ARTI_COD = :COD"));
    ASSERT_EQ(query_->Params().Count(), 2);
    EXPECT_EQ(query_->Params()[0].AsString(), QStringLiteral("01"));
    EXPECT_EQ(query_->Params()[0].DataType(), ftString);
    EXPECT_TRUE(query_->Params()[1].IsNull());
    query_->ParamByName(u"DES").SetAsString(QStringLiteral("Dos"));
    query_->Open();
    int rows = 0;
    for (; !query_->Eof(); query_->Next())
        ++rows;
    EXPECT_EQ(rows, 2);
    // Setting the text closes the query.
    query_->SetSQLText(QStringLiteral("select 1 from RDB$DATABASE"));
    EXPECT_FALSE(query_->Active());
    EXPECT_EQ(query_->Params().Count(), 0);
}

TEST_F(SqlQueryTest, WithoutParamCheckColonsStay) {
    query_->SetParamCheck(false);
    query_->SetSQLText(QStringLiteral(
        "execute block returns (X integer) as declare Y integer = 5; begin X = :Y; suspend; end"));
    EXPECT_EQ(query_->Params().Count(), 0);
    query_->Open();
    EXPECT_EQ(query_->Value(0), TValue(5));
}

TEST_F(SqlQueryTest, BlobsOfZeroOneAndTwoMegabytesRoundTrip) {
    const QByteArray blobs[] = {QByteArray(""), QByteArray("\xFF", 1), Noise(2 * 1024 * 1024)};
    query_->SetSQLText(QStringLiteral(
        "insert into ARTICULOS (ARTI_COD, ARTI_DES, ARTI_FOTO) values (:COD, 'b', :FOTO)"));
    for (int i = 0; i < 3; ++i) {
        query_->ParamByName(u"COD").SetAsString(QStringLiteral("B%1").arg(i));
        query_->ParamByName(u"FOTO").SetAsBlob(blobs[i]);
        EXPECT_EQ(query_->ExecSQL(), 1);
    }
    query_->SetSQLText(QStringLiteral("select ARTI_FOTO, octet_length(ARTI_FOTO) from ARTICULOS "
                                      "where ARTI_COD starting 'B' order by ARTI_COD"));
    query_->Open();
    for (int i = 0; i < 3; ++i) {
        ASSERT_FALSE(query_->Eof());
        const TValue& v = query_->Value(0);
        ASSERT_EQ(v.GetKind(), TValue::Kind::Bytes);
        EXPECT_EQ(query_->Value(1).AsInteger(), blobs[i].size());
        EXPECT_TRUE(*v.BytesPtr() == blobs[i]) << "blob " << i;
        query_->Next();
    }
    EXPECT_TRUE(query_->Eof());
    query_->Close();
    // The same through a connection statement with positional parameters.
    TParams params;
    params.CreateParam(ftBlob, QStringLiteral("1"), ptInput).SetAsBlob(blobs[2]);
    params.CreateParam(ftString, QStringLiteral("2"), ptInput).SetAsString(QStringLiteral("B0"));
    EXPECT_EQ(conn_->Execute(
                  QStringLiteral("update ARTICULOS set ARTI_FOTO = ? where ARTI_COD = ?"), &params),
              1);
    query_->SetSQLText(QStringLiteral("select ARTI_FOTO from ARTICULOS where ARTI_COD = 'B0'"));
    query_->Open();
    EXPECT_TRUE(query_->Value(0).AsBytes() == blobs[2]);
}

TEST_F(SqlQueryTest, MaxBlobSizeLimitsInKilobytes) {
    db_.Run(QStringLiteral(
        "update ARTICULOS set ARTI_FOTO = lpad('', 3000, 'x') where ARTI_COD = '01';"));
    query_->SetSQLText(QStringLiteral("select ARTI_FOTO from ARTICULOS where ARTI_COD = '01'"));
    query_->SetMaxBlobSize(1);
    query_->Open();
    EXPECT_EQ(query_->Value(0).AsBytes().size(), 1024);
    query_->Close();
    query_->SetMaxBlobSize(-1);
    query_->Open();
    EXPECT_EQ(query_->Value(0).AsBytes().size(), 3000);
}

TEST_F(SqlQueryTest, WindowsTextRoundTripsThroughAColumnWithoutCharacterSet) {
    const QString texts[] = {QStringLiteral("Compañía"), QStringLiteral("€ 12,50"),
                             QStringLiteral("Ñandú «año» – ü")};
    query_->SetSQLText(
        QStringLiteral("insert into ARTICULOS (ARTI_COD, ARTI_DES) values (:COD, :DES)"));
    for (int i = 0; i < 3; ++i) {
        query_->ParamByName(u"COD").SetAsString(QStringLiteral("T%1").arg(i));
        query_->ParamByName(u"DES").SetAsString(texts[i]);
        query_->ExecSQL();
    }
    query_->SetSQLText(QStringLiteral(
        "select ARTI_DES, octet_length(ARTI_DES) from ARTICULOS where ARTI_COD = :COD"));
    for (int i = 0; i < 3; ++i) {
        query_->ParamByName(u"COD").SetAsString(QStringLiteral("T%1").arg(i));
        query_->Open();
        EXPECT_EQ(query_->Value(0).AsString(), texts[i]);
        EXPECT_EQ(query_->Value(1).AsInteger(), texts[i].size()); // one byte per character
        query_->Close();
    }
    // Text written into the statement itself takes the same road.
    query_->SetSQLText(
        QStringLiteral("select ARTI_COD from ARTICULOS where ARTI_DES = 'Compañía'"));
    query_->Open();
    EXPECT_EQ(query_->Value(0), TValue(QStringLiteral("T0")));
}

TEST_F(SqlQueryTest, ParametersOfOtherTypesAreBound) {
    query_->SetSQLText(QStringLiteral(
        "insert into ARTICULOS (ARTI_COD, ARTI_DES, CATE_ID, CATEG, PRECIO, FEC, HORA, STAMP)"
        " values (:C, :D, :S, :I, :P, :F, :H, :T)"));
    query_->ParamByName(u"C").SetAsString(QStringLiteral("X1"));
    query_->ParamByName(u"D").SetAsString(QStringLiteral("x"));
    query_->ParamByName(u"S").SetAsSmallInt(-3);
    query_->ParamByName(u"I").SetAsInteger(100000);
    query_->ParamByName(u"P").SetAsFMTBCD(TBcd{1999, 2});
    query_->ParamByName(u"F").SetAsDate(EncodeDate(2024, 2, 29));
    query_->ParamByName(u"H").SetAsTime(EncodeTime(13, 45, 0, 0));
    query_->ParamByName(u"T").SetAsDateTime(EncodeDateTime(2020, 5, 6, 7, 8, 9, 0));
    query_->ExecSQL();
    EXPECT_EQ(db_.Query(QStringLiteral("select CATE_ID, CATEG, PRECIO, FEC, HORA, STAMP from "
                                       "ARTICULOS where ARTI_COD = 'X1'")),
              (std::vector<QStringList>{{"-3", "100000", "19.99", "2024-02-29", "13:45:00.000",
                                         "2020-05-06 07:08:09.000"}}));
    // A null of a typed parameter.
    query_->SetSQLText(QStringLiteral("update ARTICULOS set PRECIO = :P where ARTI_COD = 'X1'"));
    query_->ParamByName(u"P").SetDataType(ftFMTBcd);
    query_->ParamByName(u"P").Clear();
    query_->ExecSQL();
    EXPECT_EQ(
        db_.Query(QStringLiteral("select PRECIO is null from ARTICULOS where ARTI_COD = 'X1'")),
        (std::vector<QStringList>{{"TRUE"}}));
}

TEST_F(SqlQueryTest, FreeingTheConnectionDetachesItsQueries) {
    query_->SetSQLText(QStringLiteral("select 1 from RDB$DATABASE"));
    query_->Open();
    delete conn_;
    EXPECT_EQ(query_->SQLConnection(), nullptr);
    EXPECT_FALSE(query_->Active());
}

TEST_F(SqlQueryTest, IsReadFromAFormDescription) {
    RegisterSqlClasses();
    RegisterSqlClasses(); // twice does no harm
    TComponent module;
    const QString database = db_.Database();
    QString params;
    for (const QString& line : db_.ConnectionParams())
        params += QStringLiteral("      \"%1\"\n").arg(line);
    const QString text = QStringLiteral("TComponent fdmqb\n"
                                        "  TSQLConnection Quelbo\n"
                                        "    ConnectionName = \"IBLocal\"\n"
                                        "    DriverName = \"Interbase\"\n"
                                        "    GetDriverFunc = \"getSQLDriverFB\"\n"
                                        "    LibraryName = \"sqldrvfb.dll\"\n"
                                        "    LoginPrompt = False\n"
                                        "    Params = lines\n") +
                         params +
                         QStringLiteral("    VendorLib = \"FBCLIENT.DLL\"\n"
                                        "  TSQLQuery TArticulo\n"
                                        "    MaxBlobSize = -1\n"
                                        "    Params = items\n"
                                        "      item\n"
                                        "        DataType = ftString\n"
                                        "        Name = \"COD\"\n"
                                        "        ParamType = ptInput\n"
                                        "        Value = \"01\"\n"
                                        "    SQL = lines\n"
                                        "      \"SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD\"\n"
                                        "    SQLConnection = Quelbo\n");
    ReadComponentText(module, THandlerTable(), text, QStringLiteral("test.form"));
    auto* conn = ComponentAs<TSQLConnection>(module.FindComponent(u"Quelbo"));
    auto* query = ComponentAs<TSQLQuery>(module.FindComponent(u"TArticulo"));
    ASSERT_NE(conn, nullptr);
    ASSERT_NE(query, nullptr);
    EXPECT_FALSE(conn->LoginPrompt());
    EXPECT_EQ(conn->ParamValue(u"Database"), database);
    EXPECT_EQ(query->SQLConnection(), conn);
    EXPECT_EQ(query->MaxBlobSize(), -1);
    ASSERT_EQ(query->Params().Count(), 1);
    const TParam& cod = query->Params()[0];
    EXPECT_EQ(cod.Name(), QStringLiteral("COD"));
    EXPECT_EQ(cod.DataType(), ftString);
    EXPECT_EQ(cod.ParamType(), ptInput);
    EXPECT_EQ(cod.Value(), TValue(QStringLiteral("01")));
    query->Open();
    EXPECT_EQ(query->Value(query->FieldIndex(u"ARTI_DES")), TValue(QStringLiteral("Uno")));
}

TEST_F(SqlQueryTest, MovesFromOneConnectionToAnother) {
    auto* second = new TSQLConnection(&root_);
    second->SetParams(db_.ConnectionParams());
    query_->SetSQLText(QStringLiteral("select 1 from RDB$DATABASE"));
    query_->Open();
    query_->SetSQLConnection(second);
    EXPECT_FALSE(query_->Active());
    EXPECT_EQ(conn_->DataSetCount(), 0);
    EXPECT_EQ(second->DataSetCount(), 1);
    query_->Open();
    EXPECT_TRUE(second->Connected());
    delete query_; // the old connection must not remember it
    query_ = nullptr;
    delete conn_;
    EXPECT_EQ(second->DataSetCount(), 0);
}
