#pragma once
// TCheckBox: a box the user ticks or clears, with its caption beside it.

#include "platform/ui/button_control.h"

class QCheckBox;

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TCheckBox"); }

    bool Checked() const;
    void SetChecked(bool checked);
    QCheckBox* CheckBox() const;
};
