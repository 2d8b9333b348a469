#include "platform/ui/group_box.h"

#include <QGroupBox>

TGroupBox::TGroupBox(TComponent* owner) : TControl(owner, new QGroupBox) {
    GroupBox()->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 185, 105);
}

QGroupBox* TGroupBox::GroupBox() const {
    return static_cast<QGroupBox*>(Widget());
}

QString TGroupBox::Caption() const {
    return GroupBox()->title();
}

void TGroupBox::SetCaption(const QString& caption) {
    GroupBox()->setTitle(caption);
}
