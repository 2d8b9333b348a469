#pragma once
// A control: a component that wraps a Qt widget. Ownership (the window that
// owns it) is separate from the visual parent (the widget it sits in).

#include "platform/core/component.h"
#include "platform/core/events.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class TForm;
class TControlEvents;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl : public TComponent {
public:
    ~TControl() override;
    QString ClassName() const override { return QStringLiteral("TControl"); }

    QWidget* Widget() const { return widget_; }
    TControl* Parent() const { return parent_; }
    void SetParent(TControl* parent);
    void SetParentComponent(TComponent* parent) override;
    // The window this control sits in, or null.
    TForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool stop);
    void SetFontName(const QString& name);
    void SetFontSize(int points);
    void SetFontColor(const QString& color);
    void SetFontBold(bool bold);

    bool Focused() const;
    virtual void SetFocus();
    // Brings the control's window up to date on screen now, as work that
    // blocks the event loop needs to show its progress: paints the parts of
    // the window marked as changed (all of it at its first paint), even in a
    // window shown a moment ago whose showing the window system has not
    // confirmed yet; at most once per display frame of the window
    // (platform/ui/frame_pacing.h).
    void Repaint();

    // Controls whose visual parent is this one, in creation order.
    const std::vector<TControl*>& Controls() const { return controls_; }
    // Lays out the aligned children of this control.
    void Realign();

    TNotifyEvent OnClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

    // Qt key events become the window-system key codes the handlers expect.
    static unsigned short VirtualKey(int qtKey);
    static TShiftState ShiftState(Qt::KeyboardModifiers modifiers);

protected:
    TControl(TComponent* owner, QWidget* widget);
    // Events of the wrapped widget; return true to consume.
    virtual bool WidgetEvent(QEvent* event);
    // The key handling of a focused control: window preview, then its own events.
    bool HandleKey(QKeyEvent* event);

private:
    friend class TControlEvents;
    void ApplyBounds();

    QPointer<QWidget> widget_;
    std::unique_ptr<TControlEvents> events_;
    TControl* parent_ = nullptr;
    std::vector<TControl*> controls_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool tabStop_ = true;
    int tabOrder_ = -1;
    TAlign align_ = TAlign::alNone;
};
