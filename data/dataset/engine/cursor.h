#pragma once
// The cursor a client dataset works through: it owns the rows, moves over
// them in the selected order, keeps the edit buffer of the record being
// inserted or edited, and holds the local indexes.

#include "data/dataset/engine/local_index.h"
#include "data/dataset/engine/row_store.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

enum class TCursorState { Browse, Insert, Edit };

class TEngineCursor {
public:
    static constexpr int BookmarkSize = sizeof(TBookmark);

    TEngineCursor() = default;
    TEngineCursor(const TEngineCursor&) = delete;
    TEngineCursor& operator=(const TEngineCursor&) = delete;

    // ---- Rows ---------------------------------------------------------------
    // Takes the first packet; the cursor stands on the first record.
    void Open(TDataPacket first);
    // Drops rows, change log and indexes.
    void Close();
    bool IsOpen() const { return store_ != nullptr; }
    // A later packet, in the order of arrival; with an index selected the new
    // records go to their places. The current record stays current.
    void AppendPacket(TDataPacket packet);
    bool IsComplete() const;
    // Asks the client dataset for one more packet, which it hands back
    // through AppendPacket; returns false when none came. Called when a move
    // forward passes the last record (FetchOnDemand) and, until the last
    // packet has arrived, before Last and before an index is selected.
    void SetFetchHook(std::function<bool()> hook) { fetchHook_ = std::move(hook); }
    void SetFetchOnDemand(bool on) { fetchOnDemand_ = on; }
    void FetchAll();

    const std::vector<TPacketColumn>& Columns() const;
    int FieldCount() const;
    int FieldIndex(const QString& name) const; // -1 when absent; case-insensitive
    int RecordSize() const;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    const TRowStore& Store() const;

    // ---- Moves --------------------------------------------------------------
    int RecordCount() const;
    bool IsEmpty() const { return RecordCount() == 0; }
    // 1-based position in the current order; 0 when there is no record.
    int RecNo() const;
    void SetRecNo(int recNo);
    void First();
    void Last();
    // False when no record followed (Eof is then set).
    bool Next();
    bool Prior();
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }

    TBookmark Bookmark() const; // NoBookmark when there is no record
    bool BookmarkValid(TBookmark bookmark) const;
    // Raises Exception "Record not found" for a bookmark of no visible record.
    void GotoBookmark(TBookmark bookmark);

    // The cell of the current record, or of the edit buffer while inserting or editing.
    TValue Cell(int col) const;
    // The cell of the record at 1-based position `recNo` of the current
    // order, read without moving (as stored: an edit not yet posted is not
    // seen); null out of range. For views that show many records (the grid).
    TValue CellAt(int recNo, int col) const;

    // ---- Edits --------------------------------------------------------------
    TCursorState State() const { return state_; }
    // A new record before the current one (Insert) or at the end (Append).
    void Insert();
    void Append();
    void Edit();
    // Converts the value for the column; EConvertError when it cannot.
    void SetCell(int col, const TValue& value);
    bool Modified() const { return modified_; }
    void Post();
    void Cancel();
    // The current record; the next one (or the new last one) becomes current.
    void Delete();

    // ---- Change log ----------------------------------------------------------
    int ChangeCount() const;
    TDelta Delta() const;
    void MergeChangeLog();
    // See TRowStore::Reconcile.
    bool Reconcile(const TErrorPacket& errors, const TReconcileCallback& callback,
                   bool mergeRest = true);

    // ---- Indexes -------------------------------------------------------------
    // See TLocalIndex for the rules; a name in use raises Exception.
    void AddIndex(const QString& name, const QString& fields, const QString& descFields = {});
    void DeleteIndex(const QString& name);
    // Empty name: no index, the order of arrival. Fetches every remaining
    // row first; the cursor goes to the first record.
    void SelectIndex(const QString& name);
    QString IndexName() const;
    QStringList IndexFieldNames() const; // of the selected index
    QStringList IndexNames() const;
    bool HasIndex(const QString& name) const;
    // The 1-based position in the selected index's order of the first record
    // whose first index fields hold `values`; 0 when none does. With
    // `partialText` the last value, for a text field, matches every text
    // that begins with it (case-sensitively, as the index orders). Does not
    // move. Raises Exception without a selected index or with more values
    // than index fields.
    int SeekKeyPrefix(const std::vector<TValue>& values, bool partialText = true) const;

private:
    TRowStore& Rows();
    const TLocalIndex* Selected() const;
    const std::vector<TBookmark>& Order() const;
    TLocalIndex* Selected();
    int FindIndex(const QString& name) const;
    void CheckBrowse(const char* what) const;
    void CheckWritable() const;
    void PlaceAfterChange(TBookmark record);
    void RebuildOrders();
    void Locate(TBookmark record);
    bool FetchMore();

    std::unique_ptr<TRowStore> store_;
    std::vector<TLocalIndex> indexes_;
    int selected_ = -1;
    int pos_ = 0; // into Order(); meaningful when the order is not empty
    bool bof_ = true;
    bool eof_ = true;
    TCursorState state_ = TCursorState::Browse;
    std::vector<TValue> buffer_;
    bool modified_ = false;
    TBookmark insertBefore_ = NoBookmark;
    bool readOnly_ = false;
    bool fetchOnDemand_ = true;
    std::function<bool()> fetchHook_;
};
