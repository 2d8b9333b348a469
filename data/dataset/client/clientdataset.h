#pragma once
// TClientDataSet: the cached-update dataset. It keeps its rows and change log
// in memory (the engine's cursor) and is fed by the provider named by
// ProviderName among the components of its owner: rows arrive in packets of
// PacketRecords (fetched on demand as the cursor moves), statements run
// through Execute, and the change log is written by ApplyUpdates.

#include "data/dataset/dataset.h"
#include "data/dataset/engine/cursor.h"
#include "data/dataset/engine/update_kind.h"
#include "data/dataset/params.h"
#include "data/dataset/update_error.h"

class TDataSetProvider;
class TClientDataSet;

enum TIndexOption {
    ixPrimary,
    ixUnique,
    ixDescending,
    ixCaseInsensitive,
    ixExpression,
    ixNonMaintained
};
// A set of TIndexOption: bit (1 << option).
using TIndexOptions = unsigned;

using TReconcileErrorEvent = std::function<void(TClientDataSet* DataSet, EReconcileError& E,
                                                TUpdateKind UpdateKind, TReconcileAction& Action)>;

class TClientDataSet : public TDataSet {
public:
    explicit TClientDataSet(TComponent* owner = nullptr);
    ~TClientDataSet() override;
    QString ClassName() const override { return QStringLiteral("TClientDataSet"); }
    // TClientDataSet, TCustomClientDataSet, then TDataSet's chain.
    QStringList ClassChain() const override;

    // ---- Provider ---------------------------------------------------------------
    // "Missing data provider or data packet" when no provider of that name
    // is among the owner's components, "Circular provider references not
    // allowed" when the provider reads this dataset.
    const QString& ProviderName() const { return providerName_; }
    void SetProviderName(const QString& name);
    // The linked provider: linked on first use, dropped at every close.
    TDataSetProvider* Provider() const { return provider_; }

    // Sent on every open and execute; empty: the query keeps its statement.
    // A non-empty text rebuilds Params from its ":NAME"s, keeping the values
    // of parameters of the same name; an empty one clears them.
    const QString& CommandText() const { return commandText_; }
    void SetCommandText(const QString& text);
    TParams& Params() { return params_; }
    const TParams& Params() const { return params_; }
    void SetParams(const TParams& params) { params_ = params; }
    TParam& ParamByName(const QString& name) { return params_.ParamByName(name); }

    // Rows per request; -1 (the default) all at once.
    int PacketRecords() const { return packetRecords_; }
    void SetPacketRecords(int count) { packetRecords_ = count; }
    // Ask for more rows when a move passes the last one received (default true).
    bool FetchOnDemand() const { return fetchOnDemand_; }
    void SetFetchOnDemand(bool on);
    // The provider has sent its last row.
    bool ProviderEOF() const { return providerEOF_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    bool CanModify() const override { return Active() && !readOnly_; }

    // Replaces Params with the provider's query's parameter list (kept when
    // the query has none).
    void FetchParams();
    // Runs CommandText (or the query's statement) with Params as a statement
    // without rows; output parameters replace Params.
    void Execute();
    // Asks for the next packet; returns the rows it held.
    int GetNextPacket();

    // ---- Change log -------------------------------------------------------------
    int ChangeCount() const;
    // Posts (or cancels) a pending edit, sends the change log when it has
    // changes and returns the provider's error count; failed changes are
    // reconciled (OnReconcileError) and stay in the log.
    int ApplyUpdates(int maxErrors);
    void MergeChangeLog();

    // ---- Local indexes ------------------------------------------------------------
    // Fields and descending fields are ";"-separated; ixDescending sorts every
    // field descending. Case-insensitive indexes are not supported.
    void AddIndex(const QString& name, const QString& fields, TIndexOptions options = 0,
                  const QString& descFields = {}, const QString& caseInsFields = {},
                  int groupingLevel = 0);
    // Deleting the current index returns to the order of arrival.
    void DeleteIndex(const QString& name);
    // Selecting an index fetches all remaining rows and moves to the first
    // record; "" is the order of arrival. Indexes go when the dataset closes.
    const QString& IndexName() const { return indexName_; }
    void SetIndexName(const QString& name);
    QStringList IndexNames() const;
    bool HasIndex(const QString& name) const;
    // The fields of the current index, in key order.
    QStringList IndexFieldNames() const;
    int IndexFieldCount() const override;
    TField* IndexFields(int index) const override;
    // The 1-based position (RecNo) in the current index's order of the
    // first record whose first index fields hold `values`; 0 when none does.
    // With `partialText` the last value, for a text field, matches every text
    // that begins with it, case-sensitively as the index orders. Does not
    // move. Raises EDBClient without a current index.
    int SeekKeyPrefix(const std::vector<TValue>& values, bool partialText = true) const;

    // Reads the stored rows in the current order, as the engine keeps it.
    TValue FieldValueAt(const TField& field, int recNo) const override;

    TReconcileErrorEvent OnReconcileError;

    // The form reader sets Active through this; it takes effect in Loaded().
    void SetStreamedActive(bool value) { streamedActive_ = value; }
    void Loaded() override;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void InternalFirst() override;
    void InternalLast() override;
    bool InternalNext() override;
    bool InternalPrior() override;
    bool InternalEof() const override { return cursor_.Eof(); }
    bool InternalBof() const override { return cursor_.Bof(); }
    int InternalRecNo() const override;
    void InternalSetRecNo(int recNo) override;
    int InternalRecordCount() const override;
    TDataBookmark InternalBookmark() const override;
    void InternalGotoBookmark(TDataBookmark bookmark) override;
    bool InternalBookmarkValid(TDataBookmark bookmark) const override;
    void InternalInsert(bool append) override;
    void InternalEdit() override;
    void InternalPost() override;
    void InternalCancel() override;
    void InternalDelete() override;
    TValue InternalGetFieldValue(const TField& field) const override;
    void InternalSetFieldValue(const TField& field, const TValue& value) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSetProvider& LinkProvider();
    void UnlinkProvider();
    int FetchPacket();
    // `mergeApplied`: the changes that did not fail reached the database and
    // become plain values; false after a rolled-back apply, when none did.
    void Reconcile(const TErrorPacket& errors, bool mergeApplied);

    QString providerName_;
    QString commandText_;
    TParams params_;
    int packetRecords_ = -1;
    bool fetchOnDemand_ = true;
    bool providerEOF_ = false;
    bool readOnly_ = false;
    bool streamedActive_ = false;
    TDataSetProvider* provider_ = nullptr;
    TEngineCursor cursor_;
    QString indexName_;
};
