#pragma once
// The bevel an edit box or combo box draws around itself: bkFlat gives it a
// thin flat frame instead of the sunken 3D one (also with BorderStyle bsNone).

class TControl;

enum class TBevelKind { bkNone, bkTile, bkSoft, bkFlat };

void ApplyBevelKind(TControl& control, TBevelKind kind);
