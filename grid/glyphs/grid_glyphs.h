#pragma once
// The grid's small pictures, drawn here pixel by pixel: the row indicator
// glyphs (6 x 11), the sort markers (10 x 9) and the drop-down triangle.
// Each is made once, on first use, with a transparent background.

#include <QColor>
#include <QImage>
#include <QString>

enum class TIndicatorGlyphEh {
    Arrow,      // DBGARROWEH: the current row
    Edit,       // DBEDITEH: the current row is being edited
    Insert,     // DBINSERTEH: the current row is a new row
    MultiDot,   // DBMULTIDOTEH: a selected row
    MultiArrow, // DBMULTIARROWEH: the current row, selected
    ArrowWhite, // DBGARROWEHW: the arrow in white, for coloured backgrounds
};

enum class TSortMarkerGlyphEh {
    Down,     // DBSMDOWNEH: ascending
    Up,       // DBSMUPEH: descending
    DownFlat, // DBSMDOWNEH_1
    UpFlat,   // DBSMUPEH_1
};

inline constexpr int IndicatorGlyphWidth = 6;
inline constexpr int IndicatorGlyphHeight = 11;
inline constexpr int SortMarkerWidth = 10;
inline constexpr int SortMarkerHeight = 9;

// The glyph in window-text black (white for ArrowWhite).
const QImage& IndicatorGlyph(TIndicatorGlyphEh glyph);
// The outlined triangle: dark left edge, light right edge.
const QImage& SortMarkerGlyph(TSortMarkerGlyphEh glyph);
// DROPDOWNEH: a small solid down-pointing triangle.
const QImage& DropDownGlyph();
// Any of them by its resource name ("DBGARROWEH", "DBSMUPEH_1", ...); a null
// image for an unknown name.
QImage GridBitmap(const QString& name);
