#include "platform/ui/custom_control.h"

#include <QPainter>

namespace {

// The widget of a custom control: it only hands painting to its control.
class TCustomControlWidget : public QWidget {
public:
    TCustomControlWidget() { setFocusPolicy(Qt::StrongFocus); }
    TCustomControl* control = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!control)
            return;
        QPainter painter(this);
        control->Paint(painter);
    }
};

} // namespace

TCustomControl::TCustomControl(TComponent* owner) : TControl(owner, new TCustomControlWidget) {
    static_cast<TCustomControlWidget*>(Widget())->control = this;
}

TCustomControl::~TCustomControl() {
    // The widget outlives this part of the object until TControl deletes it.
    if (auto* widget = static_cast<TCustomControlWidget*>(Widget()))
        widget->control = nullptr;
}
