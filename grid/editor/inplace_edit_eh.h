#pragma once
// The cell editor: a frameless line edit that the grid places over its
// current cell. Keys that move between cells or end the editing go to the
// grid first; the rest edit the text.

#include <QLineEdit>

class TDBGridEh;

class TInplaceEditEh : public QLineEdit {
public:
    TInplaceEditEh(TDBGridEh& grid, QWidget* parent);

    // The text differs from what the field gave (the user changed it).
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // Shows a text as the field's value: not a change by the user.
    void SetFieldText(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TDBGridEh& grid_;
    bool modified_ = false;
};
