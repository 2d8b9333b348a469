#pragma once
// TButtonControl: what the push button and the check box share: a caption
// whose "&" marks the access key, and OnClick after each click the user
// makes (mouse, Space, the access key).

#include "platform/ui/control.h"

class QAbstractButton;

class TButtonControl : public TControl {
public:
    QString Caption() const;
    void SetCaption(const QString& caption);
    // Clicks the control, as the user would.
    void Click();

protected:
    TButtonControl(TComponent* owner, QAbstractButton* button);
    QAbstractButton* AbstractButton() const;
};
