#include "tests/support/memory_query.h"

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/client/dataset_provider.h"
#include "platform/core/exception.h"

#include <algorithm>

TMemoryQuery::TMemoryQuery(TComponent* owner, std::vector<TPacketColumn> columns)
    : TComponent(owner), columns_(std::move(columns)) {}

void TMemoryQuery::AppendRow(std::vector<TValue> row) {
    if (row.size() != columns_.size())
        throw Exception(
            QStringLiteral("%1 values for %2 columns").arg(row.size()).arg(columns_.size()));
    rows_.push_back(std::move(row));
}

void TMemoryQuery::SetSQLText(const QString& text) {
    statements << text;
    active_ = false;
}

void TMemoryQuery::Open() {
    ++opens;
    active_ = true;
    at_ = 0;
}

const std::vector<TValue>& TMemoryQuery::Row() const {
    static const std::vector<TValue> kNone;
    return Eof() ? kNone : rows_[at_];
}

void TMemoryQuery::Next() {
    if (!Eof())
        ++at_;
}

int TMemoryQuery::ExecSQL() {
    ++executions;
    return 0;
}

TApplyReply TMemoryQuery::ResolveChanges(TDataSetProvider&, const TDelta& delta, int maxErrors) {
    applied.push_back(delta);
    TApplyReply reply;
    TErrorPacket packet;
    for (size_t i = 0; i < delta.changes.size(); ++i) {
        const TDeltaChange& change = delta.changes[i];
        if (change.kind == ukInsert) {
            rows_.push_back(change.newValues);
            continue;
        }
        const auto row = std::find(rows_.begin(), rows_.end(), change.oldValues);
        if (row == rows_.end()) {
            ++reply.errorCount;
            const bool abort = maxErrors >= 0 && reply.errorCount > maxErrors;
            packet.errors.push_back({static_cast<int>(i), 0,
                                     QStringLiteral("Record not found or changed by another user"),
                                     abort ? raAbort : raSkip});
            if (abort)
                break;
            continue;
        }
        if (change.kind == ukDelete)
            rows_.erase(row);
        else
            *row = change.newValues;
    }
    if (!packet.errors.empty())
        reply.errors = std::move(packet);
    return reply;
}

TClientDataSet* ClientDataSetOn(TMemoryQuery& rows, const QString& name) {
    auto* provider = new TDataSetProvider(rows.Owner());
    provider->SetName(QStringLiteral("P") + name);
    provider->SetDataSet(&rows);
    auto* client = new TClientDataSet(rows.Owner());
    client->SetName(QStringLiteral("C") + name);
    client->SetProviderName(provider->Name());
    return client;
}
