#include "platform/ui/date_time_picker.h"

#include "platform/system/format_settings.h"
#include "platform/ui/application.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

// The short date format in Qt's letters: '/' is the date separator; the
// letters d, M and y mean the same in both.
QString QtDateFormat() {
    const TFormatSettings& settings = FormatSettings();
    QString format;
    for (QChar c : settings.ShortDateFormat)
        format += c == u'/' ? QString(u'\'') + settings.DateSeparator + u'\'' : QString(c);
    return format;
}

// A date box that is one stop of the window's tab chain: Tab and Shift+Tab
// leave it at once instead of walking its day, month and year.
class TOneStopDateEdit : public QDateEdit {
protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

} // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner) : TControl(owner, new TOneStopDateEdit) {
    QDateEdit* edit = DateEdit();
    edit->setCalendarPopup(true);
    edit->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    edit->setDisplayFormat(QtDateFormat());
    // The box takes the focus itself and hands keys to its inner line edit;
    // the line edit must not be a stop of its own in the window's tab chain.
    // (Its policy passes on to the box, its focus proxy, so the box's comes after.)
    if (auto* line = edit->findChild<QLineEdit*>())
        line->setFocusPolicy(Qt::NoFocus);
    edit->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(edit, &QDateEdit::dateChanged, edit, [this] { UserChangedDate(); });
    SetBounds(0, 0, 186, 21);
    dateTime_ = ::Now();
    ShowValue();
}

QDateEdit* TDateTimePicker::DateEdit() const {
    return static_cast<QDateEdit*>(Widget());
}

void TDateTimePicker::SetDateTime(TDateTime value) {
    dateTime_ = value;
    ShowValue();
}

void TDateTimePicker::SetDate(TDateTime date) {
    SetDateTime(ComposeDateTime(date.DatePart(), dateTime_.TimePart()));
}

void TDateTimePicker::SetTime(TDateTime time) {
    SetDateTime(ComposeDateTime(dateTime_.DatePart(), time.TimePart()));
}

void TDateTimePicker::ShowValue() {
    const QSignalBlocker blocker(DateEdit());
    DateEdit()->setDate(dateTime_.ToQDate());
}

void TDateTimePicker::UserChangedDate() {
    dateTime_ = ComposeDateTime(TDateTime::FromQDate(DateEdit()->date()), dateTime_.TimePart());
    Application->Dispatch(this, [this] { Fire(OnChange, this); });
}
