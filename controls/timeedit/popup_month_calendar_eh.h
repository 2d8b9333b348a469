#pragma once
// A month calendar shown as a popup under (or over) a box. Enter or a click
// on a day closes it accepting that day; Esc, Alt+Down, a click outside or the
// focus leaving close it without a choice.

#include <QDate>
#include <QFrame>
#include <functional>

class QCalendarWidget;

class TPopupMonthCalendarEh : public QFrame {
public:
    explicit TPopupMonthCalendarEh(QWidget* parent);

    // Shows `date` under `anchor`, or over it when the screen has no room below.
    void Popup(QWidget* anchor, QDate date);
    // Closes the calendar and reports it through onCloseUp with the selected day.
    void CloseUp(bool accept);
    // Closes the calendar without reporting it; returns the selected day.
    QDate Dismiss();
    bool IsOpen() const { return open_; }
    QCalendarWidget* Calendar() const { return calendar_; }

    // Runs once per opening, after the calendar has been hidden.
    std::function<void(bool accept, QDate date)> onCloseUp;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Esc and Alt+Down close the calendar whichever of its parts has the focus.
    bool ClosingKey(QKeyEvent* event);

    QCalendarWidget* calendar_;
    bool open_ = false;
};
