#include "platform/ui/label.h"

#include <QEvent>
#include <QLabel>

TLabel::TLabel(TComponent* owner) : TControl(owner, new QLabel) {
    Label()->setFocusPolicy(Qt::NoFocus);
    Label()->setTextFormat(Qt::PlainText);
    Label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetBounds(0, 0, 65, 13);
}

QLabel* TLabel::Label() const {
    return static_cast<QLabel*>(Widget());
}

QString TLabel::Caption() const {
    return Label()->text();
}

void TLabel::SetCaption(const QString& caption) {
    Label()->setText(caption);
    AdjustSize();
}

bool TLabel::WordWrap() const {
    return Label()->wordWrap();
}

void TLabel::SetWordWrap(bool wrap) {
    Label()->setWordWrap(wrap);
    AdjustSize();
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustSize();
}

void TLabel::SetFocusControl(TControl* control) {
    Label()->setBuddy(control ? control->Widget() : nullptr);
}

void TLabel::AdjustSize() {
    if (!autoSize_)
        return;
    const QFontMetrics metrics(Label()->font());
    if (WordWrap()) {
        const QRect r = metrics.boundingRect(QRect(0, 0, Width(), 100000),
                                             Qt::TextWordWrap | Qt::AlignLeft, Caption());
        SetBounds(Left(), Top(), Width(), r.height());
    } else {
        SetBounds(Left(), Top(), metrics.horizontalAdvance(Caption()), metrics.height());
    }
}

bool TLabel::WidgetEvent(QEvent* event) {
    // The font usually comes from the window, after the caption was set.
    if (event->type() == QEvent::FontChange)
        AdjustSize();
    return TControl::WidgetEvent(event);
}
