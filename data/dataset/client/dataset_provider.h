#pragma once
// TDataSetProvider: serves one client dataset from a query of the data
// module (any IProviderQuery). It sets the query's statement and parameters
// from the client's requests, reads its rows into data packets (holding the
// query open between packets), executes statements, and hands change logs
// to the change resolution (change_resolver.h). The packets keep their
// blobs of TBlobSpill::DefaultThreshold bytes or more in a temporary file
// (blob_spill.h), so that rows with photographs take little memory.

#include "data/dataset/client/app_server.h"
#include "data/dataset/client/change_resolver.h"
#include "data/dataset/engine/blob_spill.h"
#include "data/dataset/engine/update_kind.h"
#include "data/dataset/update_error.h"
#include "platform/core/component.h"
#include "platform/core/events.h"

class IProviderQuery;
class TDataSet;

enum TProviderOption {
    poFetchBlobsOnDemand,
    poFetchDetailsOnDemand,
    poIncFieldProps,
    poCascadeDeletes,
    poCascadeUpdates,
    poReadOnly,
    poAllowMultiRecordUpdates,
    poDisableInserts,
    poDisableEdits,
    poDisableDeletes,
    poNoReset,
    poAutoRefresh,
    poPropogateChanges,
    poAllowCommandText,
    poRetainServerOrder,
};
// A set of TProviderOption: bit (1 << option).
using TProviderOptions = unsigned;
constexpr TProviderOptions ProviderOption(TProviderOption o) {
    return 1u << o;
}

enum TUpdateMode { upWhereAll, upWhereChanged, upWhereKeyOnly };

enum TResolverResponse { rrSkip, rrAbort, rrMerge, rrApply, rrIgnore };

// Sender is the provider, DataSet the delta positioned on the failing change.
using TResolverErrorEvent =
    std::function<void(TObject* Sender, TDataSet* DataSet, EUpdateError& E, TUpdateKind UpdateKind,
                       TResolverResponse& Response)>;

class TDataSetProvider : public TComponent, public IAppServer {
public:
    explicit TDataSetProvider(TComponent* owner = nullptr);
    ~TDataSetProvider() override;
    QString ClassName() const override { return QStringLiteral("TDataSetProvider"); }

    // The query it reads (a component that is an IProviderQuery; any other
    // is refused when the provider is used). May live in another module.
    TComponent* DataSet() const { return dataSet_; }
    void SetDataSet(TComponent* dataSet);
    IProviderQuery* Query() const;

    TProviderOptions Options() const { return options_; }
    void SetOptions(TProviderOptions options) { options_ = options; }
    bool HasOption(TProviderOption o) const { return (options_ & ProviderOption(o)) != 0; }
    TUpdateMode UpdateMode() const { return updateMode_; }
    void SetUpdateMode(TUpdateMode mode) { updateMode_ = mode; }
    // False: changes are written by generated statements, not through the query.
    bool ResolveToDataSet() const { return resolveToDataSet_; }
    void SetResolveToDataSet(bool v) { resolveToDataSet_ = v; }

    TResolverErrorEvent OnUpdateError;

    // The last parameter list a client sent.
    const TParams& Params() const { return params_; }
    // Whether the provider opened its query itself.
    bool OpenedQuery() const { return openedQuery_; }
    // Closes the query if the provider opened it.
    void Reset();

    // A resolver for this provider only; empty: the query's own.
    void SetResolver(TChangeResolver resolver) { resolver_ = std::move(resolver); }

    // ---- The requests --------------------------------------------------------------
    TRecordsReply AS_GetRecords(const QString& providerName, int count, unsigned options,
                                const QString& commandText, const TParams& params,
                                QVariant& ownerData) override;
    std::optional<TParams> AS_Execute(const QString& providerName, const QString& commandText,
                                      const TParams& params, QVariant& ownerData) override;
    std::optional<TParams> AS_GetParams(const QString& providerName, QVariant& ownerData) override;
    TApplyReply AS_ApplyUpdates(const QString& providerName, const TDelta& delta, int maxErrors,
                                QVariant& ownerData) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    IProviderQuery& CheckQuery() const;
    // Command text and parameters of a request, as Open and Execute take them.
    void ApplyRequest(IProviderQuery& query, const QString& commandText, const TParams& params);
    void CloseQuery(IProviderQuery& query);

    TComponent* dataSet_ = nullptr;
    TProviderOptions options_ = 0;
    TUpdateMode updateMode_ = upWhereAll;
    bool resolveToDataSet_ = false;
    TParams params_;
    bool openedQuery_ = false;
    TChangeResolver resolver_;
    std::shared_ptr<TBlobSpill> spill_; // of the reading under way
};
