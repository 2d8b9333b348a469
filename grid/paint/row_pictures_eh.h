#pragma once
// Pictures of the grid's data rows as they were last painted, so that a row
// on view again with the same texts in the same look is copied rather than
// painted anew. Scrolling (a key held down, an upload going down the list)
// moves most rows on view by a row or a few and repaints them unchanged:
// their texts would be laid out and their glyphs drawn again for nothing.
// A row's picture depends only on its cells' texts and on the look the
// painter gives them (cell places and sizes, fonts, colours, alignments, the
// pixel format painted into), so the texts are the key and a paint in
// another look drops every picture; nothing else needs telling. The painter
// paints the current row itself, with its highlight and what the extensions
// draw over it.

#include "data/dataset/fields/field.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <functional>
#include <vector>

class QPainter;

// How the rows of a paint look, apart from their texts.
struct TRowLookEh {
    QImage::Format format = QImage::Format_Invalid;
    QSize size;               // from the row's first cell's left to its last cell's right
    std::vector<QRect> cells; // within the picture
    std::vector<QFont> fonts;
    std::vector<QColor> textColors;
    std::vector<TAlignment> alignments;
    QColor background;
    QColor light;
    QColor shadow;
    bool raised = false;

    bool operator==(const TRowLookEh&) const = default;
};

class TRowPicturesEh {
public:
    // Starts a paint of rows that look like `look`; pictures painted in
    // another look are dropped.
    void BeginPaint(const TRowLookEh& look);
    // The picture of a row whose cells show `texts`: kept from an earlier
    // paint, or painted now by `paint`, given a painter on a new picture
    // filled with the background, its origin at the row's top left.
    const QImage& Picture(const QStringList& texts, const std::function<void(QPainter&)>& paint);
    // Ends the paint: the pictures that no row of it showed are dropped.
    void EndPaint();

private:
    struct Kept {
        QImage picture;
        bool shown = false;
    };
    TRowLookEh look_;
    QHash<QStringList, Kept> kept_;
    std::vector<QImage> spare_;
};
