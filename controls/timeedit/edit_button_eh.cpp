#include "controls/timeedit/edit_button_eh.h"

void TEditButtonEh::SetStyle(TEditButtonStyleEh style) {
    style_ = style;
    Changed();
}

void TEditButtonEh::SetVisible(bool visible) {
    visible_ = visible;
    Changed();
}

void TEditButtonEh::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed();
}

void TEditButtonEh::SetWidth(int width) {
    width_ = width;
    Changed();
}

void TEditButtonEh::Changed() const {
    if (changed_)
        changed_();
}

TVisibleEditButtonEh::TVisibleEditButtonEh() : TEditButtonEh(true) {
    SetShortCut(QKeyCombination(Qt::AltModifier, Qt::Key_Down));
}
