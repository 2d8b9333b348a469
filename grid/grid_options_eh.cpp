#include "grid/grid_options_eh.h"

namespace GridOptionNames {

QStringList Options() {
    return {"dgEditing",       "dgAlwaysShowEditor",
            "dgTitles",        "dgIndicator",
            "dgColumnResize",  "dgColLines",
            "dgRowLines",      "dgTabs",
            "dgRowSelect",     "dgAlwaysShowSelection",
            "dgConfirmDelete", "dgCancelOnExit",
            "dgMultiSelect"};
}

QStringList OptionsEh() {
    return {"dghFixed3D",
            "dghFrozen3D",
            "dghFooter3D",
            "dghData3D",
            "dghResizeWholeRightPart",
            "dghHighlightFocus",
            "dghClearSelection",
            "dghFitRowHeightToText",
            "dghAutoSortMarking",
            "dghMultiSortMarking",
            "dghEnterAsTab",
            "dghTraceColSizing",
            "dghIncSearch",
            "dghPreferIncSearch",
            "dghRowHighlight",
            "dghDblClickOptimizeColWidth",
            "dghDialogFind",
            "dghRecordMoving",
            "dghShowRecNo",
            "dghHotTrack",
            "dghExtendVertLines",
            "dghColumnResize",
            "dghColumnMove",
            "dghAutoFitRowHeight"};
}

QStringList AllowedOperations() {
    return {"alopInsertEh", "alopUpdateEh", "alopDeleteEh", "alopAppendEh"};
}

QStringList AllowedSelections() {
    return {"gstRecordBookmarks", "gstRectangle", "gstColumns", "gstAll"};
}

QStringList EditActions() {
    return {"geaCutEh", "geaCopyEh", "geaPasteEh", "geaDeleteEh", "geaSelectAllEh"};
}

QStringList IndicatorOptions() {
    return {"gioShowRowIndicatorEh", "gioShowRecNoEh", "gioShowRowselCheckboxesEh"};
}

QStringList ScrollBarVisibleModes() {
    return {"sbAlwaysShowEh", "sbNeverShowEh", "sbAutoShowEh"};
}

} // namespace GridOptionNames
