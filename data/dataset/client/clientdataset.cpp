#include "data/dataset/client/clientdataset.h"

#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/fields/field.h"
#include "platform/system/convert_error.h"

namespace {

// The engine raises plain exceptions; they reach callers as the dataset's
// database error with the same text, so error handlers see them.
template <typename F> auto Engine(F f) -> decltype(f()) {
    try {
        return f();
    } catch (const EDatabaseError&) {
        throw;
    } catch (const EConvertError&) {
        throw;
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        throw EDBClient(e.Message());
    }
}

} // namespace

TClientDataSet::TClientDataSet(TComponent* owner) : TDataSet(owner) {}

TClientDataSet::~TClientDataSet() {
    CloseForDestruction();
}

void TClientDataSet::Loaded() {
    TDataSet::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        Open();
    }
}

// ---- Provider ---------------------------------------------------------------------

void TClientDataSet::SetProviderName(const QString& name) {
    if (name == providerName_)
        return;
    if (Active())
        DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    UnlinkProvider();
    providerName_ = name;
}

TDataSetProvider& TClientDataSet::LinkProvider() {
    if (provider_)
        return *provider_;
    TComponent* found =
        Owner() && !providerName_.isEmpty() ? Owner()->FindComponent(providerName_) : nullptr;
    auto* provider = ComponentAs<TDataSetProvider>(found);
    if (!provider)
        DatabaseError(QStringLiteral("Missing data provider or data packet"));
    if (provider->DataSet() == this)
        DatabaseError(QStringLiteral("Circular provider references not allowed"));
    provider_ = provider;
    FreeNotification(provider_);
    return *provider_;
}

void TClientDataSet::UnlinkProvider() {
    if (!provider_)
        return;
    provider_->RemoveFreeNotification(this);
    RemoveFreeNotification(provider_);
    provider_ = nullptr;
}

void TClientDataSet::Notification(TComponent* component, TOperation operation) {
    TDataSet::Notification(component, operation);
    if (operation == TOperation::opRemove && component == provider_)
        provider_ = nullptr;
}

void TClientDataSet::SetCommandText(const QString& text) {
    commandText_ = text;
    if (text.isEmpty()) {
        params_.Clear();
        return;
    }
    TParams rebuilt;
    rebuilt.ParseSQL(text, true);
    rebuilt.AssignValues(params_);
    params_ = std::move(rebuilt);
}

void TClientDataSet::SetFetchOnDemand(bool on) {
    fetchOnDemand_ = on;
    cursor_.SetFetchOnDemand(on);
}

void TClientDataSet::SetReadOnly(bool on) {
    readOnly_ = on;
    cursor_.SetReadOnly(on);
}

void TClientDataSet::FetchParams() {
    QVariant ownerData;
    std::optional<TParams> params = LinkProvider().AS_GetParams(providerName_, ownerData);
    if (params)
        params_ = std::move(*params);
}

void TClientDataSet::Execute() {
    QVariant ownerData;
    std::optional<TParams> out =
        LinkProvider().AS_Execute(providerName_, commandText_, params_, ownerData);
    if (out)
        params_ = std::move(*out);
}

int TClientDataSet::FetchPacket() {
    if (providerEOF_ || !provider_)
        return 0;
    const int count = packetRecords_ > 0 ? packetRecords_ : -1;
    QVariant ownerData;
    TRecordsReply reply =
        provider_->AS_GetRecords(providerName_, count, 0, QString(), TParams(), ownerData);
    providerEOF_ = reply.recsOut != count;
    if (!reply.packet) {
        providerEOF_ = true;
        return 0;
    }
    reply.packet->SetLast(providerEOF_);
    Engine([&] { cursor_.AppendPacket(std::move(*reply.packet)); });
    return reply.recsOut;
}

int TClientDataSet::GetNextPacket() {
    CheckActive();
    const int rows = FetchPacket();
    if (rows > 0)
        DataEvent(deDataSetChange);
    return rows;
}

// ---- Open and close ---------------------------------------------------------------

void TClientDataSet::InternalOpen() {
    TDataSetProvider& provider = LinkProvider();
    QVariant ownerData;
    TRecordsReply reply = provider.AS_GetRecords(providerName_, packetRecords_, grMetaData,
                                                 commandText_, params_, ownerData);
    if (!reply.packet)
        DatabaseError(QStringLiteral("Missing data provider or data packet"));
    providerEOF_ = reply.recsOut != packetRecords_;
    reply.packet->SetLast(providerEOF_);
    Engine([&] { cursor_.Open(std::move(*reply.packet)); });
    cursor_.SetFetchOnDemand(fetchOnDemand_);
    cursor_.SetReadOnly(readOnly_);
    cursor_.SetFetchHook([this] { return FetchPacket() > 0; });
    MakeFields(cursor_.Columns());
    if (reply.params)
        params_ = std::move(*reply.params);
}

void TClientDataSet::InternalClose() {
    cursor_.Close();
    cursor_.SetFetchHook({});
    indexName_.clear();
    providerEOF_ = false;
    if (!provider_)
        return;
    // The provider closes its query if it opened it; the link goes either way.
    TDataSetProvider* provider = provider_;
    UnlinkProvider();
    QVariant ownerData;
    provider->AS_GetRecords(providerName_, 0, grReset, QString(), TParams(), ownerData);
}

// ---- Moves ------------------------------------------------------------------------

void TClientDataSet::InternalFirst() {
    Engine([&] { cursor_.First(); });
}

void TClientDataSet::InternalLast() {
    Engine([&] { cursor_.Last(); });
}

bool TClientDataSet::InternalNext() {
    return Engine([&] { return cursor_.Next(); });
}

bool TClientDataSet::InternalPrior() {
    return Engine([&] { return cursor_.Prior(); });
}

int TClientDataSet::InternalRecNo() const {
    return cursor_.IsOpen() ? cursor_.RecNo() : 0;
}

void TClientDataSet::InternalSetRecNo(int recNo) {
    Engine([&] { cursor_.SetRecNo(recNo); });
}

int TClientDataSet::InternalRecordCount() const {
    return cursor_.IsOpen() ? cursor_.RecordCount() : 0;
}

TDataBookmark TClientDataSet::InternalBookmark() const {
    return cursor_.IsOpen() ? cursor_.Bookmark() : NoDataBookmark;
}

void TClientDataSet::InternalGotoBookmark(TDataBookmark bookmark) {
    Engine([&] { cursor_.GotoBookmark(bookmark); });
}

bool TClientDataSet::InternalBookmarkValid(TDataBookmark bookmark) const {
    return cursor_.BookmarkValid(bookmark);
}

TValue TClientDataSet::FieldValueAt(const TField& field, int recNo) const {
    if (!Active() || field.FieldNo() == 0)
        return TValue();
    // The record being edited reads from its edit buffer; a new record being
    // inserted has no number, so the stored record under the number is read.
    if (recNo == RecNo() && State() != dsInsert)
        return GetFieldValue(field);
    return Engine([&] { return cursor_.CellAt(recNo, field.FieldNo() - 1); });
}

// ---- Editing ----------------------------------------------------------------------

void TClientDataSet::InternalInsert(bool append) {
    Engine([&] {
        if (append)
            cursor_.Append();
        else
            cursor_.Insert();
    });
}

void TClientDataSet::InternalEdit() {
    Engine([&] { cursor_.Edit(); });
}

void TClientDataSet::InternalPost() {
    Engine([&] { cursor_.Post(); });
}

void TClientDataSet::InternalCancel() {
    cursor_.Cancel();
}

void TClientDataSet::InternalDelete() {
    Engine([&] {
        if (cursor_.State() != TCursorState::Browse)
            cursor_.Cancel();
        cursor_.Delete();
    });
}

TValue TClientDataSet::InternalGetFieldValue(const TField& field) const {
    return Engine([&] { return cursor_.Cell(field.FieldNo() - 1); });
}

void TClientDataSet::InternalSetFieldValue(const TField& field, const TValue& value) {
    Engine([&] { cursor_.SetCell(field.FieldNo() - 1, value); });
}

// ---- Change log -------------------------------------------------------------------

int TClientDataSet::ChangeCount() const {
    return cursor_.IsOpen() ? cursor_.ChangeCount() : 0;
}

void TClientDataSet::MergeChangeLog() {
    CheckActive();
    Engine([&] { cursor_.MergeChangeLog(); });
}

int TClientDataSet::ApplyUpdates(int maxErrors) {
    CheckActive();
    CheckBrowseMode();
    if (ChangeCount() == 0)
        return 0;
    const TDelta delta = Engine([&] { return cursor_.Delta(); });
    QVariant ownerData;
    TApplyReply reply = LinkProvider().AS_ApplyUpdates(providerName_, delta, maxErrors, ownerData);
    if (reply.errors)
        Reconcile(*reply.errors, !reply.rolledBack);
    else
        Engine([&] { cursor_.MergeChangeLog(); });
    DataEvent(deDataSetChange);
    return reply.errorCount;
}

void TClientDataSet::Reconcile(const TErrorPacket& errors, bool mergeApplied) {
    Engine([&] {
        cursor_.Reconcile(
            errors,
            [this](const TReconcileInfo& info) {
                EReconcileError error(info.message, QString(), info.errorCode);
                TReconcileAction action = info.proposed == raSkip ? raSkip : raAbort;
                if (OnReconcileError)
                    OnReconcileError(this, error, info.kind, action);
                return action;
            },
            mergeApplied);
    });
}

// ---- Local indexes ----------------------------------------------------------------

void TClientDataSet::AddIndex(const QString& name, const QString& fields, TIndexOptions options,
                              const QString& descFields, const QString& caseInsFields, int) {
    CheckActive();
    CheckBrowseMode();
    if ((options & (1u << ixCaseInsensitive)) || !caseInsFields.isEmpty())
        DatabaseError(QStringLiteral("Case-insensitive indexes are not supported"));
    const QString desc = (options & (1u << ixDescending)) ? fields : descFields;
    Engine([&] { cursor_.AddIndex(name, fields, desc); });
}

void TClientDataSet::DeleteIndex(const QString& name) {
    CheckActive();
    CheckBrowseMode();
    Engine([&] { cursor_.DeleteIndex(name); });
    if (indexName_.compare(name, Qt::CaseInsensitive) == 0) {
        indexName_.clear();
        DataEvent(deDataSetChange);
    }
}

void TClientDataSet::SetIndexName(const QString& name) {
    CheckActive();
    CheckBrowseMode();
    Engine([&] { cursor_.SelectIndex(name); });
    indexName_ = cursor_.IndexName();
    DataEvent(deDataSetChange);
}

QStringList TClientDataSet::IndexNames() const {
    return cursor_.IsOpen() ? cursor_.IndexNames() : QStringList();
}

bool TClientDataSet::HasIndex(const QString& name) const {
    return cursor_.IsOpen() && cursor_.HasIndex(name);
}

QStringList TClientDataSet::IndexFieldNames() const {
    return cursor_.IsOpen() ? cursor_.IndexFieldNames() : QStringList();
}

int TClientDataSet::IndexFieldCount() const {
    return static_cast<int>(IndexFieldNames().size());
}

TField* TClientDataSet::IndexFields(int index) const {
    const QStringList names = IndexFieldNames();
    return index >= 0 && index < names.size() ? FindField(names[index]) : nullptr;
}

int TClientDataSet::SeekKeyPrefix(const std::vector<TValue>& values, bool partialText) const {
    CheckActive();
    return Engine([&] { return cursor_.SeekKeyPrefix(values, partialText); });
}
