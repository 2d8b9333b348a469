#pragma once
// TDataSet: the record-at-a-time view of rows that fields, data sources and
// data-aware controls work through: states, moves, bookmarks, editing with
// its error loop, and the notifications that data sources pass on to their
// data links. A subclass supplies the rows (TClientDataSet).
//
// Notifications (TDataEvent), as a data link receives them:
//   deUpdateState     the state changed (opened, closed, edit, insert, browse)
//   deDataSetChange   the rows or the position changed in a way that needs a
//                     full refresh (open, first, last, post, cancel, delete, index)
//   deDataSetScroll   the current record moved by `info` records (Next, Prior)
//   deRecordChange    the current record's values changed as a whole (Edit)
//   deFieldChange     one field of the current record changed (`field`)
//   deLayoutChange    the field list changed
//   deUpdateRecord    Post (or a move that posts) asks the controls to write back
//   deCheckBrowseMode the dataset is about to leave the edit or insert state
//   deFocusControl    the control of `field` should take the focus (a
//                     required field left empty)
// Between DisableControls and EnableControls nothing is sent; the last
// EnableControls sends one deDataSetChange (and deUpdateState when the state
// changed meanwhile).

#include "data/dataset/db_error.h"
#include "data/dataset/engine/column.h"
#include "data/dataset/values/value.h"
#include "platform/core/component.h"

#include <functional>
#include <vector>

class TDataSet;
class TDataSource;
class TField;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    deFocusControl,
};

// What an error handler of Post, Edit or Delete decides: let the error go
// on (daFail, preset), end the operation silently (daAbort), try again (daRetry).
enum TDataAction { daFail, daAbort, daRetry };

using TDataSetErrorEvent =
    std::function<void(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action)>;
using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;

// A record's identity, valid while the dataset stays open.
using TDataBookmark = quint32;
inline constexpr TDataBookmark NoDataBookmark = 0xFFFFFFFFu;

class TDataSet : public TComponent {
public:
    explicit TDataSet(TComponent* owner = nullptr);
    ~TDataSet() override;
    QString ClassName() const override { return QStringLiteral("TDataSet"); }

    // ---- State ----------------------------------------------------------------
    TDataSetState State() const { return state_; }
    bool Active() const { return state_ != dsInactive; }
    // Opening an open dataset and closing a closed one do nothing. A failed
    // open leaves the dataset closed.
    void SetActive(bool value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    // A field of the record being edited or inserted was written.
    bool Modified() const { return modified_; }
    virtual bool CanModify() const { return Active(); }

    // ---- Fields ---------------------------------------------------------------
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField* Fields(int index) const { return fields_.at(static_cast<size_t>(index)); }
    const std::vector<TField*>& FieldList() const { return fields_; }
    // Case-insensitive; null when absent.
    TField* FindField(QStringView name) const;
    TField* FindField(const QString& name) const { return FindField(QStringView(name)); }
    // Raises "Field '%s' not found".
    TField& FieldByName(QStringView name) const;
    TField& FieldByName(const QString& name) const { return FieldByName(QStringView(name)); }
    int FieldIndexOf(const TField* field) const;
    // The fields were made from the result (no declared fields); they go at close.
    bool DefaultFields() const { return defaultFields_; }

    // ---- Moves ----------------------------------------------------------------
    // Each move first posts (or cancels, when nothing was written) a record
    // being edited or inserted.
    void First();
    void Last();
    void Next();
    void Prior();
    // Returns the number of records actually moved.
    int MoveBy(int distance);
    bool Eof() const;
    bool Bof() const;
    // 1-based position in the current order; 0 when there is no record.
    int RecNo() const;
    void SetRecNo(int recNo);
    int RecordCount() const;
    bool IsEmpty() const;
    TDataBookmark Bookmark() const;
    void GotoBookmark(TDataBookmark bookmark);
    bool BookmarkValid(TDataBookmark bookmark) const;

    // Reads a field of any record by its position in the current order
    // without moving; for controls that show several records (the grid).
    // The current record reads as the field does (its edit buffer while it is
    // edited); while a new record is inserted every number reads a stored
    // record, the new one not being among them. Null out of range.
    virtual TValue FieldValueAt(const TField& field, int recNo) const;

    // ---- Editing --------------------------------------------------------------
    // Insert adds an empty record before the current one, Append at the end;
    // Edit on an empty dataset inserts.
    void Insert();
    void Append();
    void Edit();
    // Asks the controls to write back, checks the required fields ("Field
    // '%s' must have a value") and records the row. Post, Edit and Delete run
    // in an error loop with OnPostError, OnEditError and OnDeleteError.
    void Post();
    void Cancel();
    void Delete();
    // Sends deUpdateRecord: the data links write their pending values back.
    void UpdateRecord();
    // Posts or cancels a pending edit.
    void CheckBrowseMode();

    // ---- Controls -------------------------------------------------------------
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // ---- Index ----------------------------------------------------------------
    // The fields of the current index (none for the order of arrival).
    virtual int IndexFieldCount() const { return 0; }
    virtual TField* IndexFields(int index) const;

    // ---- Events ---------------------------------------------------------------
    TDataSetErrorEvent OnPostError;
    TDataSetErrorEvent OnEditError;
    TDataSetErrorEvent OnDeleteError;
    TDataSetNotifyEvent AfterOpen;
    TDataSetNotifyEvent BeforeClose;
    TDataSetNotifyEvent AfterPost;
    TDataSetNotifyEvent AfterScroll;

    // ---- For fields and data sources ------------------------------------------
    TValue GetFieldValue(const TField& field) const;
    void SetFieldValue(TField& field, const TValue& value);
    void AddField(TField* field);
    void RemoveField(TField* field);
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);
    void DataEvent(TDataEvent event, TField* field = nullptr, int info = 0);

protected:
    // ---- What a subclass supplies ----------------------------------------------
    // Gets the rows and calls MakeFields; the dataset is still inactive.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual void InternalFirst() = 0;
    virtual void InternalLast() = 0;
    virtual bool InternalNext() = 0;
    virtual bool InternalPrior() = 0;
    virtual bool InternalEof() const = 0;
    virtual bool InternalBof() const = 0;
    virtual int InternalRecNo() const = 0;
    virtual void InternalSetRecNo(int recNo) = 0;
    virtual int InternalRecordCount() const = 0;
    virtual TDataBookmark InternalBookmark() const = 0;
    virtual void InternalGotoBookmark(TDataBookmark bookmark) = 0;
    virtual bool InternalBookmarkValid(TDataBookmark bookmark) const = 0;
    virtual void InternalInsert(bool append) = 0;
    virtual void InternalEdit() = 0;
    virtual void InternalPost() = 0;
    virtual void InternalCancel() = 0;
    virtual void InternalDelete() = 0;
    virtual TValue InternalGetFieldValue(const TField& field) const = 0;
    virtual void InternalSetFieldValue(const TField& field, const TValue& value) = 0;

    // Without declared fields, makes one field per column (of the class that
    // fits its type); otherwise binds each declared data field to the column
    // of its name: "Field '%s' not found", "Type mismatch for field '%s',
    // expecting: %s actual: %s", and a text field wider than its column is
    // narrowed to the column.
    void MakeFields(const std::vector<TPacketColumn>& columns);
    // "Cannot perform this operation on a closed dataset".
    void CheckActive() const;
    // The first required, writable data field that is null.
    void CheckRequiredFields();
    // Runs `operation`; an EDatabaseError goes to `handler` (action preset to
    // daFail): daFail raises it on, daAbort raises the silent abort, daRetry
    // runs the operation again.
    template <typename F> void CheckOperation(F operation, const TDataSetErrorEvent& handler);
    // For the subclass's destructor: closes without raising.
    void CloseForDestruction();

private:
    void SetState(TDataSetState state);
    void BeginInsertAppend(bool append);
    void ReleaseFields();

    TDataSetState state_ = dsInactive;
    bool modified_ = false;
    bool defaultFields_ = false;
    int disableCount_ = 0;
    TDataSetState disableState_ = dsInactive;
    TDataEvent enableEvent_ = deDataSetChange;
    std::vector<TField*> fields_;
    std::vector<TDataSource*> dataSources_;
};

template <typename F>
void TDataSet::CheckOperation(F operation, const TDataSetErrorEvent& handler) {
    for (;;) {
        try {
            operation();
            return;
        } catch (EDatabaseError& e) {
            TDataAction action = daFail;
            if (handler)
                handler(this, e, action);
            if (action == daFail)
                throw;
            if (action == daAbort)
                Abort();
        }
    }
}
