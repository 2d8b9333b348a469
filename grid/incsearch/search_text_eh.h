#pragma once
// The incremental search's text rules that need no grid.

#include <QString>
#include <QStringView>

// The text without its last character. A character that takes two units
// goes as one, as Backspace takes a double-byte character of a double-byte
// code page whole: in the program's text that is a surrogate pair (the
// 8-bit code page, Windows-1252, has no double-byte characters).
QString WithoutLastCharacterEh(QStringView text);
