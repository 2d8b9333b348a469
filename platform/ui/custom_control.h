#pragma once
// TCustomControl: a control that paints itself and can take the keyboard
// focus. A subclass draws in Paint and reads its widget's events in WidgetEvent.

#include "platform/ui/control.h"

class QPainter;

class TCustomControl : public TControl {
public:
    ~TCustomControl() override;
    QString ClassName() const override { return QStringLiteral("TCustomControl"); }

    // Paints the control into `painter` as its widget would show it.
    virtual void Paint(QPainter& painter) = 0;

protected:
    explicit TCustomControl(TComponent* owner);
};
