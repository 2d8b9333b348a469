#include "platform/ui/register_ui_classes.h"

#include "platform/ui/combo_box.h"
#include "platform/ui/data_module.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/speed_button.h"

namespace {

TAlign AlignValue(const FormValue& v) {
    return FormValues::Enum<TAlign>(v, {{"alNone", TAlign::alNone},
                                        {"alTop", TAlign::alTop},
                                        {"alBottom", TAlign::alBottom},
                                        {"alLeft", TAlign::alLeft},
                                        {"alRight", TAlign::alRight},
                                        {"alClient", TAlign::alClient}});
}

} // namespace

void RegisterUiClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;

    RegisterAbstractClass<TComponent>("TComponent", "");
    RegisterAbstractClass<TControl>("TControl", "TComponent")
        .Property("Left", &TControl::SetLeft)
        .Property("Top", &TControl::SetTop)
        .Property("Width", &TControl::SetWidth)
        .Property("Height", &TControl::SetHeight)
        .Property("Visible", &TControl::SetVisible)
        .Property("Enabled", &TControl::SetEnabled)
        .Property("TabOrder", &TControl::SetTabOrder)
        .Property("TabStop", &TControl::SetTabStop)
        .Property("Font.Name", &TControl::SetFontName)
        .Property("Font.Size", &TControl::SetFontSize)
        .Property("Font.Color", &TControl::SetFontColor)
        .Property("Font.Bold", &TControl::SetFontBold)
        .Raw("Align",
             [](TControl& c, const FormValue& v, TComponent&) { c.SetAlign(AlignValue(v)); })
        .Event<TNotifyEvent>("OnClick", &TControl::OnClick)
        .Event<TNotifyEvent>("OnEnter", &TControl::OnEnter)
        .Event<TNotifyEvent>("OnExit", &TControl::OnExit)
        .Event<TKeyEvent>("OnKeyDown", &TControl::OnKeyDown)
        .Event<TKeyPressEvent>("OnKeyPress", &TControl::OnKeyPress);

    RegisterAbstractClass<TForm>("TForm", "TControl")
        .Property("Caption", &TForm::SetCaption)
        .Property("KeyPreview", &TForm::SetKeyPreview)
        .Property("Color", &TForm::SetColor)
        .Raw("Position",
             [](TForm& f, const FormValue& v, TComponent&) {
                 f.SetPosition(FormValues::Enum<TPosition>(
                     v, {{"poDesigned", TPosition::poDesigned},
                         {"poScreenCenter", TPosition::poScreenCenter}}));
             })
        .Event<TNotifyEvent>("OnCreate", &TForm::OnCreate)
        .Event<TNotifyEvent>("OnActivate", &TForm::OnActivate)
        .Event<TNotifyEvent>("OnShow", &TForm::OnShow)
        .Event<TCloseEvent>("OnClose", &TForm::OnClose)
        .Event<TNotifyEvent>("OnDestroy", &TForm::OnDestroy);

    RegisterAbstractClass<TDataModule>("TDataModule", "TComponent")
        .Event<TNotifyEvent>("OnCreate", &TDataModule::OnCreate)
        .Event<TNotifyEvent>("OnDestroy", &TDataModule::OnDestroy);

    RegisterClass<TEdit>("TEdit", "TControl")
        .Property("Text", &TEdit::SetText)
        .Property("PasswordChar", &TEdit::SetPasswordChar)
        .Property("ReadOnly", &TEdit::SetReadOnly)
        .Raw("BorderStyle", [](TEdit& e, const FormValue& v, TComponent&) {
            e.SetBorderStyle(FormValues::Identifier(v));
        });

    RegisterClass<TComboBox>("TComboBox", "TControl")
        .Property("Items", &TComboBox::SetItems)
        .Property("ItemIndex", &TComboBox::SetItemIndex)
        .Raw("Style", [](TComboBox& c, const FormValue& v, TComponent&) {
            c.SetStyle(FormValues::Identifier(v));
        });

    RegisterSpeedButtonClass();
}
