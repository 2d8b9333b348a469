#pragma once
// The painting of the grid's single cells: a title, an indicator, a data and
// a footer cell, each from a small description of what it shows. The grid's
// painter lays the cells out and calls these; they know nothing else.

#include "data/dataset/fields/field.h"
#include "grid/glyphs/grid_glyphs.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

class QPainter;

// The colours of one paint, resolved from the grid's colour properties.
struct TGridPaletteEh {
    QColor fixed;     // FixedColor: title and indicator cells
    QColor window;    // Color: data cells
    QColor footer;    // FooterColor
    QColor text;      // the data font's colour
    QColor fixedText; // the title font's colour
    QColor footerText;
    QColor highlight;
    QColor highlightText;
    QColor light;  // the lit edge of raised cells
    QColor shadow; // the shaded edge
    QColor dataLines;
    QColor fixedLines;
};

struct TTitleCellEh {
    QRect cell;
    QString caption;
    QFont font;
    QColor textColor;
    TAlignment alignment = taLeftJustify;
    bool raised = true;   // dghFixed3D
    bool pressed = false; // a title button held down: sunken, caption one pixel right and down
};

struct TIndicatorCellEh {
    QRect cell;
    bool raised = true;
    std::optional<TIndicatorGlyphEh> glyph;
    // The glyph's background when it is not the fixed colour (the search's yellow).
    std::optional<QColor> glyphBackground;
};

struct TDataCellEh {
    QRect cell;
    QString text;
    QFont font;
    QColor background;
    QColor textColor;
    TAlignment alignment = taLeftJustify;
    bool raised = false; // dghData3D, dghFooter3D
};

namespace GridCellPainterEh {

// The rectangle a cell's text is drawn in: two pixels in from the left, top
// and right edges.
QRect TextRect(const QRect& cell);
// Where text of that width starts in the text rectangle, for the alignment.
int TextLeft(const QRect& textRect, int textWidth, TAlignment alignment);

void DrawRaised(QPainter& painter, const QRect& cell, const TGridPaletteEh& palette);
void DrawSunken(QPainter& painter, const QRect& cell, const TGridPaletteEh& palette);
void DrawText(QPainter& painter, const QRect& textRect, const QString& text, const QFont& font,
              const QColor& color, TAlignment alignment);

// `decorate` may draw into the cell (a sort marker) and narrow the caption's
// rectangle before the caption is drawn; the painter is already shifted when
// the title is pressed.
using TTitleDecorationEh = std::function<void(QPainter&, const QRect& inner, QRect& caption)>;
void PaintTitleCell(QPainter& painter, const TTitleCellEh& title, const TGridPaletteEh& palette,
                    const TTitleDecorationEh& decorate = {});
// The glyph is centred in the cell (its rightmost 11 pixels).
void PaintIndicatorCell(QPainter& painter, const TIndicatorCellEh& indicator,
                        const TGridPaletteEh& palette);
// Where PaintIndicatorCell puts a glyph.
QPoint IndicatorGlyphOrigin(const QRect& cell);
void PaintDataCell(QPainter& painter, const TDataCellEh& data, const TGridPaletteEh& palette);

} // namespace GridCellPainterEh
