#pragma once
// The program's 8-bit text: Windows-1252, used wherever text becomes bytes
// (text columns, the server list, the error log).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Characters without a Windows-1252 byte become '?'.
QByteArray ToAnsi(QStringView text);
// Every byte has a character; the five bytes Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same
// value, as Windows converts them, so that they survive a round trip.
QString FromAnsi(QByteArrayView bytes);
