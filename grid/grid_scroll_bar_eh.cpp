#include "grid/grid_scroll_bar_eh.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace {

// Pixels beyond the thumb's ends that its picture may take.
constexpr int kEdge = 4;

} // namespace

TGridScrollBarEh::TGridScrollBarEh() : QScrollBar(Qt::Vertical) {}

QRect TGridScrollBarEh::ThumbRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

void TGridScrollBarEh::sliderChange(SliderChange change) {
    const QRect thumb = ThumbRect();
    const bool atEnd = value() == minimum() || value() == maximum();
    if (change == SliderValueChange && !atEnd && !atEnd_ && !thumb_.isNull()) {
        // Across the bar, and a little beyond the thumb's ends, where the
        // style may draw its edges and shadow.
        const QRect moved = thumb_.united(thumb);
        update(QRect(0, moved.top() - kEdge, width(), moved.height() + 2 * kEdge));
    } else {
        QScrollBar::sliderChange(change);
    }
    thumb_ = thumb;
    atEnd_ = atEnd;
}

void TGridScrollBarEh::resizeEvent(QResizeEvent* event) {
    thumb_ = QRect();
    QScrollBar::resizeEvent(event);
}

void TGridScrollBarEh::changeEvent(QEvent* event) {
    thumb_ = QRect();
    QScrollBar::changeEvent(event);
}

void TGridScrollBarEh::showEvent(QShowEvent* event) {
    thumb_ = QRect();
    QScrollBar::showEvent(event);
}
