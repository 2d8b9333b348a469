#pragma once
// TGroupBox: a framed container with a caption in its top edge; the controls
// inside it are placed relative to its top-left corner.

#include "platform/ui/control.h"

class QGroupBox;

class TGroupBox : public TControl {
public:
    explicit TGroupBox(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TGroupBox"); }

    QString Caption() const;
    void SetCaption(const QString& caption);
    QGroupBox* GroupBox() const;
};
