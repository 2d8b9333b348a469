#pragma once
// TGridExtensionEh: a part of the grid that lives beside its view (the title
// sorting, the incremental search, the find dialog). The grid calls every
// registered extension at fixed points of its key handling, its state changes
// and its painting; an extension overrides the points it needs and leaves the
// others doing nothing.

#include "data/dataset/fields/field.h"
#include "platform/core/events.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>

class QPainter;
class TColumnEh;
class TDBGridEh;

// The keys of the grid's tables that belong to the searches.
enum class TGridSearchKeyEh {
    Find,       // Ctrl+F
    NextMatch,  // Ctrl+Enter
    PriorMatch, // Ctrl+Shift+Enter
    Paste,      // Ctrl+V, Shift+Insert
};

// A title cell being painted: the cell and the room its caption has.
struct TTitlePaintInfoEh {
    TColumnEh& column;
    QRect cell;   // inside the cell's 3-D edges
    bool pressed; // the painter has already shifted by (1, 1)
};

// The current data cell, painted with its text; an overlay draws over it.
struct TCellPaintInfoEh {
    TColumnEh& column;
    QRect cell;
    QRect textRect; // where the text starts and ends
    QFont font;
    TAlignment alignment;
    QString text;
};

class TGridExtensionEh {
public:
    virtual ~TGridExtensionEh() = default;

    // ---- Keys ------------------------------------------------------------------------
    // Before the grid's own handling (and before its cell editor); true takes
    // the key, and the grid does nothing more with it.
    virtual bool KeyDown(TDBGridEh& grid, unsigned short& key, TShiftState shift);
    virtual bool KeyPress(TDBGridEh& grid, QChar key);
    virtual void KeyUp(TDBGridEh& grid, unsigned short key, TShiftState shift);
    // A search key of the grid's tables that no KeyDown took; true when handled.
    virtual bool SearchKey(TDBGridEh& grid, TGridSearchKeyEh key);

    // ---- State -----------------------------------------------------------------------
    // The current record or the selected column changed, by any cause.
    virtual void CurrentCellChanged(TDBGridEh& grid);
    // False refuses to open the cell editor.
    virtual bool AllowEditor(const TDBGridEh& grid) const;
    // The keyboard focus left the grid and its editor: for another control,
    // another window, or a popup.
    virtual void FocusLost(TDBGridEh& grid);

    // ---- Titles ----------------------------------------------------------------------
    // A title button was clicked (after OnTitleBtnClick).
    virtual void TitleClicked(TDBGridEh& grid, TColumnEh& column, TShiftState shift);

    // ---- Painting --------------------------------------------------------------------
    // Draws into a title cell before its caption and may narrow `caption`.
    virtual void PaintTitleDecoration(QPainter& painter, const TTitlePaintInfoEh& title,
                                      QRect& caption);
    // Draws over the current data cell once it is painted.
    virtual void PaintCurrentCellOverlay(QPainter& painter, const TCellPaintInfoEh& cell);
    // The background of the current row's indicator glyph, when it is not the
    // fixed colour; asked only while the dataset browses (the arrow).
    virtual std::optional<QColor> CurrentIndicatorColor(const TDBGridEh& grid) const;
};

// Makes an extension for a grid being created (an extension that acts by
// itself, on a timer, keeps the grid).
using TGridExtensionFactoryEh = std::unique_ptr<TGridExtensionEh> (*)(TDBGridEh& grid);
// Every grid created from now on gets an extension from `factory`, in the
// order the factories were registered; registering one twice changes nothing.
void RegisterGridExtensionEh(TGridExtensionFactoryEh factory);
// Adds the registered extensions to a new grid.
void AddRegisteredExtensionsEh(TDBGridEh& grid);
