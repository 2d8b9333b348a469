#include "platform/system/paths.h"

#include "platform/system/settings_file.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
namespace {

QString DriveFolder(const TDriveMap& drives, QChar letter) {
    QString folder = drives.value(letter.toUpper());
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder.isEmpty() ? QStringLiteral("/") : folder;
}

// The folder, then the rest of the path with a slash between them.
QString Join(const QString& folder, QStringView rest) {
    while (rest.startsWith(u'/'))
        rest = rest.mid(1);
    if (rest.isEmpty())
        return folder;
    return folder.endsWith(u'/') ? folder + rest.toString() : folder + u'/' + rest.toString();
}

bool IsDriveLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace
#endif

TDriveMap DriveMapFromSettings() {
    TDriveMap drives;
    const auto file = LoadProgramSettings();
    if (!file)
        return drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QString name(QChar::fromLatin1(letter));
        if (const TSettingsValue* value = file->Find(u"Drives", name))
            drives.insert(QChar::fromLatin1(letter), value->text);
    }
    return drives;
}

QString LocalPath(const QString& windowsPath) {
#ifdef Q_OS_WIN
    return windowsPath;
#else
    return LocalPath(windowsPath, DriveMapFromSettings());
#endif
}

QString LocalPath(const QString& windowsPath, const TDriveMap& drives) {
#ifdef Q_OS_WIN
    Q_UNUSED(drives);
    return windowsPath;
#else
    // A local absolute path is kept, but the parts the program appends to it
    // are Windows-built: "\ERRORES.TXT" after a local folder is still a file in it.
    if (windowsPath.startsWith(u'/'))
        return QString(windowsPath).replace(u'\\', u'/');
    QString path = windowsPath;
    path.replace(u'\\', u'/');
    if (path.startsWith(QLatin1String("//")))
        return path;
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':')
        return Join(DriveFolder(drives, path[0]), QStringView(path).mid(2));
    if (path.startsWith(u'/'))
        return Join(DriveFolder(drives, u'C'), path);
    return path;
#endif
}
