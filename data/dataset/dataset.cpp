#include "data/dataset/dataset.h"

#include "data/dataset/datasource.h"
#include "data/dataset/fields/bcd_fields.h"
#include "data/dataset/fields/field.h"
#include "data/dataset/fields/field_factory.h"

#include <algorithm>

namespace {

bool IsEditing(TDataSetState state) {
    return state == dsEdit || state == dsInsert;
}

} // namespace

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() {
    // The subclass has closed already (CloseForDestruction); fields and data
    // sources that outlive the dataset let go of it here.
    for (TDataSource* source : std::vector<TDataSource*>(dataSources_))
        source->DataSetGone();
    dataSources_.clear();
    for (TField* field : fields_)
        field->dataSet_ = nullptr;
    fields_.clear();
}

void TDataSet::CloseForDestruction() {
    try {
        SetActive(false);
    } catch (...) {
        // A failing reset of the provider must not escape a destructor.
    }
}

// ---- State ------------------------------------------------------------------------

void TDataSet::SetActive(bool value) {
    if (value == Active())
        return;
    if (value) {
        try {
            InternalOpen();
        } catch (...) {
            try {
                InternalClose();
            } catch (...) {
            }
            ReleaseFields();
            throw;
        }
        SetState(dsBrowse);
        Fire(AfterOpen, this);
        return;
    }
    Fire(BeforeClose, this);
    SetState(dsInactive);
    struct Release {
        TDataSet* ds;
        ~Release() { ds->ReleaseFields(); }
    } release{this};
    InternalClose();
}

void TDataSet::ReleaseFields() {
    if (defaultFields_) {
        defaultFields_ = false;
        std::vector<TField*> made = std::move(fields_);
        fields_.clear();
        for (TField* field : made) {
            field->dataSet_ = nullptr;
            delete field;
        }
        DataEvent(deLayoutChange);
    } else {
        for (TField* field : fields_)
            field->Bind(0);
    }
}

void TDataSet::SetState(TDataSetState state) {
    if (state_ == state)
        return;
    state_ = state;
    modified_ = false;
    DataEvent(deUpdateState);
}

void TDataSet::CheckActive() const {
    if (!Active())
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

// ---- Fields -----------------------------------------------------------------------

TField* TDataSet::FindField(QStringView name) const {
    for (TField* field : fields_)
        if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field;
    return nullptr;
}

TField& TDataSet::FieldByName(QStringView name) const {
    TField* field = FindField(name);
    if (!field)
        DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return *field;
}

int TDataSet::FieldIndexOf(const TField* field) const {
    const auto it = std::find(fields_.begin(), fields_.end(), field);
    return it == fields_.end() ? -1 : static_cast<int>(it - fields_.begin());
}

void TDataSet::AddField(TField* field) {
    if (Active())
        DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    if (field->dataSet_)
        field->dataSet_->RemoveField(field);
    fields_.push_back(field);
    field->dataSet_ = this;
    field->Bind(0);
    DataEvent(deLayoutChange);
}

void TDataSet::RemoveField(TField* field) {
    const auto it = std::find(fields_.begin(), fields_.end(), field);
    if (it == fields_.end())
        return;
    fields_.erase(it);
    field->dataSet_ = nullptr;
    field->Bind(0);
    if (!Destroying())
        DataEvent(deLayoutChange);
}

void TDataSet::MakeFields(const std::vector<TPacketColumn>& columns) {
    if (fields_.empty()) {
        defaultFields_ = true;
        for (size_t i = 0; i < columns.size(); ++i) {
            const TPacketColumn& col = columns[i];
            TField* field = CreateFieldForType(col.type, this);
            if (!field)
                DatabaseError(QStringLiteral("Field '%1' is of an unknown type").arg(col.name));
            field->SetFieldName(col.name);
            if (IsStringType(col.type) || col.type == ftBytes || col.type == ftVarBytes)
                field->SetSize(col.size);
            if (auto* bcd = dynamic_cast<TFMTBCDField*>(field)) {
                bcd->SetSize(col.scale);
                bcd->SetPrecision(col.precision);
            }
            field->SetRequired(col.required);
            field->SetReadOnly(col.readOnly);
            fields_.push_back(field);
            field->dataSet_ = this;
            field->Bind(static_cast<int>(i) + 1);
        }
        return;
    }
    for (TField* field : fields_) {
        if (field->FieldKind() != fkData)
            continue;
        const auto it = std::find_if(columns.begin(), columns.end(), [&](const TPacketColumn& c) {
            return c.name.compare(field->FieldName(), Qt::CaseInsensitive) == 0;
        });
        if (it == columns.end())
            DatabaseError(QStringLiteral("Field '%1' not found").arg(field->FieldName()));
        if (!FieldTypesCompatible(field->DataType(), it->type))
            DatabaseError(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                              .arg(field->DisplayName(), FieldTypeName(field->DataType()),
                                   FieldTypeName(it->type)));
        if (IsStringType(field->DataType()) && it->size > 0 && it->size < field->Size())
            field->SetSize(it->size);
        field->Bind(static_cast<int>(it - columns.begin()) + 1);
    }
}

TValue TDataSet::GetFieldValue(const TField& field) const {
    if (!Active() || field.FieldNo() == 0)
        return TValue();
    return InternalGetFieldValue(field);
}

void TDataSet::SetFieldValue(TField& field, const TValue& value) {
    if (!IsEditing(state_))
        DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    if (field.ReadOnly() || field.FieldKind() != fkData || field.FieldNo() == 0)
        DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field.DisplayName()));
    InternalSetFieldValue(field, value);
    DataEvent(deFieldChange, &field);
    Fire(field.OnChange, &field);
}

void TDataSet::CheckRequiredFields() {
    for (TField* field : fields_) {
        if (field->Required() && !field->ReadOnly() && field->FieldKind() == fkData &&
            field->IsNull()) {
            DataEvent(deFocusControl, field);
            DatabaseError(QStringLiteral("Field '%1' must have a value").arg(field->DisplayName()));
        }
    }
}

TField* TDataSet::IndexFields(int) const {
    return nullptr;
}

// ---- Moves ------------------------------------------------------------------------

void TDataSet::First() {
    CheckBrowseMode();
    InternalFirst();
    DataEvent(deDataSetChange);
    Fire(AfterScroll, this);
}

void TDataSet::Last() {
    CheckBrowseMode();
    InternalLast();
    DataEvent(deDataSetChange);
    Fire(AfterScroll, this);
}

void TDataSet::Next() {
    MoveBy(1);
}

void TDataSet::Prior() {
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance) {
    CheckBrowseMode();
    int moved = 0;
    while (distance > 0 && InternalNext()) {
        --distance;
        ++moved;
    }
    while (distance < 0 && InternalPrior()) {
        ++distance;
        --moved;
    }
    if (moved != 0)
        DataEvent(deDataSetScroll, nullptr, moved);
    Fire(AfterScroll, this);
    return moved;
}

bool TDataSet::Eof() const {
    return !Active() || InternalEof();
}

bool TDataSet::Bof() const {
    return !Active() || InternalBof();
}

int TDataSet::RecNo() const {
    return Active() ? InternalRecNo() : 0;
}

void TDataSet::SetRecNo(int recNo) {
    CheckBrowseMode();
    InternalSetRecNo(recNo);
    DataEvent(deDataSetChange);
    Fire(AfterScroll, this);
}

int TDataSet::RecordCount() const {
    return Active() ? InternalRecordCount() : 0;
}

bool TDataSet::IsEmpty() const {
    return !Active() || (state_ != dsInsert && InternalRecordCount() == 0);
}

TDataBookmark TDataSet::Bookmark() const {
    return Active() ? InternalBookmark() : NoDataBookmark;
}

void TDataSet::GotoBookmark(TDataBookmark bookmark) {
    CheckBrowseMode();
    InternalGotoBookmark(bookmark);
    DataEvent(deDataSetChange);
    Fire(AfterScroll, this);
}

bool TDataSet::BookmarkValid(TDataBookmark bookmark) const {
    return Active() && bookmark != NoDataBookmark && InternalBookmarkValid(bookmark);
}

TValue TDataSet::FieldValueAt(const TField& field, int recNo) const {
    return recNo == RecNo() && state_ != dsInsert ? GetFieldValue(field) : TValue();
}

// ---- Editing ----------------------------------------------------------------------

void TDataSet::BeginInsertAppend(bool append) {
    CheckActive();
    CheckBrowseMode();
    if (!CanModify())
        DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    InternalInsert(append);
    SetState(dsInsert);
    modified_ = false;
    DataEvent(deDataSetChange);
}

void TDataSet::Insert() {
    BeginInsertAppend(false);
}

void TDataSet::Append() {
    BeginInsertAppend(true);
}

void TDataSet::Edit() {
    if (IsEditing(state_))
        return;
    CheckActive();
    if (InternalRecordCount() == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    if (!CanModify())
        DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    CheckOperation([this] { InternalEdit(); }, OnEditError);
    SetState(dsEdit);
    DataEvent(deRecordChange);
}

void TDataSet::Post() {
    UpdateRecord();
    DataEvent(deCheckBrowseMode);
    CheckOperation(
        [this] {
            CheckRequiredFields();
            InternalPost();
        },
        OnPostError);
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterPost, this);
}

void TDataSet::Cancel() {
    if (!IsEditing(state_))
        return;
    DataEvent(deCheckBrowseMode);
    InternalCancel();
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    if (InternalRecordCount() == 0)
        DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    DataEvent(deCheckBrowseMode);
    CheckOperation([this] { InternalDelete(); }, OnDeleteError);
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterScroll, this);
}

void TDataSet::UpdateRecord() {
    if (!IsEditing(state_))
        DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    DataEvent(deUpdateRecord);
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (IsEditing(state_)) {
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    }
}

// ---- Controls ---------------------------------------------------------------------

void TDataSet::DisableControls() {
    if (disableCount_ == 0) {
        disableState_ = state_;
        enableEvent_ = deDataSetChange;
    }
    ++disableCount_;
}

void TDataSet::EnableControls() {
    if (disableCount_ == 0 || --disableCount_ > 0)
        return;
    if (disableState_ != state_)
        DataEvent(deUpdateState);
    if (disableState_ != dsInactive && state_ != dsInactive)
        DataEvent(enableEvent_);
}

// ---- Data sources -----------------------------------------------------------------

void TDataSet::AddDataSource(TDataSource* source) {
    if (std::find(dataSources_.begin(), dataSources_.end(), source) == dataSources_.end())
        dataSources_.push_back(source);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
    dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), source),
                       dataSources_.end());
}

void TDataSet::DataEvent(TDataEvent event, TField* field, int info) {
    if (event == deFieldChange && field && field->FieldKind() == fkData)
        modified_ = true;
    if (disableCount_ == 0) {
        for (TDataSource* source : std::vector<TDataSource*>(dataSources_))
            source->DataEvent(event, field, info);
    } else if ((event == deUpdateState && state_ == dsInactive) || event == deLayoutChange) {
        enableEvent_ = deLayoutChange;
    }
}
