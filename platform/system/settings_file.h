#pragma once
// The INI file that stands for the program's registry key where there is no
// registry: Ostrel/Trevola.conf in the first folder of $XDG_CONFIG_DIRS
// (default /etc/xdg) that has it.
//
// The file is UTF-8 text. "[Name]" starts a section; keys before the first
// section, or in [General], are top-level (the values of the key itself).
// "name = value" lines, blanks around name and value dropped; lines starting
// with ';' or '#' are comments. Names of keys and sections are
// case-insensitive, as registry names are; a later line replaces an earlier one.
//
// A value is a string unless it is written in the typed forms of a .reg
// file: dword:..., qword:..., hex:... or hex(N):...; such a value exists but is
// not a string. A value in double quotes is always a string, quotes removed.
// There are no escapes: backslashes are kept as they are.

#include <QHash>
#include <QString>
#include <QStringView>
#include <optional>

struct TSettingsValue {
    QString text;
    bool isString = true;
};

class TSettingsFile {
public:
    // No value when the file cannot be read.
    static std::optional<TSettingsFile> Load(const QString& path);
    static TSettingsFile Parse(QStringView text);

    // An empty section name is the top level.
    const TSettingsValue* Find(QStringView section, QStringView name) const;

private:
    QHash<QString, TSettingsValue> values_; // "section\nname", lower-case
};

// The file for organisation/application in the configuration folders, or
// empty text when no folder has it.
QString FindSettingsFile(QStringView organization, QStringView application);
// The program's own settings file (Ostrel/Trevola.conf), when there is one.
std::optional<TSettingsFile> LoadProgramSettings();
