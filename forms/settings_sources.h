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
