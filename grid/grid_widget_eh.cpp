#include "grid/grid_widget_eh.h"

#include "grid/dbgrideh.h"
#include "grid/editor/inplace_edit_eh.h"
#include "grid/grid_scroll_bar_eh.h"
#include "grid/input/grid_mouse_eh.h"
#include "grid/tab_key_eh.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

// Runs grid code for a Qt event: nothing that escapes it crosses the event loop.
template <typename F> void Run(TDBGridEh* grid, F&& f) {
    if (grid)
        Application->Dispatch(grid, std::forward<F>(f));
}

} // namespace

TGridWidgetEh::TGridWidgetEh() {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBar(new TGridScrollBarEh);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { Run(grid, [&] { grid->ScrollBarAction(action); }); });
    connect(verticalScrollBar(), &QAbstractSlider::sliderReleased, this,
            [this] { Run(grid, [&] { grid->ScrollBarReleased(); }); });
}

bool TGridWidgetEh::event(QEvent* event) {
    QKeyEvent* tab =
        grid && grid->Options().Contains(TDBGridOption::dgTabs) ? TabKeyPress(event) : nullptr;
    if (tab) {
        keyPressEvent(tab);
        return true;
    }
    return QAbstractScrollArea::event(event);
}

bool TGridWidgetEh::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        const bool handled = QAbstractScrollArea::viewportEvent(event);
        Run(grid, [&] { grid->ViewportResized(); });
        return handled;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TGridWidgetEh::paintEvent(QPaintEvent* event) {
    if (!grid)
        return;
    QPainter painter(viewport());
    Run(grid, [&] { grid->PaintGrid(painter, event->rect()); });
}

void TGridWidgetEh::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
}

void TGridWidgetEh::mousePressEvent(QMouseEvent* event) {
    Run(grid, [&] {
        grid->Mouse().Press(event->position().toPoint(), event->button(),
                            TControl::ShiftState(event->modifiers()), false);
    });
}

void TGridWidgetEh::mouseMoveEvent(QMouseEvent* event) {
    Run(grid, [&] { grid->Mouse().Move(event->position().toPoint(), event->buttons()); });
}

void TGridWidgetEh::mouseReleaseEvent(QMouseEvent* event) {
    Run(grid, [&] {
        grid->Mouse().Release(event->position().toPoint(), event->button(),
                              TControl::ShiftState(event->modifiers()));
    });
}

void TGridWidgetEh::mouseDoubleClickEvent(QMouseEvent* event) {
    Run(grid, [&] {
        grid->Mouse().Press(event->position().toPoint(), event->button(),
                            TControl::ShiftState(event->modifiers()), true);
    });
}

void TGridWidgetEh::wheelEvent(QWheelEvent* event) {
    if (!grid)
        return;
    // One record per notch (120); smaller steps add up.
    wheelDelta_ += event->angleDelta().y();
    while (wheelDelta_ >= 120) {
        wheelDelta_ -= 120;
        Run(grid, [&] { grid->Mouse().Wheel(true); });
    }
    while (wheelDelta_ <= -120) {
        wheelDelta_ += 120;
        Run(grid, [&] { grid->Mouse().Wheel(false); });
    }
    event->accept();
}

void TGridWidgetEh::keyPressEvent(QKeyEvent* event) {
    if (!grid)
        return;
    const unsigned short key = TControl::VirtualKey(event->key());
    const TShiftState shift = TControl::ShiftState(event->modifiers());
    bool characters = true;
    if (key != 0)
        Run(grid, [&] { characters = grid->KeyDown(key, shift); });
    // Characters (and Backspace) typed without Ctrl or Alt; Delete is no character.
    const QString text = event->text();
    const bool character =
        text.size() == 1 && !(shift & (ssCtrl | ssAlt)) &&
        ((text[0].unicode() >= 32 && text[0].unicode() != 127) || text[0].unicode() == 8);
    if (character && characters && grid)
        Run(grid, [&] { grid->KeyPress(text[0]); });
    event->accept();
}

void TGridWidgetEh::keyReleaseEvent(QKeyEvent* event) {
    Run(grid, [&] {
        grid->KeyUp(TControl::VirtualKey(event->key()), TControl::ShiftState(event->modifiers()));
    });
    QAbstractScrollArea::keyReleaseEvent(event);
}

void TGridWidgetEh::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    Run(grid, [&] { grid->FocusEnteredGrid(); });
}

void TGridWidgetEh::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    if (!grid)
        return;
    grid->InvalidateCurrentRow();
    if (QApplication::focusWidget() == grid->InplaceEditor())
        return;
    const bool toAnotherControl =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    Run(grid, [&] { grid->FocusLeftGrid(toAnotherControl); });
}

void TGridWidgetEh::scrollContentsBy(int, int) {
    // The grid scrolls by records and repaints itself; nothing to shift.
}
