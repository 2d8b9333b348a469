#include "platform/ui/panel.h"

#include "platform/ui/frame_3d.h"

#include <QPainter>
#include <QWidget>

// The widget of a panel: it hands painting to its panel.
class TPanelWidget : public QWidget {
public:
    TPanelWidget() {
        setFocusPolicy(Qt::NoFocus);
        setAutoFillBackground(true);
    }
    TPanel* panel = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!panel)
            return;
        QPainter painter(this);
        panel->Paint(painter);
    }
};

namespace {

// A bevel's two colours; bvSpace takes room without drawing.
void Bevel(QPainter& painter, QRect& rect, TPanelBevel bevel, int width, const QPalette& palette) {
    const QColor light = palette.color(QPalette::Light);
    const QColor shadow = palette.color(QPalette::Dark);
    switch (bevel) {
    case TPanelBevel::bvNone:
        return;
    case TPanelBevel::bvLowered:
        Frame3D(painter, rect, shadow, light, width);
        return;
    case TPanelBevel::bvRaised:
        Frame3D(painter, rect, light, shadow, width);
        return;
    case TPanelBevel::bvSpace:
        rect.adjust(width, width, -width, -width);
        return;
    }
}

} // namespace

TPanel::TPanel(TComponent* owner) : TControl(owner, new TPanelWidget) {
    static_cast<TPanelWidget*>(Widget())->panel = this;
    SetBounds(0, 0, 185, 41);
}

TPanel::~TPanel() {
    if (auto* widget = static_cast<TPanelWidget*>(Widget()))
        widget->panel = nullptr;
}

void TPanel::Changed() {
    if (Widget())
        Widget()->update();
}

void TPanel::SetCaption(const QString& caption) {
    caption_ = caption;
    Changed();
}
void TPanel::SetBevelOuter(TPanelBevel bevel) {
    bevelOuter_ = bevel;
    Changed();
}
void TPanel::SetBevelInner(TPanelBevel bevel) {
    bevelInner_ = bevel;
    Changed();
}
void TPanel::SetBevelWidth(int width) {
    bevelWidth_ = std::max(1, width);
    Changed();
}
void TPanel::SetBorderWidth(int width) {
    borderWidth_ = std::max(0, width);
    Changed();
}

void TPanel::SetColor(const QString& color) {
    QPalette palette = Widget()->palette();
    palette.setColor(QPalette::Window, QColor(color));
    Widget()->setPalette(palette);
}

QRect TPanel::ClientRect() const {
    QRect rect(0, 0, Widget()->width(), Widget()->height());
    auto shrink = [&](TPanelBevel bevel) {
        if (bevel != TPanelBevel::bvNone)
            rect.adjust(bevelWidth_, bevelWidth_, -bevelWidth_, -bevelWidth_);
    };
    shrink(bevelOuter_);
    rect.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    shrink(bevelInner_);
    return rect;
}

void TPanel::Paint(QPainter& painter) {
    const QPalette& palette = Widget()->palette();
    QRect rect(0, 0, Widget()->width(), Widget()->height());
    Bevel(painter, rect, bevelOuter_, bevelWidth_, palette);
    rect.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    Bevel(painter, rect, bevelInner_, bevelWidth_, palette);
    if (caption_.isEmpty())
        return;
    const bool enabled = Widget()->isEnabled();
    painter.setFont(Widget()->font());
    if (!enabled) {
        // The engraved look of disabled text: a light copy one pixel down and right.
        painter.setPen(palette.color(QPalette::Light));
        painter.drawText(rect.translated(1, 1), Qt::AlignCenter | Qt::TextSingleLine, caption_);
        painter.setPen(palette.color(QPalette::Dark));
    } else {
        painter.setPen(palette.color(QPalette::WindowText));
    }
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, caption_);
}
