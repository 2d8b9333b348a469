#pragma once
// A single-line edit box; optionally shows a password character for every character.

#include "platform/ui/control.h"

class QLineEdit;

class TEdit : public TControl {
public:
    explicit TEdit(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TEdit"); }

    QString Text() const;
    void SetText(const QString& text);
    void SetPasswordChar(const QString& character);
    void SetReadOnly(bool readOnly);
    void SetBorderStyle(const QString& style);
    QLineEdit* LineEdit() const;
};
