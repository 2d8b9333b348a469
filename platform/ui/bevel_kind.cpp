#include "platform/ui/bevel_kind.h"

#include "platform/ui/control.h"

#include <QComboBox>
#include <QLineEdit>

void ApplyBevelKind(TControl& control, TBevelKind kind) {
    QWidget* widget = control.Widget();
    if (kind == TBevelKind::bkNone) {
        widget->setStyleSheet(QString());
        return;
    }
    // Tile and soft bevels are not used by the program; they look flat too.
    const char* type = qobject_cast<QComboBox*>(widget)   ? "QComboBox"
                       : qobject_cast<QLineEdit*>(widget) ? "QLineEdit"
                                                          : "QWidget";
    widget->setStyleSheet(
        QStringLiteral("%1 { border: 1px solid palette(mid); padding-left: 1px; }")
            .arg(QLatin1String(type)));
}
