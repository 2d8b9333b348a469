#include "platform/system/settings_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <array>
#include <mutex>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

QString KeyOf(QStringView section, QStringView name) {
    return section.toString().toLower() + u'\n' + name.toString().toLower();
}

TSettingsValue ValueOf(QStringView raw) {
    if (raw.size() >= 2 && raw.front() == u'"' && raw.back() == u'"')
        return {raw.mid(1, raw.size() - 2).toString(), true};
    static const QRegularExpression typed(QStringLiteral("^(dword|qword|hex(\\([0-9a-f]+\\))?):"),
                                          QRegularExpression::CaseInsensitiveOption);
    return {raw.toString(), !typed.match(raw.toString()).hasMatch()};
}

} // namespace

std::optional<TSettingsFile> TSettingsFile::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return Parse(text);
}

TSettingsFile TSettingsFile::Parse(QStringView text) {
    TSettingsFile result;
    QString section;
    for (QStringView line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.front() == u';' || line.front() == u'#')
            continue;
        if (line.front() == u'[' && line.back() == u']') {
            section = line.mid(1, line.size() - 2).trimmed().toString();
            if (section.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
                section.clear();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QStringView name = line.left(eq).trimmed();
        if (name.isEmpty())
            continue;
        result.values_.insert(KeyOf(section, name), ValueOf(line.mid(eq + 1).trimmed()));
    }
    return result;
}

const TSettingsValue* TSettingsFile::Find(QStringView section, QStringView name) const {
    const auto it = values_.constFind(KeyOf(section, name));
    return it == values_.cend() ? nullptr : &it.value();
}

QString FindSettingsFile(QStringView organization, QStringView application) {
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    const QString relative =
        organization.toString() + u'/' + application.toString() + QLatin1String(".conf");
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts)) {
        const QString path = dir + u'/' + relative;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

namespace {

// What tells one version of a file from another without reading it: its
// identity, size and the times of its last change. Empty where it cannot be told.
using FileVersion = std::array<long long, 7>;

std::optional<FileVersion> VersionOf(const QString& path) {
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return std::nullopt;
#else
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileVersion{static_cast<long long>(st.st_dev),
                       static_cast<long long>(st.st_ino),
                       static_cast<long long>(st.st_size),
                       st.st_mtim.tv_sec,
                       st.st_mtim.tv_nsec,
                       st.st_ctim.tv_sec,
                       st.st_ctim.tv_nsec};
#endif
}

} // namespace

// Every photograph maps its path through the settings: the file is read again
// only when it is another file or has changed since it was last read.
std::optional<TSettingsFile> LoadProgramSettings() {
    const QString path = FindSettingsFile(u"Ostrel", u"Trevola");
    if (path.isEmpty())
        return std::nullopt;
    static std::mutex mutex;
    static QString lastPath;
    static std::optional<FileVersion> lastVersion;
    static std::optional<TSettingsFile> lastFile;
    const std::optional<FileVersion> version = VersionOf(path);
    const std::lock_guard lock(mutex);
    if (!version || path != lastPath || version != lastVersion) {
        lastFile = TSettingsFile::Load(path);
        lastPath = path;
        lastVersion = lastFile ? version : std::nullopt;
    }
    return lastFile;
}
