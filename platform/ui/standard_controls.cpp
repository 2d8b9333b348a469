#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProxyStyle>

namespace {

// Makes a line edit hide its text behind the password character it was
// given, where the platform style would pick its own (often a bullet).
class TPasswordCharStyle : public QProxyStyle {
public:
    TPasswordCharStyle(QChar character, QObject* owner) : character_(character) {
        setParent(owner);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return character_.unicode();
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar character_;
};

} // namespace

TEdit::TEdit(TComponent* owner) : TControl(owner, new QLineEdit) {
    SetBounds(0, 0, 121, 21);
}
QLineEdit* TEdit::LineEdit() const {
    return static_cast<QLineEdit*>(Widget());
}
QString TEdit::Text() const {
    return LineEdit()->text();
}
void TEdit::SetText(const QString& text) {
    LineEdit()->setText(text);
}
void TEdit::SetPasswordChar(const QString& character) {
    QLineEdit* edit = LineEdit();
    if (auto* old = dynamic_cast<TPasswordCharStyle*>(edit->style());
        old && old->parent() == edit) {
        edit->setStyle(nullptr);
        delete old;
    }
    if (character.isEmpty()) {
        edit->setEchoMode(QLineEdit::Normal);
        return;
    }
    edit->setStyle(new TPasswordCharStyle(character.at(0), edit));
    edit->setEchoMode(QLineEdit::Password);
}
void TEdit::SetReadOnly(bool readOnly) {
    LineEdit()->setReadOnly(readOnly);
}
void TEdit::SetBorderStyle(const QString& style) {
    LineEdit()->setFrame(style != u"bsNone");
}

TComboBox::TComboBox(TComponent* owner) : TControl(owner, new QComboBox) {
    SetBounds(0, 0, 145, 21);
}
QComboBox* TComboBox::Combo() const {
    return static_cast<QComboBox*>(Widget());
}
QStringList TComboBox::Items() const {
    QStringList items;
    for (int i = 0; i < Combo()->count(); ++i)
        items << Combo()->itemText(i);
    return items;
}
void TComboBox::SetItems(const QStringList& items) {
    Combo()->clear();
    Combo()->addItems(items);
    Combo()->setCurrentIndex(-1);
}
void TComboBox::ClearItems() {
    Combo()->clear();
}
void TComboBox::AddItem(const QString& item) {
    const int index = Combo()->currentIndex();
    Combo()->addItem(item);
    Combo()->setCurrentIndex(index);
}
int TComboBox::ItemIndex() const {
    return Combo()->currentIndex();
}
void TComboBox::SetItemIndex(int index) {
    Combo()->setCurrentIndex(index);
}
QString TComboBox::Text() const {
    return Combo()->currentIndex() < 0 ? QString() : Combo()->currentText();
}
void TComboBox::SetStyle(const QString& style) {
    Combo()->setEditable(style == u"csDropDown");
}
