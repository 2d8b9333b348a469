#pragma once
// The pace of explicit repaints. Work that blocks the event loop (the upload)
// shows its progress by repainting its window at every step; a screen shows a
// new picture at most once per refresh (16 ms at 60 Hz), so a repaint that
// comes sooner after the window's last one would never be seen for itself. It
// is skipped: what changed stays marked as changed and is painted by the next
// repaint or, once the work is over, by the event loop.

#include <QtGlobal>

class QWidget;

namespace FramePacing {

// One display frame, in milliseconds.
constexpr qint64 kFrameMs = 16;

// Whether `window` may be painted now, that is whether no frame of it began
// in the last kFrameMs; when it may, its frame begins now.
bool BeginFrame(QWidget& window);

// The clock frames are measured by: monotonic milliseconds. Tests put one of
// their own in place; null puts the system's back.
using Clock = qint64 (*)();
void SetClock(Clock clock);

} // namespace FramePacing
