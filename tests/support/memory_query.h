#pragma once
// TMemoryQuery: rows held in memory that a real TDataSetProvider serves as it
// serves a query of the data module, so that a client dataset gets packets,
// fetches on demand, sorts, searches and applies its change log without a
// server. For the suites of the grid, sorting and search, which need many
// rows.
//
//   TComponent owner;
//   auto* rows = new TMemoryQuery(&owner, {PacketColumn("CODIGO", ftString, 20),
//                                          PacketColumn("CATEG", ftInteger)});
//   rows->AppendRow({"A-1", 7});
//   TClientDataSet* cds = ClientDataSetOn(*rows);   // provider "PMemory", dataset "CMemory"
//   cds->Open();
//
// An applied change log is written into the rows: an insert appends, an
// edit or delete finds its row by the values read; a change whose row is
// not there fails with "Record not found or changed by another user".

#include "data/dataset/client/provider_query.h"
#include "platform/core/component.h"

#include <vector>

class TClientDataSet;
class TDataSetProvider;

class TMemoryQuery : public TComponent, public IProviderQuery {
public:
    TMemoryQuery(TComponent* owner, std::vector<TPacketColumn> columns);
    QString ClassName() const override { return QStringLiteral("TMemoryQuery"); }

    // One value per column.
    void AppendRow(std::vector<TValue> row);
    std::vector<std::vector<TValue>>& Rows() { return rows_; }
    const std::vector<std::vector<TValue>>& Rows() const { return rows_; }
    const std::vector<TPacketColumn>& Columns() const { return columns_; }

    // What the provider asked: the statements set, how often the rows were
    // opened and statements executed, the deltas it handed over.
    QStringList statements;
    int opens = 0;
    int executions = 0;
    std::vector<TDelta> applied;

    void SetSQLText(const QString& text) override;
    TParams& Params() override { return params_; }
    const TParams& Params() const override { return params_; }
    bool Active() const override { return active_; }
    void Open() override;
    void Close() override { active_ = false; }
    bool Eof() const override { return !active_ || at_ >= rows_.size(); }
    const std::vector<TValue>& Row() const override;
    void Next() override;
    std::vector<TPacketColumn> PacketColumns() const override { return columns_; }
    quint32 PacketLcid() const override { return 0; }
    int ExecSQL() override;
    TApplyReply ResolveChanges(TDataSetProvider& provider, const TDelta& delta,
                               int maxErrors) override;

private:
    std::vector<TPacketColumn> columns_;
    std::vector<std::vector<TValue>> rows_;
    TParams params_;
    bool active_ = false;
    size_t at_ = 0;
};

// A provider named "P" + `name` and a client dataset named "C" + `name`,
// owned by the rows' owner, that reads `rows`; the dataset is not opened.
TClientDataSet* ClientDataSetOn(TMemoryQuery& rows, const QString& name = QStringLiteral("Memory"));
