#pragma once
// A window: a top-level control that is the root of its form description,
// owns its components, may preview keys, runs modally, and reports its
// activation and closing through its events.

#include "platform/formfile/class_registry.h"
#include "platform/ui/control.h"

enum class TPosition { poDesigned, poScreenCenter };
// bsSizeable: the user may resize the window; bsDialog: a dialog's frame,
// of the size the program gives it.
enum class TFormBorderStyle { bsSizeable, bsDialog };

class TForm : public TControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    QString ClassName() const override { return QStringLiteral("TForm"); }

    QString Caption() const;
    void SetCaption(const QString& caption);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }
    void SetPosition(TPosition position) { position_ = position; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    void SetColor(const QString& color);
    // Outer size as the window system counts it, frame included.
    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const;
    int ClientHeight() const;
    // The outer size follows, by the frame.
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    void SetVisible(bool visible) override;
    // Shows the window, runs its activation (OnActivate) at once and then a
    // loop of its own until it closes; returns the modal result. The
    // activation runs once for each showing, whether the window system
    // activates the window soon, late, more than once or never.
    int ShowModal();
    // The window runs its activation itself each time it is shown, right
    // after showing, once per showing, as a modal window does: for a window
    // whose activation must run whether the window system activates it
    // soon, late, more than once or never.
    void SetActivatesWhenShown(bool activates) { activatesWhenShown_ = activates; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result);
    // Asks the window to close: OnClose chooses hide, free or nothing.
    void Close();
    // Frees the window once the handler running now has returned.
    void Release();
    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(bool forward = true);
    bool Active() const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnActivate;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;

    // Frame of a window: the outer size minus this is the client size. A
    // border of 8 pixels on each side and a caption bar of 23, so that the
    // results window's 870 x 500 leave the 854 x 461 its controls fill.
    static constexpr int kFrameWidth = 16;
    static constexpr int kFrameHeight = 39;

protected:
    // Reads the window's description and runs OnCreate (through the dispatcher,
    // so a failing OnCreate is reported and the window still exists).
    void InitForm(const THandlerTable& handlers, const QString& descriptionFile);
    // Called between reading the description and OnCreate: find components by name here.
    virtual void BindComponents() {}
    bool WidgetEvent(QEvent* event) override;
    void Loaded() override;

private:
    void ApplyTabOrder();
    void DoClose();
    // The window became the application's active window: OnActivate, only
    // once per showing while it runs modally or activates when shown.
    void RunActivation();

    bool keyPreview_ = false;
    TPosition position_ = TPosition::poDesigned;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    int modalResult_ = 0;
    bool modal_ = false;
    bool activatesWhenShown_ = false;
    // The activation of the current showing has run (a modal window, or
    // one that activates when shown).
    bool showingActivated_ = false;
    bool closing_ = false;
};

// Finds a component of `owner` by name and class, raising a clear error when it is missing.
template <typename T> T* FindRequired(TComponent& owner, const QString& name) {
    T* found = dynamic_cast<T*>(owner.FindComponent(name));
    if (!found)
        throw Exception(QStringLiteral("Component %1 of %2 is missing").arg(name, owner.Name()));
    return found;
}
