#pragma once
// The grid's mouse handling: clicks that move the current cell, the title
// button press that follows the pointer, column sizing from the 7-pixel zone
// around a title's right edge, column moving by dragging a title (or with the
// right button), and the wheel. One drag at a time; Esc cancels it.

#include "platform/core/events.h"

#include <QPoint>
#include <Qt>

class QPainter;
class TDBGridEh;

class TGridMouseEh {
public:
    enum class TDrag { None, TitlePress, Sizing, Moving };

    explicit TGridMouseEh(TDBGridEh& grid) : grid_(grid) {}

    void Press(QPoint pos, Qt::MouseButton button, TShiftState shift, bool doubleClick);
    void Move(QPoint pos, Qt::MouseButtons buttons);
    void Release(QPoint pos, Qt::MouseButton button, TShiftState shift);
    void Wheel(bool up);
    // Ends a drag without its effect.
    void Cancel();

    TDrag Drag() const { return drag_; }
    // The visible column whose title shows pressed, -1 when none.
    int PressedTitle() const;
    // The sizing line, the move marker and the dragged title.
    void PaintOverlay(QPainter& painter) const;

private:
    void StartMove(int visibleIndex, QPoint pos);
    // The gap between visible columns nearest to x (0 before the first).
    int MoveGap(int x) const;
    // The visible column a moved column would take at x.
    int MoveTarget(int x) const;
    void UpdateCursor(QPoint pos);

    TDBGridEh& grid_;
    TDrag drag_ = TDrag::None;
    QPoint origin_;
    QPoint pointer_;
    int column_ = -1; // the visible column being pressed, sized or moved
    bool titleButton_ = false;
    bool pressedShown_ = false;
    int sizingLeft_ = 0;
};
