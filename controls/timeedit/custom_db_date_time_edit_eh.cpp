#include "controls/timeedit/custom_db_date_time_edit_eh.h"

#include "controls/timeedit/datetime_edit_stepping.h"
#include "controls/timeedit/popup_month_calendar_eh.h"
#include "platform/system/format_settings.h"

TCustomDBDateTimeEditEh::TCustomDBDateTimeEditEh(TComponent* owner) : TCustomDBEditEh(owner) {
    ApplyPattern(kind_, PatternFor(kind_));
}

TCustomDBDateTimeEditEh::~TCustomDBDateTimeEditEh() {
    holder_->SetClient(nullptr);
    if (calendar_) {
        calendar_->onCloseUp = nullptr;
        delete calendar_;
    }
}

QString TCustomDBDateTimeEditEh::PatternFor(TDateTimeKindEh kind) const {
    const TFormatSettings& settings = FormatSettings();
    return DateTimePatternForKind(kind, settings.ShortDateFormat, settings.FourDigitYear(),
                                  editFormat_);
}

void TCustomDBDateTimeEditEh::ApplyPattern(TDateTimeKindEh kind, const QString& pattern) {
    const TDateTimeMaskEh built = BuildDateTimeMask(pattern);
    const TFormatSettings& settings = FormatSettings();
    kind_ = kind;
    editFormat_ = pattern;
    layout_ = built.layout;
    displayFormat_ = DisplayFormatFromPattern(pattern);
    fourDigitYear_ = settings.FourDigitYear();
    dateSeparator_ = settings.DateSeparator;
    timeSeparator_ = settings.TimeSeparator;
    SetEditMask(built.mask, dateSeparator_, timeSeparator_);
    RenderStored();
}

void TCustomDBDateTimeEditEh::SetKind(TDateTimeKindEh kind) {
    if (kind != kind_)
        ApplyPattern(kind, PatternFor(kind));
}

void TCustomDBDateTimeEditEh::SetEditFormat(const QString& pattern) {
    ApplyPattern(TDateTimeKindEh::dtkCustomEh, pattern);
}

void TCustomDBDateTimeEditEh::FocusEntered() {
    // The user may have changed the regional settings while the box was left.
    const TFormatSettings& settings = FormatSettings();
    const bool datePattern =
        kind_ == TDateTimeKindEh::dtkDateEh || kind_ == TDateTimeKindEh::dtkDateTimeEh;
    if ((datePattern && settings.FourDigitYear() != fourDigitYear_) ||
        settings.DateSeparator != dateSeparator_ || settings.TimeSeparator != timeSeparator_)
        ApplyPattern(kind_, PatternFor(kind_));
}

void TCustomDBDateTimeEditEh::Render(const TNullableDateTime& value, TTextChange how) {
    SetEditText(value ? FormatDateTime(displayFormat_, *value) : Mask().BlankText(), how);
}

void TCustomDBDateTimeEditEh::RenderStored() {
    editValue_ = holder_->StoredValue();
    Render(editValue_, TTextChange::StoredValue);
}

void TCustomDBDateTimeEditEh::SetText(const QString& text) {
    const auto read = ReadDateTimeStrict(text, layout_, editValue_);
    if (!read)
        throw Exception(QStringLiteral("Invalid datetime: \"%1\"").arg(text));
    editValue_ = *read;
    SetEditText(text, TTextChange::Program);
    Post();
}

void TCustomDBDateTimeEditEh::SetValue(const TNullableDateTime& value) {
    editValue_ = value;
    Render(editValue_, TTextChange::Program);
    Post();
}

void TCustomDBDateTimeEditEh::UserChangedText() {
    editValue_ = ReadDateTimeStrict(EditText(), layout_, editValue_).value_or(TNullableDateTime{});
}

void TCustomDBDateTimeEditEh::NormalizeText() {
    editValue_ = ReadDateTimeLenient(EditText(), layout_, editValue_);
    Render(editValue_, TTextChange::Program);
}

void TCustomDBDateTimeEditEh::ResetText() {
    RenderStored();
    SelectAll();
}

void TCustomDBDateTimeEditEh::WriteValue() {
    holder_->SetStoredValue(MergeDateTimeForPost(editValue_, holder_->StoredValue(), layout_));
}

void TCustomDBDateTimeEditEh::AfterPost() {
    RenderStored();
}

bool TCustomDBDateTimeEditEh::CanModify() {
    return TCustomDBEditEh::CanModify() && holder_->CanModify() && holder_->Edit();
}

void TCustomDBDateTimeEditEh::SetValueHolder(IDateTimeValueHolderEh* holder) {
    holder_->SetClient(nullptr);
    holder_ = holder ? holder : &ownHolder_;
    holder_->SetClient(this);
    RenderStored();
}

void TCustomDBDateTimeEditEh::StoredValueChanged() {
    RenderStored();
}

void TCustomDBDateTimeEditEh::UpdateStoredValue() {
    if (Modified())
        Post();
}

bool TCustomDBDateTimeEditEh::KeyDown(unsigned short key, TShiftState shift) {
    constexpr unsigned short vkUp = 38, vkDown = 40;
    if ((key == vkUp || key == vkDown) && shift == 0) {
        Step(key == vkUp);
        return true;
    }
    return TCustomDBEditEh::KeyDown(key, shift);
}

bool TCustomDBDateTimeEditEh::WheelTurned(bool up) {
    return Step(up);
}

// The element under the caret one up or down; the text is shown without
// reading it, the value catches up at the next lenient reading.
bool TCustomDBDateTimeEditEh::Step(bool up) {
    if (ReadOnly() || !CanModify())
        return false;
    const auto stepped = StepDateTimeElement(EditText(), editFormat_, SelStart(), up,
                                             dateSeparator_, timeSeparator_);
    if (!stepped)
        return false;
    SetEditText(stepped->text, TTextChange::Program);
    SetSelection(stepped->selStart, stepped->selLength);
    return true;
}

void TCustomDBDateTimeEditEh::EditButtonAction(TEditButtonEh& button, bool topButton) {
    if (button.IsDropDown()) {
        if (DroppedDown())
            CloseUp(false);
        else
            DropDown();
    } else if (button.IsUpDown()) {
        Step(topButton);
    }
}
