#pragma once
// Where the program learns its application directory (the registry value
// Directorio) and the list of database servers offered in the login window
// (SERVIDORES.cfg in that directory).

#include <QString>
#include <QStringList>

// The value "Directorio" of HKEY_LOCAL_MACHINE\Software\Ostrel\Trevola, or
// empty text when the value is absent. When the key itself is absent it says
// so in a message box first. A value that is no string raises
// ERegistryException.
QString diraplicacion();

// The local path of the server list: diraplicacion followed by
// "\SERVIDORES.cfg", mapped to this system's paths.
QString ServerListPath();

// The server lines of a file, read byte by byte: a carriage return or a line
// feed ends a line, and a carriage return always takes the byte after it
// with it, whatever it is. Every line end gives an entry (an empty line an
// empty one); text after the last line end is dropped; a line keeps its first
// 255 characters. Bytes are Windows-1252. A file that cannot be opened gives
// no entries.
QStringList ReadServerList(const QString& localPath);
