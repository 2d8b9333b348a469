#include "data/dataset/dataset_provider.h"

#include "data/dataset/db_error.h"
#include "data/dataset/sqlconnection.h"
#include "data/dataset/sqlquery.h"

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

TPacketColumn PacketColumn(const TSQLColumn& c) {
    TPacketColumn col;
    col.name = c.Name;
    col.type = c.DataType;
    if (c.DataType == ftFMTBcd || c.DataType == ftBCD) {
        col.scale = c.Scale;
        col.precision = c.Precision;
    } else if (IsStringType(c.DataType) || c.DataType == ftBytes || c.DataType == ftVarBytes) {
        col.size = c.Size;
    }
    col.required = c.Required;
    col.origin = c.Origin;
    return col;
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

TSQLQuery* TDataSetProvider::Query() const {
    return ComponentAs<TSQLQuery>(dataSet_);
}

TSQLQuery& TDataSetProvider::CheckQuery() const {
    TSQLQuery* query = Query();
    if (!query)
        DatabaseError(QStringLiteral("%1: DataSet property not set").arg(Name()));
    return *query;
}

void TDataSetProvider::CloseQuery(TSQLQuery& query) {
    query.Close();
    openedQuery_ = false;
}

void TDataSetProvider::Reset() {
    TSQLQuery* query = Query();
    if (openedQuery_ && query && query->Active())
        query->Close();
    openedQuery_ = false;
}

void TDataSetProvider::ApplyRequest(TSQLQuery& query, const QString& commandText,
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
            query.SetParams(params);
        else
            query.Params().AssignValues(params);
    }
    if (!params.IsEmpty())
        params_ = params;
}

TRecordsReply TDataSetProvider::AS_GetRecords(const QString&, int count, unsigned options,
                                              const QString& commandText, const TParams& params,
                                              QVariant&) {
    TSQLQuery& query = CheckQuery();
    if (options & grReset) {
        Reset();
        if (count == 0 && !(options & grMetaData))
            return {};
    }
    ApplyRequest(query, commandText, params);
    if (!query.Active()) {
        query.Open();
        openedQuery_ = true;
    }
    std::vector<TPacketColumn> columns;
    for (const TSQLColumn& c : query.Columns())
        columns.push_back(PacketColumn(c));
    TRecordsReply reply;
    TDataPacket packet(std::move(columns));
    if (TSQLConnection* conn = query.SQLConnection())
        packet.SetLcid(static_cast<quint32>(conn->LocaleCode()));
    int rows = 0;
    while ((count < 0 || rows < count) && !query.Eof()) {
        packet.AppendRow(query.Row());
        query.Next();
        ++rows;
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
    TSQLQuery& query = CheckQuery();
    ApplyRequest(query, commandText, params);
    query.ExecSQL();
    return OutputParams(query.Params());
}

std::optional<TParams> TDataSetProvider::AS_GetParams(const QString&, QVariant&) {
    const TSQLQuery& query = CheckQuery();
    if (query.Params().IsEmpty())
        return std::nullopt;
    return query.Params();
}

TApplyReply TDataSetProvider::AS_ApplyUpdates(const QString&, const TDelta& delta, int maxErrors,
                                              QVariant&) {
    TSQLQuery& query = CheckQuery();
    const TChangeResolver& resolve = resolver_ ? resolver_ : DefaultChangeResolver();
    return resolve(*this, query, delta, maxErrors);
}
