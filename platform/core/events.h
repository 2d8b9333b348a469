#pragma once
// Event types shared by controls, windows and datasets. An event is an
// optional handler; an unassigned one is skipped.

#include <QChar>
#include <functional>

class TComponent;
using TObject = TComponent;

enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32
};
using TShiftState = unsigned;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = std::function<void(TObject* Sender)>;
// Key is the virtual key code; a handler may set it to 0.
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
// Key is the typed character; a handler may replace it (0 swallows it).
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

// Calls an event when it is assigned.
template <typename Event, typename... Args> void Fire(const Event& event, Args&&... args) {
    if (event)
        event(std::forward<Args>(args)...);
}
