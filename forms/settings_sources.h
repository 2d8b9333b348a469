#pragma once
// Where the program learns its application directory (the registry value
// Directorio), the list of database servers offered in the login window
// (SERVIDORES.cfg in that directory) and the base address of the web server
// that publishes the photographs (the value URLBase beside Directorio).

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

// The base address of the public web server when the settings give none.
inline constexpr char16_t kDefaultURLBase[] = u"http://www.trevola.invalid";

// The base address (scheme and host) of the public web server: the value
// "URLBase" of the same key as Directorio, without the slashes it may end
// in; kDefaultURLBase when the key or the value is absent or the value is
// empty. Raises ERegistryException for a value that is no string, and
// Exception "El valor URLBase no es una dirección de servidor válida
// (http://servidor o https://servidor): " with the value in double quotes
// for anything but "http://" or "https://" followed by a host and perhaps a
// port: it goes in front of every photograph's address in the catalog.
QString URLBase();
