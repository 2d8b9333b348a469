#pragma once
// The files that this process holds open in a folder, named or not: the
// temporary files it uses there, whatever their names.

#include <QDir>
#include <QFileInfo>
#include <QStringList>

// The targets of the process's open descriptors that lie in `folder` (a file
// whose name is gone reads "<path> (deleted)").
inline QStringList OpenFilesIn(const QString& folder) {
    const QString inside = QFileInfo(folder).canonicalFilePath() + u'/';
    QStringList files;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : descriptors.entryList(QDir::Files | QDir::System)) {
        const QString target = QFile::symLinkTarget(descriptors.filePath(fd));
        if (target.startsWith(inside))
            files << target;
    }
    return files;
}
