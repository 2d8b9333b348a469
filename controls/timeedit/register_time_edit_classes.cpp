#include "controls/timeedit/register_time_edit_classes.h"

#include "controls/timeedit/db_date_time_edit_eh.h"
#include "platform/formfile/class_registry.h"
#include "platform/ui/register_ui_classes.h"

#include <QKeySequence>

namespace {

TEditButtonStyleEh StyleValue(const FormValue& v) {
    using S = TEditButtonStyleEh;
    return FormValues::Enum<S>(v, {{"ebsDropDownEh", S::ebsDropDownEh},
                                   {"ebsEllipsisEh", S::ebsEllipsisEh},
                                   {"ebsGlyphEh", S::ebsGlyphEh},
                                   {"ebsUpDownEh", S::ebsUpDownEh},
                                   {"ebsPlusEh", S::ebsPlusEh},
                                   {"ebsMinusEh", S::ebsMinusEh},
                                   {"ebsAltDropDownEh", S::ebsAltDropDownEh},
                                   {"ebsAltUpDownEh", S::ebsAltUpDownEh}});
}

// "Alt+Down"; an empty string removes the shortcut.
QKeyCombination ShortCutValue(const FormValue& v) {
    const QString text = FormValues::String(v);
    if (text.isEmpty())
        return QKeyCombination();
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        throw EPropertyValue(QStringLiteral("Invalid shortcut %1").arg(text));
    return sequence[0];
}

// The properties a button takes, alone (EditButton.Style) or as an item of EditButtons.
bool SetButtonProperty(TEditButtonEh& button, const QString& name, const FormValue& v) {
    const QString key = name.toUpper();
    if (key == u"STYLE")
        button.SetStyle(StyleValue(v));
    else if (key == u"VISIBLE")
        button.SetVisible(FormValues::Boolean(v));
    else if (key == u"ENABLED")
        button.SetEnabled(FormValues::Boolean(v));
    else if (key == u"WIDTH")
        button.SetWidth(FormValues::Integer(v));
    else if (key == u"SHORTCUT")
        button.SetShortCut(ShortCutValue(v));
    else
        return false;
    return true;
}

template <typename Builder> void EditButtonProperty(Builder& builder, const QString& name) {
    builder.Raw(QStringLiteral("EditButton.") + name,
                [name](TDBDateTimeEditEh& e, const FormValue& v, TComponent&) {
                    SetButtonProperty(e.EditButton(), name, v);
                });
}

} // namespace

void RegisterTimeEditClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterUiClasses();

    auto builder = RegisterClass<TDBDateTimeEditEh>("TDBDateTimeEditEh", "TControl");
    builder
        .Raw("Kind",
             [](TDBDateTimeEditEh& e, const FormValue& v, TComponent&) {
                 using K = TDateTimeKindEh;
                 e.SetKind(FormValues::Enum<K>(v, {{"dtkDateEh", K::dtkDateEh},
                                                   {"dtkTimeEh", K::dtkTimeEh},
                                                   {"dtkDateTimeEh", K::dtkDateTimeEh},
                                                   {"dtkCustomEh", K::dtkCustomEh}}));
             })
        .Property("EditFormat", &TDBDateTimeEditEh::SetEditFormat)
        .Property("ReadOnly", &TDBDateTimeEditEh::SetReadOnly)
        .Raw("EditButtons",
             [](TDBDateTimeEditEh& e, const FormValue& v, TComponent&) {
                 if (v.kind != FormValue::Kind::Collection)
                     throw EPropertyValue(QStringLiteral("EditButtons needs a list of items"));
                 for (const auto& item : v.items) {
                     TEditButtonEh& button = e.AddEditButton();
                     for (const FormProperty& p : item)
                         if (!SetButtonProperty(button, p.name, *p.value))
                             throw EPropertyValue(
                                 QStringLiteral("Unknown property %1 of an edit button")
                                     .arg(p.name));
                 }
             })
        .Event<TNotifyEvent>("OnChange", &TDBDateTimeEditEh::OnChange)
        .Event<TButtonClickEventEh>("OnButtonClick", &TDBDateTimeEditEh::OnButtonClick)
        .Event<TButtonDownEventEh>("OnButtonDown", &TDBDateTimeEditEh::OnButtonDown)
        .Event<TUpdateDataEventEh>("OnUpdateData", &TDBDateTimeEditEh::OnUpdateData)
        .Event<TNotifyEvent>("OnDropDown", &TDBDateTimeEditEh::OnDropDown)
        .Event<TCloseUpEventEh>("OnCloseUp", &TDBDateTimeEditEh::OnCloseUp);
    for (const char* name : {"Style", "Visible", "Enabled", "Width", "ShortCut"})
        EditButtonProperty(builder, QString::fromLatin1(name));
}
