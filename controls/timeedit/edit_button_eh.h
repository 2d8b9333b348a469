#pragma once
// One button of an edit box: its style, visibility, width and shortcut. The
// box draws it at its right edge and runs its action.

#include "platform/core/events.h"

#include <QKeyCombination>
#include <functional>

enum class TEditButtonStyleEh {
    ebsDropDownEh,
    ebsEllipsisEh,
    ebsGlyphEh,
    ebsUpDownEh,
    ebsPlusEh,
    ebsMinusEh,
    ebsAltDropDownEh,
    ebsAltUpDownEh
};

// Handled set to true skips the box's own action.
using TButtonClickEventEh = std::function<void(TObject* Sender, bool& Handled)>;
// TopButton tells the upper half of an up-down button from the lower one.
using TButtonDownEventEh =
    std::function<void(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)>;

class TEditButtonEh {
public:
    TEditButtonEh() = default;
    virtual ~TEditButtonEh() = default;
    TEditButtonEh(const TEditButtonEh&) = delete;
    TEditButtonEh& operator=(const TEditButtonEh&) = delete;

    TEditButtonStyleEh Style() const { return style_; }
    void SetStyle(TEditButtonStyleEh style);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // 0 means the system's vertical scroll-bar width.
    int Width() const { return width_; }
    void SetWidth(int width);
    // The key that presses the button while the box has the focus; none by default.
    QKeyCombination ShortCut() const { return shortCut_; }
    void SetShortCut(QKeyCombination shortCut) { shortCut_ = shortCut; }

    bool IsUpDown() const {
        return style_ == TEditButtonStyleEh::ebsUpDownEh ||
               style_ == TEditButtonStyleEh::ebsAltUpDownEh;
    }
    bool IsDropDown() const {
        return style_ == TEditButtonStyleEh::ebsDropDownEh ||
               style_ == TEditButtonStyleEh::ebsAltDropDownEh;
    }

    // The events of a further button; the box's own button reports through
    // the box's OnButtonClick and OnButtonDown instead.
    TButtonClickEventEh OnClick;
    TButtonDownEventEh OnDown;

    // Told when something that changes the box's look changed.
    void SetChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

protected:
    explicit TEditButtonEh(bool visible) : visible_(visible) {}

private:
    void Changed() const;

    TEditButtonStyleEh style_ = TEditButtonStyleEh::ebsDropDownEh;
    bool visible_ = false;
    bool enabled_ = true;
    int width_ = 0;
    QKeyCombination shortCut_;
    std::function<void()> changed_;
};

// The box's own button: visible from the start, Alt+Down as its shortcut.
class TVisibleEditButtonEh : public TEditButtonEh {
public:
    TVisibleEditButtonEh();
};
