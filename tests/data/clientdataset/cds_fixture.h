#pragma once
// A window-like owner with a connection, a query, a provider that records
// every request it serves, and a client dataset named after it, against a
// fresh database on the local server.

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "tests/support/database_error_of.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

struct ProviderRequest {
    QString kind; // GetRecords, Execute, GetParams, ApplyUpdates
    int count = 0;
    unsigned options = 0;
    QString commandText;
    int paramCount = 0;
    bool queryActiveAfter = false;
};

// The real provider; it only notes what it was asked and how it left its query.
class RecordingProvider : public TDataSetProvider {
public:
    using TDataSetProvider::TDataSetProvider;
    std::vector<ProviderRequest> requests;

    TRecordsReply AS_GetRecords(const QString& name, int count, unsigned options,
                                const QString& commandText, const TParams& params,
                                QVariant& ownerData) override {
        Note({QStringLiteral("GetRecords"), count, options, commandText, params.Count(), false});
        TRecordsReply reply =
            TDataSetProvider::AS_GetRecords(name, count, options, commandText, params, ownerData);
        requests.back().queryActiveAfter = Query()->Active();
        return reply;
    }
    std::optional<TParams> AS_Execute(const QString& name, const QString& commandText,
                                      const TParams& params, QVariant& ownerData) override {
        Note({QStringLiteral("Execute"), 0, 0, commandText, params.Count(), false});
        return TDataSetProvider::AS_Execute(name, commandText, params, ownerData);
    }
    std::optional<TParams> AS_GetParams(const QString& name, QVariant& ownerData) override {
        Note({QStringLiteral("GetParams"), 0, 0, QString(), 0});
        return TDataSetProvider::AS_GetParams(name, ownerData);
    }
    TApplyReply AS_ApplyUpdates(const QString& name, const TDelta& delta, int maxErrors,
                                QVariant& ownerData) override {
        Note({QStringLiteral("ApplyUpdates"), maxErrors, 0, QString(), 0});
        return TDataSetProvider::AS_ApplyUpdates(name, delta, maxErrors, ownerData);
    }

private:
    void Note(ProviderRequest r) { requests.push_back(std::move(r)); }
};

class CdsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.RunFixture(QStringLiteral("quelbo.sql"));
        db_.Run(
            QStringLiteral("insert into ARTICULOS values ('01', 'Uno', 'u', 3, 1, null, 'S');"
                           "insert into ARTICULOS values ('02', 'Dos', 'kg', 1, 2, null, 'S');"
                           "insert into ARTICULOS values ('03', 'Tres', 'u', 2, 1, null, 'N');"));
        conn_ = new TSQLConnection(&root_);
        conn_->SetName(QStringLiteral("Quelbo"));
        conn_->SetLoginPrompt(false);
        conn_->SetParams(db_.ConnectionParams());
        query_ = new TSQLQuery(&root_);
        query_->SetName(QStringLiteral("TArticulo"));
        query_->SetSQLConnection(conn_);
        query_->SetSQLText(QStringLiteral("SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD"));
        query_->ParamByName(QStringLiteral("COD")).SetAsString(QStringLiteral("01"));
        provider_ = new RecordingProvider(&root_);
        provider_->SetName(QStringLiteral("PArticuloqb"));
        provider_->SetDataSet(query_);
        cds_ = new TClientDataSet(&root_);
        cds_->SetName(QStringLiteral("Carticuloqb"));
        cds_->SetProviderName(QStringLiteral("PArticuloqb"));
    }

    // The query reads whatever text the client sends.
    void AllowCommandText() {
        provider_->SetOptions(ProviderOption(poAllowCommandText));
        query_->SetSQLText(QString());
    }

    std::vector<ProviderRequest>& Requests() { return provider_->requests; }

    TestDatabase db_{QStringLiteral("cds")};
    TComponent root_;
    TSQLConnection* conn_ = nullptr;
    TSQLQuery* query_ = nullptr;
    RecordingProvider* provider_ = nullptr;
    TClientDataSet* cds_ = nullptr;
};
