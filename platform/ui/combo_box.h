#pragma once
// A combo box; with style csDropDownList the user can only pick an entry,
// with csDropDown the user may also type a text of their own.

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
    // The text typed (csDropDown), or the text of the selected entry
    // (empty when none is selected).
    QString Text() const;
    // csDropDown: the text shown in the box; otherwise selects the first
    // entry with that text (none when no entry has it).
    void SetText(const QString& text);
    void SetStyle(const QString& style);
    // Rows the drop-down list shows before it scrolls.
    void SetDropDownCount(int rows);

    // The user changed the text or picked an entry (not a change made by code).
    TNotifyEvent OnChange;

    QComboBox* Combo() const;

private:
    void Changed();
};
