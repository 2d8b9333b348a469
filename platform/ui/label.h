#pragma once
// TLabel: static text that takes no focus; optionally wraps its words within
// its width, and by default sizes itself to its text. With a FocusControl,
// the letter after "&" in the caption is the access key that moves the
// focus to that control.

#include "platform/ui/control.h"

class QLabel;

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TLabel"); }

    QString Caption() const;
    void SetCaption(const QString& caption);
    bool WordWrap() const;
    void SetWordWrap(bool wrap);
    // True: the width follows the text (the height too when not wrapping,
    // only the height when wrapping).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    void SetFocusControl(TControl* control);
    QLabel* Label() const;

protected:
    bool WidgetEvent(QEvent* event) override;

private:
    void AdjustSize();

    bool autoSize_ = true;
};
