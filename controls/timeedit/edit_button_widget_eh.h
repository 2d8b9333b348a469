#pragma once
// The widget that draws one edit button inside its box and reports presses;
// it never takes the focus, so the box keeps it while the button is used.

#include "controls/timeedit/edit_button_eh.h"

#include <QWidget>

class TEditButtonWidgetEh : public QWidget {
public:
    // `onPress` gets whether the upper half was pressed; `onClick` runs when
    // the button is released over itself.
    TEditButtonWidgetEh(QWidget* parent, TEditButtonEh& button);

    TEditButtonEh& Button() const { return button_; }
    std::function<void(bool topButton)> onPress;
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TEditButtonEh& button_;
    bool pressed_ = false;
    bool topPressed_ = false;
};
