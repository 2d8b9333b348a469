#pragma once
// A combo box; with style csDropDownList the user can only pick an entry.

#include "platform/ui/control.h"

class QComboBox;

class TComboBox : public TControl {
public:
    explicit TComboBox(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TComboBox"); }

    QStringList Items() const;
    void SetItems(const QStringList& items);
    void ClearItems();
    void AddItem(const QString& item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The text of the selected entry; empty when none is selected.
    QString Text() const;
    void SetStyle(const QString& style);
    QComboBox* Combo() const;
};
