#pragma once
// Where the image control draws a picture inside its client area.

#include <QRect>
#include <QSize>

// The rectangle, relative to the client area's top left, that a picture of
// `picture` size is drawn into:
//   - fitted when shrinkToFit and the picture is wider or taller than the
//     client, or zoomToFit and it is narrower or lower: the largest rectangle
//     of the picture's proportions, centred (sizes and offsets truncated); a
//     picture with a zero or negative side fills the client area;
//   - otherwise at its natural size, at the top left or, with center, moved
//     by half the difference of the sizes (halves truncated).
QRect PictureRect(QSize client, QSize picture, bool shrinkToFit, bool zoomToFit, bool center);
