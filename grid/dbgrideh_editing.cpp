// The grid's moves between records with the rules for new records, deleting,
// and the cell editor: when it may open, what it shows, what it writes, and
// which of its keys go to the grid.
#include "grid/dbgrideh.h"
#include "grid/editor/inplace_edit_eh.h"
#include "grid/grid_widget_eh.h"
#include "grid/input/grid_keys_eh.h"
#include "grid/input/grid_mouse_eh.h"
#include "platform/ui/dialogs.h"

#include <QKeyEvent>

// ---- Moves -------------------------------------------------------------------------------------

void TDBGridEh::MoveBy(int distance, bool keepRowPlace) {
    TDataSet* dataSet = DataSet();
    if (!dataLink_.Active() || !dataSet || distance == 0)
        return;
    if (keepRowPlace)
        rows_.KeepCurrentRowPlace();
    dataSet->MoveBy(distance);
}

void TDBGridEh::MoveToRecord(int recNo) {
    TDataSet* dataSet = DataSet();
    if (!dataLink_.Active() || !dataSet || recNo <= 0)
        return;
    const int target = SettlePendingRecord(recNo);
    MoveBy(target - dataSet->RecNo());
}

int TDBGridEh::SettlePendingRecord(int recNo) {
    TDataSet* dataSet = DataSet();
    const TDataSetState state = dataSet->State();
    if (state != dsInsert && state != dsEdit)
        return recNo;
    // A post changes the place of the posted record alone: the others keep
    // their order. Number the target among those others (the records on view
    // leave out a new one already), then make room for the posted record
    // where it lands. An untouched new record is cancelled and takes no place.
    const int pending = state == dsEdit ? dataSet->RecNo() : 0;
    if (recNo == pending)
        return recNo;
    const int rank = pending > 0 && recNo > pending ? recNo - 1 : recNo;
    const int records = dataSet->RecordCount();
    dataSet->CheckBrowseMode();
    if (state == dsInsert && dataSet->RecordCount() == records)
        return rank;
    const int posted = dataSet->RecNo();
    return rank >= posted ? rank + 1 : rank;
}

void TDBGridEh::MoveToFirst() {
    if (dataLink_.Active())
        DataSet()->First();
}

void TDBGridEh::MoveToLast() {
    if (dataLink_.Active())
        DataSet()->Last();
}

bool TDBGridEh::NewRecordUnchanged() const {
    const TDataSet* dataSet = DataSet();
    return dataSet && dataSet->State() == dsInsert && !dataSet->Modified() &&
           !(EditorMode() && editor_->Modified());
}

void TDBGridEh::PriorRecord() {
    if (!dataLink_.Active())
        return;
    if (NewRecordUnchanged() && rows_.InsertingAtEnd()) {
        DataSet()->Cancel();
        return;
    }
    MoveBy(-1);
}

void TDBGridEh::NextRecord() {
    TDataSet* dataSet = DataSet();
    if (!dataLink_.Active() || !dataSet)
        return;
    if (NewRecordUnchanged()) {
        if (!rows_.InsertingAtEnd())
            dataSet->Cancel();
        return;
    }
    if (dataSet->MoveBy(1) == 0 && dataSet->Eof() && CanAppend()) {
        appendedByGrid_ = true;
        dataSet->Append();
    }
}

void TDBGridEh::MoveToCell(int row, int visibleIndex) {
    if (visibleIndex >= 0)
        SelectVisibleColumn(visibleIndex);
    if (row < 0 || row >= rows_.Count() || rows_.Row(row).inserted)
        return;
    MoveToRecord(rows_.Row(row).recNo);
}

bool TDBGridEh::Modifiable() const {
    const TDataSet* dataSet = DataSet();
    return !readOnly_ && dataLink_.Active() && !dataLink_.ReadOnly() && dataSet &&
           dataSet->CanModify();
}

bool TDBGridEh::CanAppend() const {
    return Modifiable() && options_.Contains(TDBGridOption::dgEditing) &&
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopAppendEh);
}

bool TDBGridEh::CanInsert() const {
    return Modifiable() && options_.Contains(TDBGridOption::dgEditing) &&
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopInsertEh);
}

bool TDBGridEh::CanDelete() const {
    return Modifiable() && !DataSet()->IsEmpty() &&
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopDeleteEh);
}

void TDBGridEh::DeleteRecord() {
    if (!CanDelete())
        return;
    if (options_.Contains(TDBGridOption::dgConfirmDelete)) {
        TMessageBoxRequest request;
        request.text = QStringLiteral("Delete record?");
        request.caption = QStringLiteral("Confirm");
        request.type = TMsgDlgType::mtConfirmation;
        request.buttons = {QStringLiteral("OK"), QStringLiteral("Cancel")};
        if (MessageBoxes().Show(request) != 0)
            return;
    }
    HideEditor();
    DataSet()->Delete();
}

// ---- Editing -------------------------------------------------------------------------------

bool TDBGridEh::CanEditModify() const {
    if (!Modifiable() || !options_.Contains(TDBGridOption::dgEditing))
        return false;
    const TColumnEh* column = SelectedColumn();
    const TField* field = column ? column->Field() : nullptr;
    if (!column || column->ReadOnly() || !field || field->ReadOnly() || !field->CanModify())
        return false;
    const TDataSet* dataSet = DataSet();
    if (dataSet->State() != dsInsert &&
        !allowedOperations_.Contains(TDBGridEhAllowedOperation::alopUpdateEh))
        return false;
    return !dataSet->IsEmpty() ||
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopInsertEh) ||
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopAppendEh);
}

bool TDBGridEh::EditorMode() const {
    return editor_ && editor_->isVisible();
}

bool TDBGridEh::ShowEditor() {
    if (!CanEditModify())
        return false;
    for (const auto& extension : extensions_)
        if (!extension->AllowEditor(*this))
            return false;
    if (EditorMode())
        return true;
    TDataSet* dataSet = DataSet();
    editorRecNo_ = dataSet->RecNo();
    editorInsert_ = dataSet->State() == dsInsert;
    ResetEditorText();
    PlaceEditor();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->selectAll();
    return true;
}

void TDBGridEh::HideEditor() {
    if (!EditorMode())
        return;
    const bool hadFocus = editor_->hasFocus();
    editor_->hide();
    editor_->SetModified(false);
    if (hadFocus)
        widget_->setFocus(Qt::OtherFocusReason);
    InvalidateCurrentRow();
}

void TDBGridEh::UpdateText() {
    if (!EditorMode() || !editor_->Modified())
        return;
    TColumnEh* column = SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (!field || !dataLink_.Edit())
        return;
    field->SetText(editor_->text());
    editor_->SetModified(false);
}

void TDBGridEh::ResetEditorText() {
    const TColumnEh* column = SelectedColumn();
    const TField* field = column ? column->Field() : nullptr;
    editor_->SetFieldText(field ? field->Text() : QString());
}

void TDBGridEh::EditorTextEdited() {
    // The first change puts the record into edit mode.
    if (!dataLink_.Editing())
        dataLink_.Edit();
}

void TDBGridEh::PlaceEditor() {
    if (!editor_)
        return;
    const int row = rows_.CurrentRow();
    const int span = geometry_.SpanOf(VisibleSelectedIndex());
    if (row < 0 || span < 0) {
        if (EditorMode())
            HideEditor();
        return;
    }
    const TColumnEh* column = SelectedColumn();
    editor_->setFont(column->EffectiveFont());
    editor_->setAlignment(column->Alignment() == taRightJustify ? Qt::AlignRight
                          : column->Alignment() == taCenter     ? Qt::AlignHCenter
                                                                : Qt::AlignLeft);
    editor_->setGeometry(geometry_.CellRect(span, row));
}

bool TDBGridEh::EditorKey(QKeyEvent* event) {
    // The window's key preview and the grid's OnKeyDown see the editor's keys too.
    if (HandleKey(event))
        return true;
    namespace K = GridKeysEh;
    unsigned short key = VirtualKey(event->key());
    const TShiftState shift = ShiftState(event->modifiers());
    if (key == 0)
        return false;
    for (const auto& extension : extensions_)
        if (extension->KeyDown(*this, key, shift) || key == 0)
            return true;
    bool forGrid = false;
    if (shift & ssCtrl) {
        forGrid = key == K::Home || key == K::End || key == K::Up || key == K::Down ||
                  key == K::PageUp || key == K::PageDown || key == K::Delete || key == K::Quote ||
                  key == K::KeyF || key == K::Enter;
    } else {
        const bool noSelection = !editor_->hasSelectedText();
        const int caret = editor_->cursorPosition();
        const int length = static_cast<int>(editor_->text().size());
        switch (key) {
        case K::Up:
        case K::Down:
        case K::PageUp:
        case K::PageDown:
        case K::Tab:
        case K::Enter:
        case K::Escape:
        case K::F2:
            forGrid = true;
            break;
        case K::Insert:
            forGrid = !(shift & ssShift);
            break;
        case K::Left:
        case K::Home:
            forGrid = noSelection && caret == 0;
            break;
        case K::Right:
        case K::End:
            forGrid = noSelection && caret == length;
            break;
        default:
            break;
        }
    }
    if (!forGrid)
        return false;
    if (key == K::Escape && mouse_->Drag() != TGridMouseEh::TDrag::None)
        mouse_->Cancel();
    else
        keys_->KeyDown(key, shift);
    return true;
}
