#pragma once
// A single-line masked edit with edit buttons at its right edge. The masked
// editing is its own: the QLineEdit only shows the text, every key that could
// change it goes through this class. The data-aware boxes derived from it
// fill in how the text is read, reset and posted.

#include "controls/timeedit/edit_button_eh.h"
#include "controls/timeedit/edit_mask_eh.h"
#include "platform/ui/control.h"

#include <memory>
#include <vector>

class QLineEdit;
class QKeyEvent;
class TEditButtonWidgetEh;

// Handled set to true means the handler wrote the value itself.
using TUpdateDataEventEh = std::function<void(TObject* Sender, bool& Handled)>;

class TCustomDBEditEh : public TControl {
public:
    explicit TCustomDBEditEh(TComponent* owner);
    ~TCustomDBEditEh() override;
    QString ClassName() const override { return QStringLiteral("TCustomDBEditEh"); }

    QLineEdit* LineEdit() const;
    // The text as shown, literals and blanks included.
    QString EditText() const;
    QString EditMask() const { return editMask_; }
    // ':' and '/' in the mask show as the given separators.
    void SetEditMask(const QString& mask, QChar dateSeparator, QChar timeSeparator);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Set by every change of the text other than a render from the stored
    // value; cleared by that render and by posting.
    bool Modified() const { return modified_; }

    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);
    void SelectAll();

    TEditButtonEh& EditButton() { return *editButton_; }
    // Further buttons, drawn left of EditButton; empty by default.
    const std::vector<std::unique_ptr<TEditButtonEh>>& EditButtons() const { return editButtons_; }
    TEditButtonEh& AddEditButton();

    TNotifyEvent OnChange;
    TButtonClickEventEh OnButtonClick;
    TButtonDownEventEh OnButtonDown;
    TUpdateDataEventEh OnUpdateData;

protected:
    enum class TTextChange {
        User,       // typing, Backspace, Delete, paste: read strictly afterwards
        Program,    // shown by the box itself: stepping, a value rendered, a string set
        StoredValue // rendered from the stored value: clears the modified flag
    };
    const TEditMaskEh& Mask() const { return mask_; }
    // Shows a text through the mask; OnChange runs when it changed.
    void SetEditText(const QString& text, TTextChange how);

    // Writes what is edited to where it is stored: with the focus the text is
    // read leniently first, then OnUpdateData may take over, then WriteValue
    // and AfterPost. A failure selects the text, gives the focus back to the
    // box and goes on to the caller.
    void Post();

    // The hooks of the data-aware boxes.
    virtual void UserChangedText() {}
    // Enter and leaving the box.
    virtual void NormalizeText() {}
    // Esc: the text of the stored value again.
    virtual void ResetText() {}
    virtual void WriteValue() {}
    virtual void AfterPost() {}
    // False while the box is read-only or its value cannot enter edit state.
    virtual bool CanModify() { return !readOnly_; }
    // Keys handled before the masked editing (after OnKeyDown); true consumes.
    virtual bool KeyDown(unsigned short key, TShiftState shift);
    // A wheel turn; true when it was used.
    virtual bool WheelTurned(bool up) {
        (void)up;
        return false;
    }
    // Entering the box by a focus change of its own window.
    virtual void FocusEntered() {}
    // What a button does after its down event: nothing here.
    virtual void EditButtonAction(TEditButtonEh& button, bool topButton) {
        (void)button;
        (void)topButton;
    }
    // Presses a button as the mouse or its shortcut does.
    void PressEditButton(TEditButtonEh& button, bool topButton);
    void ClickEditButton(TEditButtonEh& button);

    bool WidgetEvent(QEvent* event) override;

private:
    bool KeyPressed(QKeyEvent* event);
    void KeyPress(QChar key);
    void ApplyEdit(const TMaskedTextEh& state, bool changedText);
    TMaskedTextEh State() const;
    void Paste();
    void Exit();
    void LayoutButtons();
    void RebuildButtonWidgets();
    int ButtonWidth(const TEditButtonEh& button) const;

    QString editMask_;
    TEditMaskEh mask_;
    bool readOnly_ = false;
    bool modified_ = false;
    std::unique_ptr<TEditButtonEh> editButton_;
    std::vector<std::unique_ptr<TEditButtonEh>> editButtons_;
    std::vector<TEditButtonWidgetEh*> buttonWidgets_;
    int wheelDelta_ = 0;
};
