#include "grid/incsearch/inc_search_settings_eh.h"

#include "grid/input/grid_keys_eh.h"

const TIncSearchSettingsEh& IncSearchSettingsEh() {
    static const TIncSearchSettingsEh settings{
        {GridKeysEh::KeyF, ssCtrl},
        {GridKeysEh::Enter, ssCtrl},
        {GridKeysEh::Enter, ssCtrl | ssShift},
        {GridKeysEh::KeyF, ssCtrl},
        1500,
        Colors::clYellow,
        TColor(QColor(0, 0, 0)),
    };
    return settings;
}
