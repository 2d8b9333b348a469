#pragma once
// TDateTimePicker: a date box with a drop-down month calendar. It holds one
// date-time value; setting the date keeps the value's own time of day.

#include "platform/system/datetime.h"
#include "platform/ui/control.h"

class QDateEdit;

class TDateTimePicker : public TControl {
public:
    explicit TDateTimePicker(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TDateTimePicker"); }

    TDateTime DateTime() const { return dateTime_; }
    void SetDateTime(TDateTime value);
    // The whole days of the value.
    TDateTime Date() const { return dateTime_.DatePart(); }
    // Takes the whole days of `date` and keeps the current time of day.
    void SetDate(TDateTime date);
    TDateTime Time() const { return dateTime_.TimePart(); }
    // Takes the time of day of `time` and keeps the current date.
    void SetTime(TDateTime time);

    // For the form reader: day counts of the date system.
    void SetDateNumber(double days) { SetDate(TDateTime(days)); }
    void SetTimeNumber(double fraction) { SetTime(TDateTime(fraction)); }

    TNotifyEvent OnChange;

    QDateEdit* DateEdit() const;

private:
    void ShowValue();
    void UserChangedDate();

    TDateTime dateTime_;
};
