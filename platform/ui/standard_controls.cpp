#include "platform/ui/application.h"
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
    Combo()->setMaxVisibleItems(8);
    QObject::connect(Combo(), &QComboBox::activated, Combo(), [this] { Changed(); });
}
void TComboBox::Changed() {
    Application->Dispatch(this, [this] { Fire(OnChange, this); });
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
    // Adding to an empty list selects the new entry, and choosing an entry
    // rewrites a typed text: both stay as they were.
    const int index = Combo()->currentIndex();
    const QString typed = Combo()->currentText();
    Combo()->addItem(item);
    Combo()->setCurrentIndex(index);
    if (Combo()->isEditable())
        Combo()->setEditText(typed);
}
int TComboBox::ItemIndex() const {
    return Combo()->currentIndex();
}
void TComboBox::SetItemIndex(int index) {
    Combo()->setCurrentIndex(index);
}
QString TComboBox::Text() const {
    if (Combo()->isEditable())
        return Combo()->currentText();
    return Combo()->currentIndex() < 0 ? QString() : Combo()->currentText();
}
void TComboBox::SetText(const QString& text) {
    if (Combo()->isEditable())
        Combo()->setEditText(text);
    else
        Combo()->setCurrentIndex(Combo()->findText(text, Qt::MatchExactly));
}
void TComboBox::SetStyle(const QString& style) {
    const bool editable = style == u"csDropDown";
    if (editable == Combo()->isEditable())
        return;
    Combo()->setEditable(editable);
    if (!editable)
        return;
    // Enter keeps the list as it is: the window decides what joins it.
    Combo()->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(Combo()->lineEdit(), &QLineEdit::textEdited, Combo(), [this] { Changed(); });
}
void TComboBox::SetDropDownCount(int rows) {
    Combo()->setMaxVisibleItems(rows);
}
