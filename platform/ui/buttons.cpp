#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/check_box.h"

#include <QCheckBox>
#include <QPushButton>

TButtonControl::TButtonControl(TComponent* owner, QAbstractButton* button)
    : TControl(owner, button) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [this] { Application->Dispatch(this, [this] { Fire(OnClick, this); }); });
}
QAbstractButton* TButtonControl::AbstractButton() const {
    return static_cast<QAbstractButton*>(Widget());
}
QString TButtonControl::Caption() const {
    return AbstractButton()->text();
}
void TButtonControl::SetCaption(const QString& caption) {
    AbstractButton()->setText(caption);
}
void TButtonControl::Click() {
    AbstractButton()->click();
}

TButton::TButton(TComponent* owner) : TButtonControl(owner, new QPushButton) {
    SetBounds(0, 0, 75, 25);
}
QPushButton* TButton::Button() const {
    return static_cast<QPushButton*>(Widget());
}
bool TButton::Default() const {
    return Button()->isDefault();
}
void TButton::SetDefault(bool on) {
    Button()->setDefault(on);
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner, new QCheckBox) {
    SetBounds(0, 0, 97, 17);
}
QCheckBox* TCheckBox::CheckBox() const {
    return static_cast<QCheckBox*>(Widget());
}
bool TCheckBox::Checked() const {
    return CheckBox()->isChecked();
}
void TCheckBox::SetChecked(bool checked) {
    CheckBox()->setChecked(checked);
}
