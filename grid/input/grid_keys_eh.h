#pragma once
// The grid's key tables: turns a key (window-system key code and shift
// state) into the grid's moves and edits. The extensions see every key
// first; the search keys reach them again through SearchKey.

#include "platform/core/events.h"

#include <QChar>

class TDBGridEh;

// Key codes of the tables.
namespace GridKeysEh {
inline constexpr unsigned short Backspace = 8;
inline constexpr unsigned short Tab = 9;
inline constexpr unsigned short Enter = 13;
inline constexpr unsigned short Ctrl = 17;
inline constexpr unsigned short Escape = 27;
inline constexpr unsigned short PageUp = 33;
inline constexpr unsigned short PageDown = 34;
inline constexpr unsigned short End = 35;
inline constexpr unsigned short Home = 36;
inline constexpr unsigned short Left = 37;
inline constexpr unsigned short Up = 38;
inline constexpr unsigned short Right = 39;
inline constexpr unsigned short Down = 40;
inline constexpr unsigned short Insert = 45;
inline constexpr unsigned short Delete = 46;
inline constexpr unsigned short KeyA = 'A';
inline constexpr unsigned short KeyC = 'C';
inline constexpr unsigned short KeyF = 'F';
inline constexpr unsigned short KeyV = 'V';
inline constexpr unsigned short KeyX = 'X';
inline constexpr unsigned short F2 = 113;
// The quote key (VK_OEM_7).
inline constexpr unsigned short Quote = 222;
} // namespace GridKeysEh

class TGridKeysEh {
public:
    explicit TGridKeysEh(TDBGridEh& grid) : grid_(grid) {}

    // A key went down; true when the tables used it.
    bool KeyDown(unsigned short key, TShiftState shift);
    // A character was typed while the cell editor was closed.
    void KeyPress(QChar key);
    // Esc: the cell editor's text back to the field's value, or the record's
    // edit cancelled; the editor closes.
    void EscapeKey();
    // Enter: the editor's text into the field, then the editor opens or closes.
    void EnterKey();

private:
    bool CtrlKey(unsigned short key, TShiftState shift);
    bool PlainKey(unsigned short key, TShiftState shift);
    void TabKey(bool back);
    void CopyFromRowAbove();

    TDBGridEh& grid_;
};
