#include "grid/finddialog/find_dialog_eh.h"
#include "grid/finddialog/find_dialog_key_eh.h"

#include <memory>

namespace {

std::unique_ptr<TGridExtensionEh> MakeFindDialogKey(TDBGridEh&) {
    return std::make_unique<TFindDialogKeyEh>();
}

} // namespace

void RegisterFindDialogClasses() {
    RegisterAbstractClass<TDBGridEhFindDlg>("TDBGridEhFindDlg", "TForm");
    RegisterGridExtensionEh(&MakeFindDialogKey);
}
