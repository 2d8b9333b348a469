// The incremental search's keys: the start key, and while the search runs,
// the keys it takes before the grid's own handling.
#include "data/dataset/dataset.h"
#include "grid/dbgrideh.h"
#include "grid/finddialog/find_dialog_key_eh.h"
#include "grid/incsearch/inc_search_eh.h"
#include "grid/incsearch/inc_search_settings_eh.h"
#include "grid/incsearch/search_text_eh.h"
#include "grid/input/grid_keys_eh.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

constexpr TShiftState kModifiers = ssShift | ssCtrl | ssAlt;

} // namespace

bool TIncSearchEh::KeyDown(TDBGridEh& grid, unsigned short& key, TShiftState shift) {
    if (!grid.DataLink().Active())
        return false;
    const TIncSearchSettingsEh& settings = IncSearchSettingsEh();
    const TDBGridEhOptions options = grid.OptionsEh();
    if (searching_ && options.Contains(TDBGridEhOption::dghDialogFind) &&
        settings.findDialogKey.Matches(key, shift)) {
        EndSearch();
        OpenFindDialog(grid, QString());
        return true;
    }
    if (settings.startKey.Matches(key, shift)) {
        if (searching_)
            return true;
        if (!options.Contains(TDBGridEhOption::dghIncSearch))
            return false;
        AddToSearch(QString(), -1, TGridTextDirectionEh::All);
        return true;
    }
    return searching_ && SearchingKeyDown(key, shift);
}

bool TIncSearchEh::SearchingKeyDown(unsigned short key, TShiftState shift) {
    namespace K = GridKeysEh;
    const TIncSearchSettingsEh& settings = IncSearchSettingsEh();
    if (settings.nextMatchKey.Matches(key, shift)) {
        AddToSearch(QString(), timeout_, TGridTextDirectionEh::Down);
        return true;
    }
    if (settings.priorMatchKey.Matches(key, shift)) {
        AddToSearch(QString(), timeout_, TGridTextDirectionEh::Up);
        return true;
    }
    const TShiftState modifiers = shift & kModifiers;
    if ((key == K::KeyV && modifiers == ssCtrl) || (key == K::Insert && modifiers == ssShift)) {
        AddToSearch(QGuiApplication::clipboard()->text(), timeout_, TGridTextDirectionEh::All);
        return true;
    }
    if (modifiers != 0)
        return false;
    switch (key) {
    case K::Backspace:
        // Shorter text, same record: the next character searches from the top again.
        searchText_ = WithoutLastCharacterEh(searchText_);
        grid_.InvalidateCurrentRow();
        RestartTimer();
        return true;
    case K::Enter:
    case K::Escape:
    case K::F2:
        // The search ends and the key does what it does in the grid.
        EndSearch();
        return false;
    default:
        // Moves end the search when the current cell changes; characters
        // come as KeyPress.
        return false;
    }
}

bool TIncSearchEh::KeyPress(TDBGridEh& grid, QChar key) {
    if (key.unicode() < 32 || !grid.DataLink().Active())
        return false;
    const TDBGridEhOptions options = grid.OptionsEh();
    if (!searching_) {
        // Typing starts a search only when the grid prefers it to editing.
        if (!options.Contains(TDBGridEhOption::dghIncSearch) ||
            !options.Contains(TDBGridEhOption::dghPreferIncSearch) || !Browsing())
            return false;
        AddToSearch(QString(key), IncSearchSettingsEh().typedTimeoutMs, TGridTextDirectionEh::All);
        return true;
    }
    // While the record is being edited or inserted, typed characters are not
    // searched for (nor do they open the editor, which the search keeps closed).
    if (Browsing())
        AddToSearch(QString(key), timeout_, TGridTextDirectionEh::All);
    return true;
}

bool TIncSearchEh::Browsing() const {
    const TDataSet* dataSet = grid_.DataSet();
    return dataSet && dataSet->State() == dsBrowse;
}
