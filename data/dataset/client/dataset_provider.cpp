#include "data/dataset/client/dataset_provider.h"

#include "data/dataset/client/provider_query.h"
#include "data/dataset/db_error.h"

namespace {

// The query's output parameters; none when it has none.
std::optional<TParams> OutputParams(const TParams& params) {
    TParams out;
    for (int i = 0; i < params.Count(); ++i) {
        const TParam& p = params[i];
        if (p.ParamType() == ptOutput || p.ParamType() == ptInputOutput ||
            p.ParamType() == ptResult)
            out.CreateParam(p.DataType(), p.Name(), p.ParamType()).SetValue(p.Value());
    }
    if (out.IsEmpty())
        return std::nullopt;
    return out;
}

} // namespace

TDataSetProvider::TDataSetProvider(TComponent* owner) : TComponent(owner) {}

TDataSetProvider::~TDataSetProvider() = default;

void TDataSetProvider::SetDataSet(TComponent* dataSet) {
    if (dataSet == dataSet_)
        return;
    if (dataSet_) {
        dataSet_->RemoveFreeNotification(this);
        RemoveFreeNotification(dataSet_);
    }
    dataSet_ = dataSet;
    openedQuery_ = false;
    if (dataSet_)
        dataSet_->FreeNotification(this);
}

void TDataSetProvider::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dataSet_) {
        dataSet_ = nullptr;
        openedQuery_ = false;
    }
}

IProviderQuery* TDataSetProvider::Query() const {
    return dynamic_cast<IProviderQuery*>(dataSet_);
}

IProviderQuery& TDataSetProvider::CheckQuery() const {
    IProviderQuery* query = Query();
    if (!query)
        DatabaseError(QStringLiteral("%1: DataSet property not set").arg(Name()));
    return *query;
}

void TDataSetProvider::CloseQuery(IProviderQuery& query) {
    query.Close();
    openedQuery_ = false;
}

void TDataSetProvider::Reset() {
    IProviderQuery* query = Query();
    if (openedQuery_ && query && query->Active())
        query->Close();
    openedQuery_ = false;
    spill_.reset();
}

void TDataSetProvider::ApplyRequest(IProviderQuery& query, const QString& commandText,
                                    const TParams& params) {
    bool newText = false;
    if (!commandText.isEmpty()) {
        if (!HasOption(poAllowCommandText))
            DatabaseError(QStringLiteral("CommandText changes are not allowed"));
        qsizetype start = 0;
        while (start < commandText.size() && commandText[start] <= u' ')
            ++start;
        CloseQuery(query);
        query.SetSQLText(commandText.mid(start));
        newText = true;
    }
    // A statement text just set has rebuilt the query's parameters without
    // values, so the values sent go in even when they equal the last ones.
    if (!params.IsEmpty() && (newText || !params.IsEqual(params_))) {
        CloseQuery(query);
        if (query.Params().IsEmpty())
            query.Params() = params;
        else
            query.Params().AssignValues(params);
    }
    if (!params.IsEmpty())
        params_ = params;
}

TRecordsReply TDataSetProvider::AS_GetRecords(const QString&, int count, unsigned options,
                                              const QString& commandText, const TParams& params,
                                              QVariant&) {
    IProviderQuery& query = CheckQuery();
    if (options & grReset) {
        Reset();
        if (count == 0 && !(options & grMetaData))
            return {};
    }
    ApplyRequest(query, commandText, params);
    if (!query.Active()) {
        query.Open();
        openedQuery_ = true;
        spill_.reset();
    }
    // The packets of one reading of the query share one spill, which the
    // client's rows take over with them.
    if (!spill_)
        spill_ = TBlobSpill::Create();
    TRecordsReply reply;
    TDataPacket packet(query.PacketColumns(), spill_);
    packet.SetLcid(query.PacketLcid());
    int rows = 0;
    try {
        while ((count < 0 || rows < count) && !query.Eof()) {
            packet.AppendRow(query.Row());
            query.Next();
            ++rows;
        }
    } catch (...) {
        // Nothing half-read stays behind: the rows read so far go with the
        // packet, and the next request reads the query from its start.
        Reset();
        throw;
    }
    // Fewer rows than asked for: the result is read to its end.
    const bool finished = count <= 0 || rows < count;
    packet.SetLast(finished);
    reply.recsOut = rows;
    reply.params = OutputParams(query.Params());
    reply.packet = std::move(packet);
    if (finished)
        Reset();
    return reply;
}

std::optional<TParams> TDataSetProvider::AS_Execute(const QString&, const QString& commandText,
                                                    const TParams& params, QVariant&) {
    IProviderQuery& query = CheckQuery();
    ApplyRequest(query, commandText, params);
    query.ExecSQL();
    return OutputParams(query.Params());
}

std::optional<TParams> TDataSetProvider::AS_GetParams(const QString&, QVariant&) {
    const IProviderQuery& query = CheckQuery();
    if (query.Params().IsEmpty())
        return std::nullopt;
    return query.Params();
}

TApplyReply TDataSetProvider::AS_ApplyUpdates(const QString&, const TDelta& delta, int maxErrors,
                                              QVariant&) {
    IProviderQuery& query = CheckQuery();
    if (resolver_)
        return resolver_(*this, query, delta, maxErrors);
    return query.ResolveChanges(*this, delta, maxErrors);
}
