#include "platform/ui/speed_button.h"

#include "platform/formfile/class_registry.h"
#include "platform/ui/application.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <qdrawutil.h>

// The widget of a speed button: it only hands painting to its button, so
// that every pixel comes from TSpeedButton::Paint and no style is involved.
class TSpeedButtonWidget : public QWidget {
public:
    TSpeedButtonWidget() { setFocusPolicy(Qt::NoFocus); }
    TSpeedButton* button = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!button)
            return;
        QPainter painter(this);
        button->Paint(painter);
    }
};

TSpeedButton::TSpeedButton(TComponent* owner) : TControl(owner, new TSpeedButtonWidget) {
    static_cast<TSpeedButtonWidget*>(Widget())->button = this;
    SetTabStop(false);
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() {
    // The widget outlives this part of the object until TControl deletes it.
    if (auto* widget = static_cast<TSpeedButtonWidget*>(Widget()))
        widget->button = nullptr;
}

void TSpeedButton::Changed() {
    if (Widget())
        Widget()->update();
}

void TSpeedButton::SetCaption(const QString& caption) {
    caption_ = caption;
    Changed();
}

void TSpeedButton::SetFlat(bool flat) {
    flat_ = flat;
    Changed();
}

void TSpeedButton::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Changed();
}

void TSpeedButton::SetGlyph(const QImage& glyph) {
    glyph_ = glyph;
    Changed();
}

void TSpeedButton::SetGlyphData(const QByteArray& bmpFile) {
    if (bmpFile.isEmpty()) {
        SetGlyph(QImage());
        return;
    }
    QImage image;
    if (!image.loadFromData(bmpFile, "BMP"))
        throw EPropertyValue(QStringLiteral("Invalid glyph: the data is not a BMP image"));
    SetGlyph(image);
}

void TSpeedButton::SetNumGlyphs(int count) {
    numGlyphs_ = std::clamp(count, 1, 4);
    Changed();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
    layout_ = layout;
    Changed();
}

void TSpeedButton::SetMargin(int margin) {
    margin_ = margin < -1 ? -1 : margin;
    Changed();
}

void TSpeedButton::SetSpacing(int spacing) {
    spacing_ = spacing;
    Changed();
}

void TSpeedButton::SetDown(bool down) {
    if (groupIndex_ == 0)
        down = false;
    if (down == down_)
        return;
    // A down button of a group only comes up by itself when all may be up.
    if (down_ && !allowAllUp_)
        return;
    down_ = down;
    if (down_)
        RaiseOthersOfGroup();
    Changed();
}

void TSpeedButton::RaiseOthersOfGroup() {
    if (!Parent())
        return;
    for (TControl* control : Parent()->Controls()) {
        auto* other = dynamic_cast<TSpeedButton*>(control);
        if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
            other->down_ = false;
            other->Changed();
        }
    }
}

void TSpeedButton::SetGroupIndex(int index) {
    groupIndex_ = index;
    if (groupIndex_ == 0 && down_) {
        down_ = false;
        Changed();
    }
}

void TSpeedButton::SetAllowAllUp(bool allow) {
    allowAllUp_ = allow;
}

void TSpeedButton::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    dragging_ = false;
    pressedInside_ = false;
    Changed();
}

TButtonState TSpeedButton::State() const {
    if (!Enabled())
        return TButtonState::bsDisabled;
    if (down_)
        return TButtonState::bsExclusive;
    if (dragging_ && pressedInside_)
        return TButtonState::bsDown;
    return TButtonState::bsUp;
}

void TSpeedButton::Click() {
    Fire(OnClick, this);
}

QSize TSpeedButton::TextSize() const {
    if (caption_.isEmpty())
        return QSize(0, 0);
    return QFontMetrics(Widget()->font()).size(Qt::TextSingleLine | Qt::TextShowMnemonic, caption_);
}

QSize TSpeedButton::GlyphSize() const {
    if (glyph_.isNull())
        return QSize(0, 0);
    return QSize(glyph_.width() / numGlyphs_, glyph_.height());
}

TButtonPlacement TSpeedButton::CalcPlacement(QSize glyphSize) const {
    const QSize client = Widget()->size();
    TButtonLayout layout = layout_;
    if (Widget()->layoutDirection() == Qt::RightToLeft) {
        if (layout == TButtonLayout::blGlyphLeft)
            layout = TButtonLayout::blGlyphRight;
        else if (layout == TButtonLayout::blGlyphRight)
            layout = TButtonLayout::blGlyphLeft;
    }
    const QSize text = TextSize();
    const bool across =
        layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    QPoint glyphPos;
    QPoint textPos;
    // Across the layout direction both are centred.
    if (across) {
        glyphPos.setY((client.height() - glyphSize.height() + 1) / 2);
        textPos.setY((client.height() - text.height() + 1) / 2);
    } else {
        glyphPos.setX((client.width() - glyphSize.width() + 1) / 2);
        textPos.setX((client.width() - text.width() + 1) / 2);
    }

    int spacing = spacing_;
    int margin = margin_;
    if (caption_.isEmpty() || glyphSize.isEmpty())
        spacing = 0;
    const int extent = across ? client.width() : client.height();
    const int glyphExtent = across ? glyphSize.width() : glyphSize.height();
    const int textExtent = across ? text.width() : text.height();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (extent - glyphExtent - textExtent) / 3;
            spacing = margin;
        } else {
            margin = (extent - (glyphExtent + spacing + textExtent)) / 2;
        }
    } else if (spacing == -1) {
        spacing = (extent - (margin + glyphExtent + textExtent)) / 2;
    }

    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        glyphPos.setX(margin);
        textPos.setX(glyphPos.x() + glyphSize.width() + spacing);
        break;
    case TButtonLayout::blGlyphRight:
        glyphPos.setX(client.width() - margin - glyphSize.width());
        textPos.setX(glyphPos.x() - spacing - text.width());
        break;
    case TButtonLayout::blGlyphTop:
        glyphPos.setY(margin);
        textPos.setY(glyphPos.y() + glyphSize.height() + spacing);
        break;
    case TButtonLayout::blGlyphBottom:
        glyphPos.setY(client.height() - margin - glyphSize.height());
        textPos.setY(glyphPos.y() - spacing - text.height());
        break;
    }

    const TButtonState state = State();
    if (state == TButtonState::bsDown || state == TButtonState::bsExclusive) {
        glyphPos += QPoint(1, 1);
        textPos += QPoint(1, 1);
    }
    return {glyphPos, QRect(textPos, text)};
}

void TSpeedButton::Paint(QPainter& painter) {
    const TButtonState state = State();
    PaintFrame(painter, state);
    const TButtonPlacement placement = CalcPlacement(GlyphSize());
    PaintGlyph(painter, placement.glyphPos, state);
    PaintCaption(painter, placement.textRect, state);
}

void TSpeedButton::PaintFrame(QPainter& painter, TButtonState state) const {
    const QRect rect = Widget()->rect();
    const QPalette& palette = Widget()->palette();
    const bool sunken = state == TButtonState::bsDown || state == TButtonState::bsExclusive;
    const QBrush dither(palette.color(QPalette::Light), Qt::Dense4Pattern);
    if (!flat_) {
        const QBrush face = palette.button();
        qDrawWinButton(&painter, rect, palette, sunken, &face);
        if (state == TButtonState::bsExclusive)
            painter.fillRect(rect.adjusted(2, 2, -2, -2), dither);
        return;
    }
    if (!transparent_)
        painter.fillRect(rect, palette.button());
    const bool hot = mouseInControl_ && state != TButtonState::bsDisabled;
    if (state == TButtonState::bsExclusive && !hot)
        painter.fillRect(rect.adjusted(1, 1, -1, -1), dither);
    // The flat frame shows only while pressed, down or under the mouse.
    if (sunken || hot)
        qDrawShadePanel(&painter, rect, palette, sunken, 1);
}

void TSpeedButton::PaintGlyph(QPainter& painter, QPoint at, TButtonState state) const {
    const QSize size = GlyphSize();
    if (size.isEmpty())
        return;
    int index = 0;
    switch (state) {
    case TButtonState::bsUp:
        index = 0;
        break;
    case TButtonState::bsDisabled:
        index = 1;
        break;
    case TButtonState::bsDown:
        index = 2;
        break;
    case TButtonState::bsExclusive:
        index = 3;
        break;
    }
    const bool embossed = state == TButtonState::bsDisabled && numGlyphs_ < 2;
    if (index >= numGlyphs_)
        index = 0;
    const QImage image = glyph_.copy(index * size.width(), 0, size.width(), size.height())
                             .convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = glyph_.pixel(0, glyph_.height() - 1) & RGB_MASK;

    if (!embossed) {
        QImage shown = image;
        for (int y = 0; y < shown.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
            for (int x = 0; x < shown.width(); ++x)
                if ((line[x] & RGB_MASK) == transparent)
                    line[x] = 0;
        }
        painter.drawImage(at, shown);
        return;
    }
    // Without a disabled image of its own, the glyph's shape (everything that
    // is neither transparent nor white) is drawn etched: highlight, then shadow.
    const QPalette& palette = Widget()->palette();
    QImage highlight(image.size(), QImage::Format_ARGB32);
    QImage shadow(image.size(), QImage::Format_ARGB32);
    highlight.fill(Qt::transparent);
    shadow.fill(Qt::transparent);
    const QRgb light = palette.color(QPalette::Light).rgb();
    const QRgb dark = palette.color(QPalette::Dark).rgb();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = line[x] & RGB_MASK;
            if (rgb != transparent && rgb != (qRgb(255, 255, 255) & RGB_MASK)) {
                highlight.setPixel(x, y, light);
                shadow.setPixel(x, y, dark);
            }
        }
    }
    painter.drawImage(at + QPoint(1, 1), highlight);
    painter.drawImage(at, shadow);
}

void TSpeedButton::PaintCaption(QPainter& painter, const QRect& rect, TButtonState state) const {
    if (caption_.isEmpty())
        return;
    const QPalette& palette = Widget()->palette();
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    painter.setFont(Widget()->font());
    if (state == TButtonState::bsDisabled) {
        painter.setPen(palette.color(QPalette::Light));
        painter.drawText(rect.translated(1, 1), flags, caption_);
        painter.setPen(palette.color(QPalette::Dark));
        painter.drawText(rect, flags, caption_);
        return;
    }
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(rect, flags, caption_);
}

bool TSpeedButton::WidgetEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (!Enabled())
            return false;
        MousePress(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        if (!Enabled())
            return false;
        MouseMove(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        if (!Enabled())
            return false;
        MouseRelease(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::Enter:
        mouseInControl_ = true;
        Changed();
        return false;
    case QEvent::Leave:
        mouseInControl_ = false;
        Changed();
        return false;
    default:
        return TControl::WidgetEvent(event);
    }
}

void TSpeedButton::MousePress(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    pressedInside_ = true;
    Changed();
}

void TSpeedButton::MouseMove(QMouseEvent* event) {
    if (!dragging_)
        return;
    const bool inside = Widget()->rect().contains(event->position().toPoint());
    if (inside != pressedInside_) {
        pressedInside_ = inside;
        Changed();
    }
}

void TSpeedButton::MouseRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    pressedInside_ = false;
    const bool inside = Widget()->rect().contains(event->position().toPoint());
    if (inside && groupIndex_ != 0) {
        if (!down_)
            SetDown(true);
        else if (allowAllUp_)
            SetDown(false);
    }
    Changed();
    // Last: the handler may free the button.
    if (inside)
        Application->Dispatch(this, [this] { Click(); });
}

void RegisterSpeedButtonClass() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterClass<TSpeedButton>("TSpeedButton", "TControl")
        .Property("Caption", &TSpeedButton::SetCaption)
        .Property("Flat", &TSpeedButton::SetFlat)
        .Property("Transparent", &TSpeedButton::SetTransparent)
        .Property("Glyph", &TSpeedButton::SetGlyphData)
        .Property("NumGlyphs", &TSpeedButton::SetNumGlyphs)
        .Raw("Layout",
             [](TSpeedButton& b, const FormValue& v, TComponent&) {
                 b.SetLayout(FormValues::Enum<TButtonLayout>(
                     v, {{"blGlyphLeft", TButtonLayout::blGlyphLeft},
                         {"blGlyphRight", TButtonLayout::blGlyphRight},
                         {"blGlyphTop", TButtonLayout::blGlyphTop},
                         {"blGlyphBottom", TButtonLayout::blGlyphBottom}}));
             })
        .Property("Margin", &TSpeedButton::SetMargin)
        .Property("Spacing", &TSpeedButton::SetSpacing)
        .Property("AllowAllUp", &TSpeedButton::SetAllowAllUp)
        .Property("GroupIndex", &TSpeedButton::SetGroupIndex)
        .Property("Down", &TSpeedButton::SetDown);
}
