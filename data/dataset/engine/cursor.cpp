#include "data/dataset/engine/cursor.h"

#include "platform/core/exception.h"

#include <algorithm>

namespace {

// Above this many new rows an index is sorted again instead of taking them one by one.
constexpr uint32_t RebuildThreshold = 64;

[[noreturn]] void Fail(const char* text) {
    throw Exception(QString::fromLatin1(text));
}

} // namespace

// ---- Rows ----------------------------------------------------------------------

void TEngineCursor::Open(TDataPacket first) {
    Close();
    store_ = std::make_unique<TRowStore>(std::move(first));
    First();
}

void TEngineCursor::Close() {
    store_.reset();
    indexes_.clear();
    selected_ = -1;
    pos_ = 0;
    bof_ = eof_ = true;
    state_ = TCursorState::Browse;
    buffer_.clear();
    modified_ = false;
}

const TRowStore& TEngineCursor::Store() const {
    if (!store_)
        Fail("Cannot perform this operation on a closed dataset");
    return *store_;
}

TRowStore& TEngineCursor::Rows() {
    return const_cast<TRowStore&>(Store());
}

void TEngineCursor::AppendPacket(TDataPacket packet) {
    TRowStore& rows = Rows();
    const TBookmark current = Bookmark();
    const TBookmark first = rows.Append(std::move(packet));
    const TBookmark end = rows.Capacity();
    for (TLocalIndex& index : indexes_) {
        if (&index != Selected())
            index.Invalidate();
    }
    if (TLocalIndex* index = Selected()) {
        if (end - first > RebuildThreshold) {
            index->Build(rows);
        } else {
            for (TBookmark record = first; record < end; ++record)
                index->Add(rows, record);
        }
        if (current != NoBookmark)
            Locate(current);
    }
    if (current == NoBookmark && !Order().empty()) {
        pos_ = 0;
        bof_ = eof_ = false;
    }
}

bool TEngineCursor::IsComplete() const {
    return Store().IsComplete();
}

bool TEngineCursor::FetchMore() {
    if (!fetchHook_ || Store().IsComplete())
        return false;
    const TBookmark before = Store().Capacity();
    return fetchHook_() && Store().Capacity() > before;
}

void TEngineCursor::FetchAll() {
    while (!Store().IsComplete() && FetchMore()) {
    }
}

const std::vector<TPacketColumn>& TEngineCursor::Columns() const {
    return Store().Columns();
}

int TEngineCursor::FieldCount() const {
    return static_cast<int>(Columns().size());
}

int TEngineCursor::FieldIndex(const QString& name) const {
    const auto& columns = Columns();
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int TEngineCursor::RecordSize() const {
    return Store().Layout().FixedSize();
}

// ---- Moves ---------------------------------------------------------------------

const std::vector<TBookmark>& TEngineCursor::Order() const {
    if (selected_ >= 0)
        return indexes_[selected_].Order();
    return Store().DefaultOrder();
}

int TEngineCursor::RecordCount() const {
    return static_cast<int>(Order().size());
}

int TEngineCursor::RecNo() const {
    return Order().empty() ? 0 : pos_ + 1;
}

void TEngineCursor::SetRecNo(int recNo) {
    CheckBrowse("move");
    if (recNo > RecordCount())
        FetchAll();
    const int count = RecordCount();
    if (count == 0)
        return;
    pos_ = std::clamp(recNo, 1, count) - 1;
    bof_ = eof_ = false;
}

void TEngineCursor::First() {
    CheckBrowse("move");
    pos_ = 0;
    bof_ = true;
    eof_ = Order().empty();
}

void TEngineCursor::Last() {
    CheckBrowse("move");
    FetchAll();
    const int count = RecordCount();
    pos_ = count ? count - 1 : 0;
    eof_ = true;
    bof_ = count == 0;
}

bool TEngineCursor::Next() {
    CheckBrowse("move");
    if (pos_ + 1 < RecordCount() ||
        (fetchOnDemand_ && !Order().empty() && FetchMore() && pos_ + 1 < RecordCount())) {
        ++pos_;
        bof_ = eof_ = false;
        return true;
    }
    eof_ = true;
    return false;
}

bool TEngineCursor::Prior() {
    CheckBrowse("move");
    if (pos_ > 0 && !Order().empty()) {
        --pos_;
        bof_ = eof_ = false;
        return true;
    }
    bof_ = true;
    return false;
}

TBookmark TEngineCursor::Bookmark() const {
    const auto& order = Order();
    return order.empty() ? NoBookmark : order[pos_];
}

bool TEngineCursor::BookmarkValid(TBookmark bookmark) const {
    return store_ && store_->IsLive(bookmark);
}

void TEngineCursor::GotoBookmark(TBookmark bookmark) {
    CheckBrowse("move");
    if (!BookmarkValid(bookmark))
        Fail("Record not found");
    Locate(bookmark);
}

void TEngineCursor::Locate(TBookmark record) {
    const auto& order = Order();
    const auto it = std::find(order.begin(), order.end(), record);
    pos_ = it == order.end() ? 0 : static_cast<int>(it - order.begin());
    bof_ = false;
    eof_ = order.empty();
}

TValue TEngineCursor::Cell(int col) const {
    const TRowStore& rows = Store();
    if (col < 0 || col >= FieldCount())
        Fail("Field index out of range");
    if (state_ != TCursorState::Browse)
        return buffer_[col];
    const TBookmark record = Bookmark();
    return record == NoBookmark ? TValue() : rows.Cell(record, col);
}

TValue TEngineCursor::CellAt(int recNo, int col) const {
    const auto& order = Order();
    if (col < 0 || col >= FieldCount())
        Fail("Field index out of range");
    if (recNo < 1 || recNo > static_cast<int>(order.size()))
        return TValue();
    return store_->Cell(order[static_cast<size_t>(recNo - 1)], col);
}

// ---- Edits ---------------------------------------------------------------------

void TEngineCursor::CheckBrowse(const char* what) const {
    Store();
    if (state_ != TCursorState::Browse)
        throw Exception(
            QStringLiteral("Cannot %1 while the dataset is in insert or edit mode").arg(what));
}

void TEngineCursor::CheckWritable() const {
    if (readOnly_)
        Fail("Cannot modify a read-only dataset");
}

void TEngineCursor::Insert() {
    CheckBrowse("insert");
    CheckWritable();
    insertBefore_ = Bookmark();
    buffer_.assign(Columns().size(), TValue());
    modified_ = false;
    state_ = TCursorState::Insert;
}

void TEngineCursor::Append() {
    Insert();
    insertBefore_ = NoBookmark;
}

void TEngineCursor::Edit() {
    if (state_ == TCursorState::Edit)
        return;
    CheckBrowse("edit");
    CheckWritable();
    const TBookmark record = Bookmark();
    if (record == NoBookmark)
        Fail("Cannot perform this operation on an empty dataset");
    buffer_.clear();
    for (int col = 0; col < FieldCount(); ++col)
        buffer_.push_back(store_->Cell(record, col));
    modified_ = false;
    state_ = TCursorState::Edit;
}

void TEngineCursor::SetCell(int col, const TValue& value) {
    Store();
    if (state_ == TCursorState::Browse)
        Fail("Dataset not in edit or insert mode");
    if (col < 0 || col >= FieldCount())
        Fail("Field index out of range");
    buffer_[col] = store_->Layout().Normalize(col, value);
    modified_ = true;
}

void TEngineCursor::PlaceAfterChange(TBookmark record) {
    for (TLocalIndex& index : indexes_) {
        if (&index == Selected()) {
            index.Remove(record);
            index.Add(*store_, record);
        } else {
            index.Invalidate();
        }
    }
    Locate(record);
}

void TEngineCursor::Post() {
    TRowStore& rows = Rows();
    if (state_ == TCursorState::Browse)
        Fail("Dataset not in edit or insert mode");
    TRowWriter writer(rows.Layout());
    for (int col = 0; col < FieldCount(); ++col)
        writer.SetValue(col, buffer_[col]);
    const uint8_t* row = rows.StoreRow(writer);
    TBookmark record;
    if (state_ == TCursorState::Insert) {
        record = rows.Insert(row, insertBefore_);
    } else {
        record = Bookmark();
        rows.Modify(record, row);
    }
    state_ = TCursorState::Browse;
    buffer_.clear();
    modified_ = false;
    PlaceAfterChange(record);
}

void TEngineCursor::Cancel() {
    state_ = TCursorState::Browse;
    buffer_.clear();
    modified_ = false;
}

void TEngineCursor::Delete() {
    CheckBrowse("delete");
    CheckWritable();
    const TBookmark record = Bookmark();
    if (record == NoBookmark)
        Fail("Cannot perform this operation on an empty dataset");
    const auto& order = Order();
    const TBookmark next = pos_ + 1 < static_cast<int>(order.size()) ? order[pos_ + 1]
                           : pos_ > 0                                ? order[pos_ - 1]
                                                                     : NoBookmark;
    store_->Delete(record);
    for (TLocalIndex& index : indexes_) {
        if (&index == Selected())
            index.Remove(record);
        else
            index.Invalidate();
    }
    if (next == NoBookmark)
        First();
    else
        Locate(next);
}

// ---- Change log ----------------------------------------------------------------

int TEngineCursor::ChangeCount() const {
    return Store().ChangeCount();
}

TDelta TEngineCursor::Delta() const {
    return Store().Delta();
}

void TEngineCursor::MergeChangeLog() {
    Rows().Merge();
}

bool TEngineCursor::Reconcile(const TErrorPacket& errors, const TReconcileCallback& callback,
                              bool mergeRest) {
    CheckBrowse("reconcile");
    const TBookmark current = Bookmark();
    if (!store_->Reconcile(errors, callback, mergeRest))
        return false;
    // Undone changes may have moved, removed or brought back records.
    RebuildOrders();
    if (current != NoBookmark && store_->IsLive(current))
        Locate(current);
    else
        First();
    return true;
}

void TEngineCursor::RebuildOrders() {
    for (TLocalIndex& index : indexes_) {
        if (&index == Selected())
            index.Build(*store_);
        else
            index.Invalidate();
    }
}

// ---- Indexes -------------------------------------------------------------------

TLocalIndex* TEngineCursor::Selected() {
    return selected_ >= 0 ? &indexes_[selected_] : nullptr;
}

const TLocalIndex* TEngineCursor::Selected() const {
    return selected_ >= 0 ? &indexes_[selected_] : nullptr;
}

int TEngineCursor::FindIndex(const QString& name) const {
    for (size_t i = 0; i < indexes_.size(); ++i) {
        if (indexes_[i].Name().compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void TEngineCursor::AddIndex(const QString& name, const QString& fields,
                             const QString& descFields) {
    const TRowStore& rows = Store();
    TLocalIndex index(name, fields, descFields, rows.Columns());
    if (FindIndex(name) >= 0)
        throw Exception(QStringLiteral("Index '%1' already exists").arg(name));
    indexes_.push_back(std::move(index));
}

void TEngineCursor::DeleteIndex(const QString& name) {
    CheckBrowse("delete an index");
    const int i = FindIndex(name);
    if (i < 0)
        throw Exception(QStringLiteral("Index '%1' not found").arg(name));
    const TBookmark current = Bookmark();
    if (selected_ == i)
        selected_ = -1;
    else if (selected_ > i)
        --selected_;
    indexes_.erase(indexes_.begin() + i);
    if (current != NoBookmark)
        Locate(current);
}

void TEngineCursor::SelectIndex(const QString& name) {
    CheckBrowse("change the index");
    const int i = name.isEmpty() ? -1 : FindIndex(name);
    if (!name.isEmpty() && i < 0)
        throw Exception(QStringLiteral("Index '%1' not found").arg(name));
    FetchAll();
    if (i >= 0 && !indexes_[i].IsBuilt())
        indexes_[i].Build(*store_);
    selected_ = i;
    First();
}

QString TEngineCursor::IndexName() const {
    return selected_ >= 0 ? indexes_[selected_].Name() : QString();
}

QStringList TEngineCursor::IndexFieldNames() const {
    return selected_ >= 0 ? indexes_[selected_].FieldNames() : QStringList();
}

QStringList TEngineCursor::IndexNames() const {
    QStringList names;
    for (const TLocalIndex& index : indexes_)
        names.push_back(index.Name());
    return names;
}

bool TEngineCursor::HasIndex(const QString& name) const {
    return FindIndex(name) >= 0;
}

int TEngineCursor::SeekKeyPrefix(const std::vector<TValue>& values, bool partialText) const {
    const TRowStore& rows = Store();
    const TLocalIndex* index = Selected();
    if (!index)
        Fail("No index is selected");
    return index->Seek(rows, values, partialText) + 1;
}
