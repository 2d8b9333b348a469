#include "grid/finddialog/find_dialog_key_eh.h"

#include "grid/dbgrideh.h"
#include "grid/editor/inplace_edit_eh.h"
#include "grid/finddialog/find_dialog_eh.h"

bool TFindDialogKeyEh::SearchKey(TDBGridEh& grid, TGridSearchKeyEh key) {
    const TDBGridEhOptions options = grid.OptionsEh();
    if (key != TGridSearchKeyEh::Find || !options.Contains(TDBGridEhOption::dghDialogFind) ||
        options.Contains(TDBGridEhOption::dghIncSearch))
        return false;
    const TInplaceEditEh* editor = grid.InplaceEditor();
    OpenFindDialog(grid, grid.EditorMode() && editor ? editor->selectedText() : QString());
    return true;
}

void OpenFindDialog(TDBGridEh& grid, const QString& text) {
    ShowGridFindDialog(grid, text, true);
}
