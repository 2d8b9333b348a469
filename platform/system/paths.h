#pragma once
// Turns the Windows paths the program builds (c:\wamp\www\..., \ERRORES.TXT)
// into paths of the local system.

#include <QChar>
#include <QHash>
#include <QString>

// The local folder that stands for each drive letter (upper case).
using TDriveMap = QHash<QChar, QString>;

// The [Drives] section of the program's settings file (C=/srv/trevola/c);
// empty when there is no file.
TDriveMap DriveMapFromSettings();

// Unchanged on Windows. Elsewhere, with the drive folders of the settings file:
//   - a path that starts with '/' is already local and is kept, its
//     backslashes (from Windows-built parts appended to it) turned into slashes;
//   - backslashes become slashes;
//   - "X:" and "X:\..." start at the folder of drive X (any case), "\..." at
//     the folder of drive C, or at "/" for a drive without a folder;
//   - "X:name" (relative to the drive's current folder on Windows) starts at
//     the drive's folder too, as drives have no current folder here;
//   - a UNC path \\server\share\... becomes //server/share/...;
//   - a relative path stays relative.
QString LocalPath(const QString& windowsPath);
QString LocalPath(const QString& windowsPath, const TDriveMap& drives);
