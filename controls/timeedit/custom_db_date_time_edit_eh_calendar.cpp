// The month calendar drop-down of the date-time box.

#include "controls/timeedit/custom_db_date_time_edit_eh.h"
#include "controls/timeedit/popup_month_calendar_eh.h"
#include "platform/ui/application.h"

#include <QLineEdit>

bool TCustomDBDateTimeEditEh::DroppedDown() const {
    return calendar_ && calendar_->IsOpen();
}

void TCustomDBDateTimeEditEh::DropDown() {
    if (DroppedDown())
        return;
    Fire(OnDropDown, this);
    if (!calendar_) {
        calendar_ = new TPopupMonthCalendarEh(LineEdit());
        calendar_->onCloseUp = [this](bool accept, QDate date) {
            Application->Dispatch(this, [&] { CalendarClosed(accept, date); });
        };
    }
    calendar_->Popup(LineEdit(), (editValue_ ? *editValue_ : Date()).ToQDate());
}

void TCustomDBDateTimeEditEh::CloseUp(bool accept) {
    if (!DroppedDown())
        return;
    const QDate date = calendar_->Dismiss();
    CalendarClosed(accept, date);
}

// The chosen day with the time of day being edited, split into the box's
// elements and read leniently: a box without date elements keeps its time,
// an empty one shows midnight.
void TCustomDBDateTimeEditEh::CalendarClosed(bool accept, QDate date) {
    if (accept && date.isValid()) {
        const TDateTime time = editValue_ ? editValue_->TimePart() : TDateTime();
        const TDateTime chosen = ComposeDateTime(TDateTime::FromQDate(date), time);
        const QString elements = Mask().Apply(FormatDateTime(DisplayFormat(), chosen));
        editValue_ = ReadDateTimeLenient(elements, Layout(), chosen);
        Render(editValue_, TTextChange::Program);
    }
    Fire(OnCloseUp, this, accept);
}
