#include "controls/timeedit/edit_button_widget_eh.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

TEditButtonWidgetEh::TEditButtonWidgetEh(QWidget* parent, TEditButtonEh& button)
    : QWidget(parent), button_(button) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void TEditButtonWidgetEh::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool enabled = isEnabled() && button_.Enabled();
    const auto bevel = [&](const QRect& r, bool sunken) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = r;
        option.state = (enabled ? QStyle::State_Enabled : QStyle::State_None) |
                       (sunken ? QStyle::State_Sunken : QStyle::State_Raised);
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
    };
    const auto arrow = [&](const QRect& r, QStyle::PrimitiveElement element) {
        QStyleOption option;
        option.initFrom(this);
        option.rect = r.adjusted(2, 2, -2, -2);
        option.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
        style()->drawPrimitive(element, &option, &painter, this);
    };
    const QRect r = rect();
    if (button_.IsUpDown()) {
        const QRect top(r.left(), r.top(), r.width(), r.height() / 2);
        const QRect bottom(r.left(), top.bottom() + 1, r.width(), r.height() - top.height());
        bevel(top, pressed_ && topPressed_);
        bevel(bottom, pressed_ && !topPressed_);
        arrow(top, QStyle::PE_IndicatorArrowUp);
        arrow(bottom, QStyle::PE_IndicatorArrowDown);
        return;
    }
    bevel(r, pressed_);
    painter.setPen(
        palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    switch (button_.Style()) {
    case TEditButtonStyleEh::ebsDropDownEh:
    case TEditButtonStyleEh::ebsAltDropDownEh:
        arrow(r, QStyle::PE_IndicatorArrowDown);
        break;
    case TEditButtonStyleEh::ebsEllipsisEh:
        painter.drawText(r, Qt::AlignCenter, QStringLiteral("..."));
        break;
    case TEditButtonStyleEh::ebsPlusEh:
        painter.drawText(r, Qt::AlignCenter, QStringLiteral("+"));
        break;
    case TEditButtonStyleEh::ebsMinusEh:
        painter.drawText(r, Qt::AlignCenter, QStringLiteral("-"));
        break;
    case TEditButtonStyleEh::ebsGlyphEh:
    case TEditButtonStyleEh::ebsUpDownEh:
    case TEditButtonStyleEh::ebsAltUpDownEh:
        break;
    }
}

void TEditButtonWidgetEh::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !button_.Enabled())
        return;
    pressed_ = true;
    topPressed_ = event->position().y() < height() / 2.0;
    update();
    if (onPress)
        onPress(topPressed_);
}

void TEditButtonWidgetEh::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    update();
    if (rect().contains(event->position().toPoint()) && onClick)
        onClick();
}
