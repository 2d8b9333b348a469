#include "platform/ui/register_ui_classes.h"

#include "platform/formfile/form_reader.h"
#include "platform/ui/bevel_kind.h"
#include "platform/ui/button.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/data_module.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/db_navigator.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/group_box.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
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

TBevelKind BevelKindValue(const FormValue& v) {
    return FormValues::Enum<TBevelKind>(v, {{"bkNone", TBevelKind::bkNone},
                                            {"bkTile", TBevelKind::bkTile},
                                            {"bkSoft", TBevelKind::bkSoft},
                                            {"bkFlat", TBevelKind::bkFlat}});
}

TPanelBevel PanelBevelValue(const FormValue& v) {
    return FormValues::Enum<TPanelBevel>(v, {{"bvNone", TPanelBevel::bvNone},
                                             {"bvLowered", TPanelBevel::bvLowered},
                                             {"bvRaised", TPanelBevel::bvRaised},
                                             {"bvSpace", TPanelBevel::bvSpace}});
}

// Edit boxes and combo boxes take a bevel kind.
template <typename T> void SetBevelKind(T& control, const FormValue& v, TComponent&) {
    ApplyBevelKind(control, BevelKindValue(v));
}

void RegisterContainerClasses() {
    RegisterClass<TPanel>("TPanel", "TControl")
        .Property("Caption", &TPanel::SetCaption)
        .Property("BevelWidth", &TPanel::SetBevelWidth)
        .Property("BorderWidth", &TPanel::SetBorderWidth)
        .Property("Color", &TPanel::SetColor)
        .Raw("BevelInner", [](TPanel& p, const FormValue& v,
                              TComponent&) { p.SetBevelInner(PanelBevelValue(v)); })
        .Raw("BevelOuter", [](TPanel& p, const FormValue& v, TComponent&) {
            p.SetBevelOuter(PanelBevelValue(v));
        });

    RegisterClass<TGroupBox>("TGroupBox", "TControl").Property("Caption", &TGroupBox::SetCaption);

    RegisterClass<TLabel>("TLabel", "TControl")
        .Property("Caption", &TLabel::SetCaption)
        .Property("WordWrap", &TLabel::SetWordWrap)
        .Property("AutoSize", &TLabel::SetAutoSize)
        .Raw("FocusControl", [](TLabel& l, const FormValue& v, TComponent& root) {
            SetReference<TControl>(l, root, v, QStringLiteral("control"),
                                   [&l](TControl* c) { l.SetFocusControl(c); });
        });

    // Date and Time are day counts of the date system (20 January 2003 is 37641).
    RegisterClass<TDateTimePicker>("TDateTimePicker", "TControl")
        .Raw("Date", [](TDateTimePicker& d, const FormValue& v,
                        TComponent&) { d.SetDateNumber(FormValues::Number(v)); })
        .Raw("Time", [](TDateTimePicker& d, const FormValue& v,
                        TComponent&) { d.SetTimeNumber(FormValues::Number(v)); })
        .Event<TNotifyEvent>("OnChange", &TDateTimePicker::OnChange);
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
        .Property("ClientWidth", &TForm::SetClientWidth)
        .Property("ClientHeight", &TForm::SetClientHeight)
        .Raw("BorderStyle",
             [](TForm& f, const FormValue& v, TComponent&) {
                 f.SetBorderStyle(FormValues::Enum<TFormBorderStyle>(
                     v, {{"bsSizeable", TFormBorderStyle::bsSizeable},
                         {"bsDialog", TFormBorderStyle::bsDialog}}));
             })
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
        .Raw("BevelKind", SetBevelKind<TEdit>)
        .Raw("BorderStyle", [](TEdit& e, const FormValue& v, TComponent&) {
            e.SetBorderStyle(FormValues::Identifier(v));
        });

    RegisterClass<TComboBox>("TComboBox", "TControl")
        .Property("Items", &TComboBox::SetItems)
        .Property("ItemIndex", &TComboBox::SetItemIndex)
        .Property("Text", &TComboBox::SetText)
        .Property("DropDownCount", &TComboBox::SetDropDownCount)
        .Raw("BevelKind", SetBevelKind<TComboBox>)
        .Raw("Style", [](TComboBox& c, const FormValue& v,
                         TComponent&) { c.SetStyle(FormValues::Identifier(v)); })
        .Event<TNotifyEvent>("OnChange", &TComboBox::OnChange);

    RegisterClass<TButton>("TButton", "TControl")
        .Property("Caption", &TButton::SetCaption)
        .Property("Default", &TButton::SetDefault);

    RegisterClass<TCheckBox>("TCheckBox", "TControl")
        .Property("Caption", &TCheckBox::SetCaption)
        .Property("Checked", &TCheckBox::SetChecked);

    RegisterSpeedButtonClass();
    RegisterDBNavigatorClass();
    RegisterContainerClasses();
}
