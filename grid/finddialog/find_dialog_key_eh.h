#pragma once
// TFindDialogKeyEh: the grid's Ctrl+F opens the find dialog when the grid
// offers the dialog without the incremental search (dghDialogFind alone);
// with the cell editor open, the editor's selected text is the text to find.
// With dghIncSearch on, Ctrl+F belongs to the incremental search, which
// opens the dialog itself (OpenFindDialog) on its second Ctrl+F.

#include "grid/grid_extension_eh.h"

class TFindDialogKeyEh : public TGridExtensionEh {
public:
    bool SearchKey(TDBGridEh& grid, TGridSearchKeyEh key) override;
};

// Opens the find dialog for `grid`, modal as the grid always asks for it,
// with `text` to find.
void OpenFindDialog(TDBGridEh& grid, const QString& text);
