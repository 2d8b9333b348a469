#pragma once
// The date/time logic of the masked box: the kind and its pattern, the
// strict and lenient readings of the text, the value being edited and the
// stored value, stepping an element, and the month calendar drop-down.

#include "controls/timeedit/custom_db_edit_eh.h"
#include "controls/timeedit/datetime_edit_format.h"
#include "controls/timeedit/datetime_value_holder.h"

class TPopupMonthCalendarEh;

// Accept is false when the calendar closed without a choice.
using TCloseUpEventEh = std::function<void(TObject* Sender, bool Accept)>;

class TCustomDBDateTimeEditEh : public TCustomDBEditEh, private IDateTimeValueClientEh {
public:
    explicit TCustomDBDateTimeEditEh(TComponent* owner);
    ~TCustomDBDateTimeEditEh() override;
    QString ClassName() const override { return QStringLiteral("TCustomDBDateTimeEditEh"); }

    TDateTimeKindEh Kind() const { return kind_; }
    // Rebuilds the pattern, the layout and the mask, then renders the stored value.
    void SetKind(TDateTimeKindEh kind);
    QString EditFormat() const { return editFormat_; }
    // Switches Kind to dtkCustomEh. A bad element raises and changes nothing.
    void SetEditFormat(const QString& pattern);
    const TDateTimeLayoutEh& Layout() const { return layout_; }
    QString DisplayFormat() const { return displayFormat_; }

    // The text as shown (for the time kind always eight characters).
    QString Text() const { return EditText(); }
    // Reads the string strictly: "Invalid datetime: " and the quoted string
    // when it does not read, and nothing changes. Otherwise the value is
    // posted and the text rendered from the stored value.
    void SetText(const QString& text);
    // The value being edited; writing renders and posts it.
    TNullableDateTime Value() const { return editValue_; }
    void SetValue(const TNullableDateTime& value);

    // Null gives the box its own holder back. The holder is not owned.
    void SetValueHolder(IDateTimeValueHolderEh* holder);
    IDateTimeValueHolderEh& ValueHolder() const { return *holder_; }

    // The month calendar: opens it (OnDropDown first), or closes it.
    void DropDown();
    void CloseUp(bool accept);
    bool DroppedDown() const;
    // Null until the calendar was first opened.
    TPopupMonthCalendarEh* PopupCalendar() const { return calendar_; }

    TNotifyEvent OnDropDown;
    TCloseUpEventEh OnCloseUp;

protected:
    void UserChangedText() override;
    void NormalizeText() override;
    void ResetText() override;
    void WriteValue() override;
    void AfterPost() override;
    bool CanModify() override;
    bool KeyDown(unsigned short key, TShiftState shift) override;
    bool WheelTurned(bool up) override;
    void FocusEntered() override;
    void EditButtonAction(TEditButtonEh& button, bool topButton) override;

private:
    // Makes the pattern current: raises before changing anything.
    void ApplyPattern(TDateTimeKindEh kind, const QString& pattern);
    QString PatternFor(TDateTimeKindEh kind) const;
    void RenderStored();
    void Render(const TNullableDateTime& value, TTextChange how);
    bool Step(bool up);
    void CalendarClosed(bool accept, QDate date);

    void StoredValueChanged() override;
    void UpdateStoredValue() override;

    TDateTimeKindEh kind_ = TDateTimeKindEh::dtkDateEh;
    QString editFormat_;
    TDateTimeLayoutEh layout_;
    QString displayFormat_;
    bool fourDigitYear_ = false;
    QChar dateSeparator_;
    QChar timeSeparator_;

    TNullableDateTime editValue_;
    TDateTimeValueHolderEh ownHolder_;
    IDateTimeValueHolderEh* holder_ = &ownHolder_;
    TPopupMonthCalendarEh* calendar_ = nullptr;
};
