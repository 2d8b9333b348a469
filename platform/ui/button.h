#pragma once
// TButton: a push button. Default only draws it as the window's default
// button: which keys press it is the window's choice.

#include "platform/ui/button_control.h"

class QPushButton;

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TButton"); }

    bool Default() const;
    void SetDefault(bool on);
    QPushButton* Button() const;
};
