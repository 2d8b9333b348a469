#pragma once
// Reading the server list file SERVIDORES.cfg into the lines offered in the
// login window.

#include <QString>
#include <QStringList>

// The server lines of a file, read byte by byte: a carriage return or a line
// feed ends a line, and a carriage return always takes the byte after it
// with it, whatever it is. Every line end gives an entry (an empty line an
// empty one); text after the last line end is dropped; a line keeps its first
// 255 characters. Bytes are Windows-1252. A file that cannot be opened gives
// no entries.
QStringList ReadServerList(const QString& localPath);
