#include "platform/ui/control.h"

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/frame_pacing.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>

// Forwards the wrapped widget's events to its control.
class TControlEvents : public QObject {
public:
    explicit TControlEvents(TControl& control) : control_(control) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        return watched == control_.widget_ && control_.WidgetEvent(event);
    }

private:
    TControl& control_;
};

TControl::TControl(TComponent* owner, QWidget* widget)
    : TComponent(owner), widget_(widget), events_(std::make_unique<TControlEvents>(*this)) {
    widget_->installEventFilter(events_.get());
    width_ = widget_->width();
    height_ = widget_->height();
}

TControl::~TControl() {
    if (parent_)
        std::erase(parent_->controls_, this);
    for (TControl* child : controls_)
        child->parent_ = nullptr;
    delete widget_.data();
}

void TControl::SetParent(TControl* parent) {
    if (parent == parent_)
        return;
    if (parent_)
        std::erase(parent_->controls_, this);
    parent_ = parent;
    if (parent_) {
        parent_->controls_.push_back(this);
        widget_->setParent(parent_->Widget());
        widget_->setVisible(visible_);
        ApplyBounds();
        parent_->Realign();
    } else {
        widget_->setParent(nullptr);
    }
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* control = dynamic_cast<TControl*>(parent))
        SetParent(control);
}

TForm* TControl::ParentForm() const {
    for (TControl* c = const_cast<TControl*>(this); c; c = c->parent_)
        if (auto* form = dynamic_cast<TForm*>(c))
            return form;
    return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    ApplyBounds();
    if (parent_ && align_ != TAlign::alNone)
        parent_->Realign();
    Realign();
}

void TControl::ApplyBounds() {
    if (parent_)
        widget_->setGeometry(left_, top_, width_, height_);
    else
        widget_->resize(width_, height_);
}

void TControl::SetVisible(bool visible) {
    visible_ = visible;
    if (parent_) {
        widget_->setVisible(visible);
        if (align_ != TAlign::alNone)
            parent_->Realign();
    }
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    widget_->setEnabled(enabled);
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void TControl::SetTabOrder(int order) {
    tabOrder_ = order;
}

void TControl::SetTabStop(bool stop) {
    tabStop_ = stop;
    if (widget_->focusPolicy() != Qt::NoFocus)
        widget_->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TControl::SetFontName(const QString& name) {
    QFont font = widget_->font();
    font.setFamily(name);
    widget_->setFont(font);
}

void TControl::SetFontSize(int points) {
    QFont font = widget_->font();
    font.setPointSize(points);
    widget_->setFont(font);
}

void TControl::SetFontColor(const QString& color) {
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::WindowText, QColor(color));
    palette.setColor(QPalette::Text, QColor(color));
    widget_->setPalette(palette);
}

void TControl::SetFontBold(bool bold) {
    QFont font = widget_->font();
    font.setBold(bold);
    widget_->setFont(font);
}

bool TControl::Focused() const {
    return widget_ && widget_->hasFocus();
}

void TControl::SetFocus() {
    widget_->setFocus(Qt::OtherFocusReason);
}

void TControl::Repaint() {
    QWidget* window = widget_->window();
    if (!window->isVisible() || !FramePacing::BeginFrame(*window))
        return;
    if (!window->testAttribute(Qt::WA_Mapped)) {
        // A window shown a moment ago is on screen before the window
        // system's notice of it arrives, and work that blocks the event loop
        // keeps that notice waiting until it ends; Qt paints no window it has
        // not heard is mapped. The work repaints to be seen now, so the
        // window counts as mapped from its first repaint (the notice, when
        // it comes, sets the flag as the window system has it), which paints
        // all of it: none of it is on screen yet.
        window->setAttribute(Qt::WA_Mapped);
        window->repaint();
        return;
    }
    // Every control marks what its changes touch; the parts marked since the
    // last paint are painted now, and only they.
    QCoreApplication::sendPostedEvents(window, QEvent::UpdateRequest);
}

void TControl::Realign() {
    QRect area(0, 0, widget_->width(), widget_->height());
    auto place = [&](TAlign which) {
        for (TControl* c : controls_) {
            if (c->align_ != which || !c->visible_)
                continue;
            switch (which) {
            case TAlign::alTop:
                c->widget_->setGeometry(area.left(), area.top(), area.width(), c->height_);
                area.setTop(area.top() + c->height_);
                break;
            case TAlign::alBottom:
                c->widget_->setGeometry(area.left(), area.bottom() + 1 - c->height_, area.width(),
                                        c->height_);
                area.setBottom(area.bottom() - c->height_);
                break;
            case TAlign::alLeft:
                c->widget_->setGeometry(area.left(), area.top(), c->width_, area.height());
                area.setLeft(area.left() + c->width_);
                break;
            case TAlign::alRight:
                c->widget_->setGeometry(area.right() + 1 - c->width_, area.top(), c->width_,
                                        area.height());
                area.setRight(area.right() - c->width_);
                break;
            case TAlign::alClient:
                c->widget_->setGeometry(area);
                break;
            case TAlign::alNone:
                break;
            }
            const QRect g = c->widget_->geometry();
            c->left_ = g.left();
            c->top_ = g.top();
            c->width_ = g.width();
            c->height_ = g.height();
        }
    };
    for (TAlign a :
         {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient})
        place(a);
}

unsigned short TControl::VirtualKey(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<unsigned short>(112 + (qtKey - Qt::Key_F1));
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return static_cast<unsigned short>(qtKey);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return 222; // the quote key of the US layout
    default:
        return 0;
    }
}

TShiftState TControl::ShiftState(Qt::KeyboardModifiers modifiers) {
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    if (modifiers & Qt::AltModifier)
        shift |= ssAlt;
    return shift;
}

bool TControl::HandleKey(QKeyEvent* event) {
    TForm* form = ParentForm();
    const bool preview = form && form != this && form->KeyPreview();
    unsigned short key = VirtualKey(event->key());
    const TShiftState shift = ShiftState(event->modifiers());
    if (key != 0) {
        if (preview && form->OnKeyDown)
            Application->Dispatch(form, [&] { form->OnKeyDown(form, key, shift); });
        if (key != 0 && OnKeyDown)
            Application->Dispatch(this, [&] { OnKeyDown(this, key, shift); });
        if (key == 0)
            return true;
    }
    const QString text = event->text();
    if (text.size() != 1)
        return false;
    QChar ch = text[0];
    const QChar typed = ch;
    if (preview && form->OnKeyPress)
        Application->Dispatch(form, [&] { form->OnKeyPress(form, ch); });
    if (!ch.isNull() && OnKeyPress)
        Application->Dispatch(this, [&] { OnKeyPress(this, ch); });
    if (ch.isNull())
        return true;
    if (ch != typed && widget_) {
        // A handler replaced the character: the widget receives the new one instead.
        QKeyEvent replaced(QEvent::KeyPress, 0, event->modifiers(), QString(ch));
        events_->blockSignals(true);
        widget_->removeEventFilter(events_.get());
        QApplication::sendEvent(widget_, &replaced);
        if (widget_)
            widget_->installEventFilter(events_.get());
        events_->blockSignals(false);
        return true;
    }
    return false;
}

bool TControl::WidgetEvent(QEvent* event) {
    if (InDestruction())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        // Passed on from a control inside this one, which has handled it.
        if (!TApplication::ClaimKeyPress(event))
            return false;
        return HandleKey(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        Application->Dispatch(this, [&] { Fire(OnEnter, this); });
        return false;
    case QEvent::FocusOut: {
        // Leaving the window is no exit from the control; moving within it is.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Application->Dispatch(this, [&] { Fire(OnExit, this); });
        return false;
    }
    case QEvent::Resize:
        Realign();
        return false;
    default:
        return false;
    }
}
