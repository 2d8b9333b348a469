#pragma once
// SearchGridText: the grid's text search, which the find dialog and the
// incremental search share. From the grid's current cell (or from the first
// record), it walks the cells of one column or of all visible columns, up or
// down, to the next one whose text matches, and makes that cell current.
// When nothing matches, the grid shows what it showed before.

#include "grid/search/text_match_eh.h"

#include <QString>

class TDBGridEh;

enum class TGridTextDirectionEh {
    Up,   // from the current cell towards the first record
    Down, // from the current cell towards the last record
    All,  // from the first record downwards
};

// Where a search over a tree-shaped dataset looks; a plain dataset ignores it.
enum class TGridTreeFindRangeEh { AllNodes, ExpandedNodes, CurrentLevel, CurrentNode };

struct TGridTextSearchEh {
    // The column to start in, by field name (any letter case); empty: the
    // grid's current column.
    QString fieldName;
    QString text;
    TGridTextMatchEh match = TGridTextMatchEh::AnyPart;
    TGridTextDirectionEh direction = TGridTextDirectionEh::All;
    bool caseInsensitive = true;
    // Walk across the cells of every visible column, not down one column.
    bool allColumns = false;
    // Compare the text the cell shows; otherwise the field's value as plain text.
    bool displayText = true;
    // Give up, as not found, when the user presses Esc during the walk.
    bool stopOnEscape = false;
    TGridTreeFindRangeEh treeRange = TGridTreeFindRangeEh::AllNodes;
};

// Returns whether a cell was found; the found record stays current and its
// column becomes the selected one. A field name no column has raises
// EInvalidGridOperation "El nombre de campo '<name>' no se encuentra". The
// dataset's controls are frozen while the walk runs; an error of the
// dataset leaves them unfrozen, the position where the error stopped it.
bool SearchGridText(TDBGridEh& grid, const TGridTextSearchEh& search);
