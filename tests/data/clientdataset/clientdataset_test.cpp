// TClientDataSet with TDataSetProvider against the real server: the requests
// of open, fetch, close, execute and apply, parameters, command text, and
// the error loop of post.

#include "cds_fixture.h"
#include "data/dataset/fields/field.h"

namespace {

QString Col(TClientDataSet& cds, const char* name) {
    return cds.FieldByName(QString::fromLatin1(name)).AsString();
}

} // namespace

TEST_F(CdsTest, LooksUpItsParametersAndReopeningAnOpenDatasetSendsNothing) {
    cds_->FetchParams();
    ASSERT_EQ(cds_->Params().Count(), 1);
    EXPECT_EQ(cds_->Params()[0].AsString(), QStringLiteral("01")); // the query's design value
    cds_->ParamByName(QStringLiteral("COD")).SetAsString(QStringLiteral("02"));
    cds_->Open();
    EXPECT_EQ(Col(*cds_, "ARTI_DES"), QStringLiteral("Dos"));
    const size_t sent = Requests().size();

    cds_->ParamByName(QStringLiteral("COD")).SetAsString(QStringLiteral("03"));
    cds_->Open();
    EXPECT_EQ(Requests().size(), sent);
    EXPECT_EQ(Col(*cds_, "ARTI_DES"), QStringLiteral("Dos"));
    EXPECT_EQ(cds_->RecordCount(), 1);

    // Closing and opening again does send the new value.
    cds_->Close();
    cds_->Open();
    EXPECT_EQ(Col(*cds_, "ARTI_DES"), QStringLiteral("Tres"));
}

TEST_F(CdsTest, PacketsOfAThousandRowsComeAsTheCursorMovesAndCloseResets) {
    db_.Run(QStringLiteral("create table MUCHOS (N integer);"
                           "SET TERM ^ ;"
                           "execute block as declare i integer = 1; begin"
                           " while (i <= 2500) do begin insert into MUCHOS values (:i); i = i + 1;"
                           " end end^"
                           "SET TERM ; ^"));
    AllowCommandText();
    cds_->SetPacketRecords(1000);
    cds_->SetCommandText(QStringLiteral("select N from MUCHOS order by N"));
    cds_->Open();
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0].count, 1000);
    EXPECT_EQ(Requests()[0].options, unsigned(grMetaData));
    EXPECT_TRUE(Requests()[0].queryActiveAfter); // held open on the next row
    EXPECT_EQ(cds_->RecordCount(), 1000);
    EXPECT_FALSE(cds_->ProviderEOF());

    int rows = 1;
    while (rows < 1000) {
        cds_->Next();
        ++rows;
    }
    EXPECT_EQ(Requests().size(), 1u); // still within the first packet
    cds_->Next();
    ASSERT_EQ(Requests().size(), 2u);
    EXPECT_EQ(Requests()[1].count, 1000);
    EXPECT_EQ(Requests()[1].options, 0u); // no field descriptions
    EXPECT_TRUE(Requests()[1].commandText.isEmpty());
    EXPECT_TRUE(Requests()[1].queryActiveAfter);
    EXPECT_EQ(cds_->FieldByName(QStringLiteral("N")).AsInteger(), 1001);

    while (!cds_->Eof()) {
        cds_->Next();
        if (!cds_->Eof())
            ++rows;
    }
    ++rows; // the record of the first Next above
    EXPECT_EQ(rows, 2500);
    ASSERT_EQ(Requests().size(), 3u);
    EXPECT_FALSE(Requests()[2].queryActiveAfter); // 500 < 1000: the provider reset
    EXPECT_TRUE(cds_->ProviderEOF());
    EXPECT_EQ(cds_->RecordCount(), 2500);
    EXPECT_EQ(cds_->FieldByName(QStringLiteral("N")).AsInteger(), 2500);

    cds_->Close();
    ASSERT_EQ(Requests().size(), 4u);
    EXPECT_EQ(Requests()[3].count, 0);
    EXPECT_EQ(Requests()[3].options, unsigned(grReset));
    EXPECT_EQ(cds_->Provider(), nullptr); // the link is dropped
}

TEST_F(CdsTest, ResetAtCloseClosesAQueryHeldBetweenPackets) {
    AllowCommandText();
    cds_->SetPacketRecords(2);
    cds_->SetCommandText(QStringLiteral("select ARTI_COD from ARTICULOS"));
    cds_->Open();
    EXPECT_TRUE(query_->Active());
    cds_->Close();
    EXPECT_FALSE(query_->Active());
}

TEST_F(CdsTest, LastFetchesEveryRemainingRow) {
    AllowCommandText();
    cds_->SetPacketRecords(1);
    cds_->SetCommandText(QStringLiteral("select ARTI_COD from ARTICULOS order by ARTI_COD"));
    cds_->Open();
    EXPECT_EQ(cds_->RecordCount(), 1);
    cds_->Last();
    EXPECT_EQ(cds_->RecordCount(), 3);
    EXPECT_EQ(Col(*cds_, "ARTI_COD"), QStringLiteral("03"));
    EXPECT_TRUE(cds_->Eof());
}

TEST_F(CdsTest, CommandTextNeedsTheProviderOption) {
    cds_->SetCommandText(QStringLiteral("select * from ARTICULOS"));
    EXPECT_EQ(DatabaseErrorOf([&] { cds_->Open(); }),
              QStringLiteral("CommandText changes are not allowed"));
    EXPECT_FALSE(cds_->Active());
    EXPECT_EQ(DatabaseErrorOf([&] { cds_->Execute(); }),
              QStringLiteral("CommandText changes are not allowed"));
    EXPECT_EQ(query_->SQLText(), QStringLiteral("SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD"));

    // With the option, leading blanks and line breaks are dropped from the text.
    provider_->SetOptions(ProviderOption(poAllowCommandText));
    cds_->SetCommandText(QStringLiteral("\r\n  select ARTI_COD from ARTICULOS order by 1"));
    cds_->Open();
    EXPECT_EQ(query_->SQLText(), QStringLiteral("select ARTI_COD from ARTICULOS order by 1"));
    EXPECT_EQ(cds_->RecordCount(), 3);
    EXPECT_FALSE(query_->Active()); // all rows came at once
}

TEST_F(CdsTest, CommandTextRebuildsParametersKeepingValuesOfTheSameName) {
    AllowCommandText();
    cds_->SetCommandText(QStringLiteral("select * from ARTICULOS where ARTI_COD = :COD"));
    cds_->ParamByName(QStringLiteral("COD")).SetAsString(QStringLiteral("02"));
    cds_->SetCommandText(
        QStringLiteral("select * from ARTICULOS where ARTI_COD = :COD or ARTI_DES = :DES"));
    ASSERT_EQ(cds_->Params().Count(), 2);
    EXPECT_EQ(cds_->ParamByName(QStringLiteral("COD")).AsString(), QStringLiteral("02"));
    EXPECT_TRUE(cds_->ParamByName(QStringLiteral("DES")).IsNull());
    cds_->ParamByName(QStringLiteral("DES")).SetAsString(QStringLiteral("Tres"));
    cds_->Open();
    EXPECT_EQ(cds_->RecordCount(), 2);

    // Reopened with the same text and values: the values still reach the
    // query, whose parameters the text rebuilt.
    cds_->Close();
    cds_->Open();
    EXPECT_EQ(cds_->RecordCount(), 2);
    cds_->Close();

    cds_->SetCommandText(QString());
    EXPECT_EQ(cds_->Params().Count(), 0);
}

TEST_F(CdsTest, ProviderLookupFailures) {
    struct Case {
        const char* providerName;
        bool circular;
        const char* message;
    };
    const Case cases[] = {
        {"PNadie", false, "Missing data provider or data packet"},
        {"Quelbo", false, "Missing data provider or data packet"}, // not a provider
        {"", false, "Missing data provider or data packet"},
        {"PArticuloqb", true, "Circular provider references not allowed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.providerName);
        provider_->SetDataSet(c.circular ? static_cast<TComponent*>(cds_) : query_);
        cds_->SetProviderName(QString::fromLatin1(c.providerName));
        EXPECT_EQ(DatabaseErrorOf([&] { cds_->Open(); }), QString::fromLatin1(c.message));
        EXPECT_FALSE(cds_->Active());
    }
}

TEST_F(CdsTest, AnErrorOfTheQueryLeavesTheDatasetClosedWithTheServerText) {
    AllowCommandText();
    cds_->SetCommandText(QStringLiteral("select * from NO_EXISTE"));
    const QString message = DatabaseErrorOf([&] { cds_->Open(); });
    EXPECT_TRUE(message.contains(QStringLiteral("NO_EXISTE"))) << message.toStdString();
    EXPECT_FALSE(cds_->Active());
}

TEST_F(CdsTest, ExecuteRunsTheStatementWithoutOpening) {
    AllowCommandText();
    cds_->SetCommandText(
        QStringLiteral("UPDATE ARTICULOS SET ARTI_DES = 'Cambiado' WHERE ARTI_COD = :C"));
    cds_->ParamByName(QStringLiteral("C")).SetAsString(QStringLiteral("03"));
    cds_->Execute();
    EXPECT_FALSE(cds_->Active());
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0].kind, QStringLiteral("Execute"));
    EXPECT_EQ(Requests()[0].paramCount, 1);
    EXPECT_FALSE(conn_->InTransaction());
    EXPECT_EQ(db_.Query(QStringLiteral("select ARTI_DES from ARTICULOS where ARTI_COD = '03'")),
              (std::vector<QStringList>{{QStringLiteral("Cambiado")}}));
}

// ---- Editing ----------------------------------------------------------------------

class CdsEditTest : public CdsTest {
protected:
    void SetUp() override {
        CdsTest::SetUp();
        cds_->FetchParams();
        cds_->ParamByName(QStringLiteral("COD")).SetAsString(QStringLiteral("99"));
        cds_->Open();
        ASSERT_TRUE(cds_->IsEmpty());
    }
};

TEST_F(CdsEditTest, PostWithARequiredFieldNullKeepsTheRecordInInsertMode) {
    TField& des = cds_->FieldByName(QStringLiteral("ARTI_DES"));
    EXPECT_TRUE(des.Required()); // not null in the table
    des.SetDisplayLabel(QStringLiteral("Descripcion"));
    cds_->Insert();
    cds_->FieldByName(QStringLiteral("ARTI_COD")).SetAsString(QStringLiteral("99"));
    EXPECT_EQ(DatabaseErrorOf([&] { cds_->Post(); }),
              QStringLiteral("Field 'Descripcion' must have a value"));
    EXPECT_EQ(cds_->State(), dsInsert);
    EXPECT_EQ(cds_->ChangeCount(), 0);
    des.SetAsString(QStringLiteral("Nuevo"));
    cds_->Post();
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(cds_->ChangeCount(), 1);
}

TEST_F(CdsEditTest, PostErrorHandlerAbortsOrRetries) {
    TField& cod = cds_->FieldByName(QStringLiteral("ARTI_COD"));
    TField& des = cds_->FieldByName(QStringLiteral("ARTI_DES"));
    int calls = 0;
    QString seen;

    // daAbort: the silent abort; the record stays being inserted.
    cds_->OnPostError = [&](TDataSet* ds, EDatabaseError& e, TDataAction& action) {
        ++calls;
        seen = e.Message();
        EXPECT_EQ(ds, cds_);
        EXPECT_EQ(action, daFail);
        action = daAbort;
    };
    cds_->Insert();
    cod.SetAsString(QStringLiteral("99"));
    EXPECT_THROW(cds_->Post(), EAbort);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, QStringLiteral("Field 'ARTI_DES' must have a value"));
    EXPECT_EQ(cds_->State(), dsInsert);

    // daRetry: the handler mends the record and the post runs again.
    calls = 0;
    cds_->OnPostError = [&](TDataSet*, EDatabaseError&, TDataAction& action) {
        ++calls;
        des.SetAsString(QStringLiteral("Arreglado"));
        action = daRetry;
    };
    cds_->Post();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(des.AsString(), QStringLiteral("Arreglado"));
}

TEST_F(CdsEditTest, ErrorsOfOtherClassesPassTheHandler) {
    int calls = 0;
    cds_->OnPostError = [&](TDataSet*, EDatabaseError&, TDataAction& a) {
        ++calls;
        a = daAbort;
    };
    cds_->Insert();
    // A number out of the 16-bit range is a database error of the field
    // itself, raised when it is written, outside the error loop.
    EXPECT_EQ(
        DatabaseErrorOf([&] { cds_->FieldByName(QStringLiteral("CATE_ID")).SetAsInteger(70000); }),
        QStringLiteral("70000 is not a valid value for field 'CATE_ID'. The allowed range "
                       "is -32768 to 32767"));
    EXPECT_THROW(cds_->FieldByName(QStringLiteral("CATE_ID")).SetAsString(QStringLiteral("x")),
                 Exception);
    EXPECT_EQ(calls, 0);
}

TEST_F(CdsEditTest, ApplyingWithoutChangesSendsNothing) {
    const size_t sent = Requests().size();
    EXPECT_EQ(cds_->ApplyUpdates(0), 0);
    // An insert cancelled because nothing was written is no change either.
    cds_->Insert();
    EXPECT_EQ(cds_->ApplyUpdates(0), 0);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(Requests().size(), sent);
}

TEST_F(CdsEditTest, ApplyHandsTheDeltaToTheResolverAndReconcilesItsErrors) {
    std::vector<TDelta> deltas;
    int maxSeen = 99;
    std::optional<TErrorPacket> answer;
    int errorCount = 0;
    provider_->SetResolver([&](TDataSetProvider& p, IProviderQuery& q, const TDelta& d, int m) {
        EXPECT_EQ(&p, provider_);
        EXPECT_EQ(&q, static_cast<IProviderQuery*>(query_));
        deltas.push_back(d);
        maxSeen = m;
        return TApplyReply{answer, errorCount};
    });
    TField& cod = cds_->FieldByName(QStringLiteral("ARTI_COD"));
    TField& des = cds_->FieldByName(QStringLiteral("ARTI_DES"));

    // The insert is still pending: ApplyUpdates posts it first.
    cds_->Insert();
    cod.SetAsString(QStringLiteral("99"));
    des.SetAsString(QStringLiteral("Nuevo"));
    answer = TErrorPacket{{TUpdateError{
        0, 0, QStringLiteral("Record not found or changed by another user"), raAbort}}};
    errorCount = 1;
    int reconciled = 0;
    cds_->OnReconcileError = [&](TClientDataSet* ds, EReconcileError& e, TUpdateKind kind,
                                 TReconcileAction& action) {
        ++reconciled;
        EXPECT_EQ(ds, cds_);
        EXPECT_EQ(e.Message(), QStringLiteral("Record not found or changed by another user"));
        EXPECT_EQ(kind, ukInsert);
        EXPECT_EQ(action, raAbort);
        action = raSkip;
    };
    EXPECT_EQ(cds_->ApplyUpdates(0), 1);
    EXPECT_EQ(maxSeen, 0);
    ASSERT_EQ(deltas.size(), 1u);
    ASSERT_EQ(deltas[0].changes.size(), 1u);
    EXPECT_EQ(deltas[0].changes[0].kind, ukInsert);
    EXPECT_EQ(reconciled, 1);
    EXPECT_EQ(cds_->ChangeCount(), 1); // the failed change stays

    // Without an error packet the log merges.
    answer.reset();
    errorCount = 0;
    EXPECT_EQ(cds_->ApplyUpdates(-1), 0);
    EXPECT_EQ(cds_->ChangeCount(), 0);
    EXPECT_EQ(cds_->RecordCount(), 1);
    EXPECT_EQ(cod.AsString(), QStringLiteral("99"));
}

TEST_F(CdsEditTest, AnArticleIsInsertedThenUpdatedAsTheUploadDoes) {
    cds_->Insert();
    cds_->FieldByName(QStringLiteral("ARTI_COD")).SetAsString(QStringLiteral("99"));
    cds_->FieldByName(QStringLiteral("ARTI_DES")).SetAsString(QStringLiteral("Nuevo"));
    cds_->FieldByName(QStringLiteral("ARTI_FOTO")).SetAsString(QStringLiteral("http://x/1-99.jpg"));
    cds_->Post();
    ASSERT_EQ(cds_->ApplyUpdates(0), 0);

    cds_->Close();
    cds_->Open(); // the lookup of the upload: the article is there now
    ASSERT_EQ(cds_->RecordCount(), 1);
    cds_->Edit();
    cds_->FieldByName(QStringLiteral("ARTI_DES")).SetAsString(QStringLiteral("Cambiado"));
    cds_->Post();
    ASSERT_EQ(cds_->ApplyUpdates(0), 0);
    EXPECT_EQ(db_.Query(QStringLiteral(
                  "select ARTI_DES, ARTI_FOTO from ARTICULOS where ARTI_COD = '99'")),
              (std::vector<QStringList>{
                  {QStringLiteral("Cambiado"), QStringLiteral("http://x/1-99.jpg")}}));
}

TEST_F(CdsEditTest, ARolledBackApplyKeepsEveryChangeInTheLog) {
    for (const char* code : {"98", "01"}) { // 01 exists already
        cds_->Insert();
        cds_->FieldByName(QStringLiteral("ARTI_COD")).SetAsString(QString::fromLatin1(code));
        cds_->FieldByName(QStringLiteral("ARTI_DES")).SetAsString(QStringLiteral("x"));
        cds_->Post();
    }
    EXPECT_EQ(cds_->ApplyUpdates(0), 1);
    // Nothing reached the database, so nothing may count as applied.
    EXPECT_EQ(cds_->ChangeCount(), 2);
    EXPECT_TRUE(db_.Query(QStringLiteral("select 1 from ARTICULOS where ARTI_COD = '98'")).empty());
}

TEST_F(CdsEditTest, TheDefaultResolverWritesTheChangeAsSql) {
    QString reconciled;
    cds_->OnReconcileError = [&](TClientDataSet*, EReconcileError& e, TUpdateKind,
                                 TReconcileAction&) { reconciled = e.Message(); };
    cds_->Insert();
    cds_->FieldByName(QStringLiteral("ARTI_COD")).SetAsString(QStringLiteral("99"));
    cds_->FieldByName(QStringLiteral("ARTI_DES")).SetAsString(QStringLiteral("Nuevo"));
    cds_->Post();
    EXPECT_EQ(cds_->ApplyUpdates(0), 0) << reconciled.toStdString();
    EXPECT_EQ(cds_->ChangeCount(), 0);
    EXPECT_EQ(Requests().back().kind, QStringLiteral("ApplyUpdates"));
    EXPECT_EQ(db_.Query(QStringLiteral("select ARTI_DES from ARTICULOS where ARTI_COD = '99'")),
              (std::vector<QStringList>{{QStringLiteral("Nuevo")}}));
}

// The article lookup of an upload, inside repeated work: the old address
// reads back as it is stored, after the query closed and after the work
// ended; the article updated with a new one holds the new one.
TEST_F(CdsTest, AnAddressLeftUnreadByTheLookupReadsBackLaterAndIsReplaced) {
    db_.Run(QStringLiteral("update ARTICULOS set ARTI_FOTO = 'http://x/1-01.jpg' "
                           "where ARTI_COD in ('01', '02');"));
    {
        TRepeatedWork work(*conn_);
        for (const char* code : {"01", "02"}) {
            cds_->Close();
            cds_->FetchParams();
            cds_->ParamByName(QStringLiteral("COD")).SetAsString(QString::fromLatin1(code));
            cds_->Open();
            EXPECT_FALSE(query_->Active());
            cds_->Edit();
            cds_->FieldByName(QStringLiteral("ARTI_DES")).SetAsString(QStringLiteral("Nueva"));
            if (QByteArray(code) == "01")
                cds_->FieldByName(QStringLiteral("ARTI_FOTO"))
                    .SetAsString(QStringLiteral("http://x/1-01-nueva.jpg"));
            cds_->Post();
            EXPECT_EQ(cds_->ApplyUpdates(0), 0) << code;
        }
    }
    // The last lookup's rows, read after the run's work ended.
    EXPECT_EQ(cds_->FieldByName(QStringLiteral("ARTI_FOTO")).AsString(), "http://x/1-01.jpg");
    EXPECT_EQ(db_.Query("select ARTI_COD, ARTI_DES, ARTI_FOTO from ARTICULOS where ARTI_COD in "
                        "('01', '02') order by 1"),
              (std::vector<QStringList>{{"01", "Nueva", "http://x/1-01-nueva.jpg"},
                                        {"02", "Nueva", "http://x/1-01.jpg"}}));
}
