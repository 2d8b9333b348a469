#include "grid/input/grid_keys_eh.h"

#include "data/dataset/dataset.h"
#include "grid/dbgrideh.h"
#include "grid/editor/inplace_edit_eh.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

using namespace GridKeysEh;

namespace {

bool Search(TDBGridEh& grid, TGridSearchKeyEh key) {
    for (const auto& extension : grid.Extensions())
        if (extension->SearchKey(grid, key))
            return true;
    return false;
}

} // namespace

bool TGridKeysEh::KeyDown(unsigned short key, TShiftState shift) {
    if (!grid_.DataLink().Active())
        return false;
    if (shift & ssCtrl)
        return CtrlKey(key, shift);
    return PlainKey(key, shift);
}

bool TGridKeysEh::CtrlKey(unsigned short key, TShiftState shift) {
    switch (key) {
    case Home:
        grid_.MoveToFirst();
        return true;
    case End:
        grid_.MoveToLast();
        return true;
    case Up:
    case PageUp:
        grid_.MoveToRecord(grid_.Rows().FirstRecNo());
        return true;
    case Down:
    case PageDown:
        grid_.MoveToRecord(grid_.Rows().LastRecNo());
        return true;
    case Left:
        grid_.SelectVisibleColumn(0);
        return true;
    case Right:
        grid_.SelectVisibleColumn(static_cast<int>(grid_.VisibleColumns().size()) - 1);
        return true;
    case Delete:
        grid_.DeleteRecord();
        return true;
    case Quote:
        CopyFromRowAbove();
        return true;
    case KeyF:
        Search(grid_, TGridSearchKeyEh::Find);
        return true;
    case Enter:
        Search(grid_,
               (shift & ssShift) ? TGridSearchKeyEh::PriorMatch : TGridSearchKeyEh::NextMatch);
        return true;
    case KeyV:
        Search(grid_, TGridSearchKeyEh::Paste);
        return true;
    case KeyC:
    case Insert:
    case KeyX:
    case KeyA:
        // EditActions is empty: no clipboard actions through the grid.
        return true;
    default:
        return false;
    }
}

bool TGridKeysEh::PlainKey(unsigned short key, TShiftState shift) {
    switch (key) {
    case Up:
        grid_.PriorRecord();
        return true;
    case Down:
        grid_.NextRecord();
        return true;
    case PageUp:
        grid_.MoveBy(-grid_.VisibleRowCount(), true);
        return true;
    case PageDown:
        grid_.MoveBy(grid_.VisibleRowCount(), true);
        return true;
    case Left:
        grid_.SelectVisibleColumn(std::max(0, grid_.VisibleSelectedIndex() - 1));
        return true;
    case Right:
        grid_.SelectVisibleColumn(std::min(static_cast<int>(grid_.VisibleColumns().size()) - 1,
                                           grid_.VisibleSelectedIndex() + 1));
        return true;
    case Home:
        grid_.SelectVisibleColumn(0);
        return true;
    case End:
        grid_.SelectVisibleColumn(static_cast<int>(grid_.VisibleColumns().size()) - 1);
        return true;
    case Tab:
        if ((shift & ssAlt) || !grid_.Options().Contains(TDBGridOption::dgTabs))
            return false;
        TabKey((shift & ssShift) != 0);
        return true;
    case Enter:
        EnterKey();
        return true;
    case F2:
        if (grid_.ShowEditor() && grid_.InplaceEditor()) {
            grid_.InplaceEditor()->deselect();
            grid_.InplaceEditor()->end(false);
        }
        return true;
    case Escape:
        EscapeKey();
        return true;
    case Insert:
        if (shift & ssShift) {
            Search(grid_, TGridSearchKeyEh::Paste);
            return true;
        }
        if (grid_.CanInsert())
            grid_.DataSet()->Insert();
        return true;
    case Delete:
        // Shift+Delete: EditActions is empty.
        return (shift & ssShift) != 0;
    default:
        return false;
    }
}

void TGridKeysEh::TabKey(bool back) {
    const int count = static_cast<int>(grid_.VisibleColumns().size());
    if (count == 0)
        return;
    const int at = grid_.VisibleSelectedIndex();
    TDataSet* dataSet = grid_.DataSet();
    if (!back) {
        if (at + 1 < count) {
            grid_.SelectVisibleColumn(at + 1);
            return;
        }
        const int before = dataSet->RecNo();
        const TDataSetState state = dataSet->State();
        grid_.NextRecord();
        if (dataSet->RecNo() != before || dataSet->State() != state)
            grid_.SelectVisibleColumn(0);
        return;
    }
    if (at > 0) {
        grid_.SelectVisibleColumn(at - 1);
        return;
    }
    const int before = dataSet->RecNo();
    const TDataSetState state = dataSet->State();
    grid_.PriorRecord();
    if (dataSet->RecNo() != before || dataSet->State() != state)
        grid_.SelectVisibleColumn(count - 1);
}

void TGridKeysEh::EnterKey() {
    grid_.UpdateText();
    if (grid_.EditorMode())
        grid_.HideEditor();
    else
        grid_.ShowEditor();
}

void TGridKeysEh::EscapeKey() {
    TInplaceEditEh* editor = grid_.InplaceEditor();
    if (grid_.EditorMode() && editor && editor->Modified()) {
        const TColumnEh* column = grid_.SelectedColumn();
        const TField* field = column ? column->Field() : nullptr;
        editor->SetFieldText(field ? field->Text() : QString());
    } else if (TDataSet* dataSet = grid_.DataSet();
               dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert)) {
        dataSet->Cancel();
    }
    grid_.HideEditor();
}

void TGridKeysEh::KeyPress(QChar key) {
    if (!grid_.DataLink().Active() || grid_.EditorMode())
        return;
    if (!grid_.ShowEditor())
        return;
    // The editor shows the field's text selected; the key replaces it.
    TInplaceEditEh* editor = grid_.InplaceEditor();
    const int code = key == QChar(8) ? Qt::Key_Backspace : 0;
    QKeyEvent typed(QEvent::KeyPress, code, Qt::NoModifier, QString(key));
    QApplication::sendEvent(editor, &typed);
}

void TGridKeysEh::CopyFromRowAbove() {
    const TVisibleRowsEh& rows = grid_.Rows();
    const int row = rows.CurrentRow();
    TColumnEh* column = grid_.SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (row <= 0 || !field || !grid_.CanEditModify())
        return;
    TDataSet* dataSet = grid_.DataSet();
    const TValue above = rows.Value(*dataSet, row - 1, *field);
    if (!grid_.DataLink().Edit())
        return;
    field->SetValue(above);
    if (grid_.ShowEditor())
        grid_.InplaceEditor()->selectAll();
}
