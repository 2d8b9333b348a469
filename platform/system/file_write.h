#pragma once
// Writing a whole file so that readers never see it half-written: the bytes
// go to a temporary file beside it, reach the disk, and only then take the
// file's place. A failure leaves the old file as it was.

#include "platform/core/exception.h"

#include <QByteArrayView>
#include <QString>

// The file-creation error: "Cannot create file "<name>". <system error text>".
class EFCreateError : public Exception {
public:
    EFCreateError(const QString& fileName, int systemError);
};

// Makes `bytes` the whole content of `fileName`, a path as the program builds
// it (c:\wamp\...), mapped to the local system with LocalPath. Raises
// EFCreateError naming `fileName` as given.
void WriteWholeFile(const QString& fileName, QByteArrayView bytes);

// The same for a local path; `shownName` is the name the error message gives.
//   1. An existing file that may not be written is refused, as creating it
//      over would be.
//   2. The bytes go to TemporaryFileFor(localPath), created or truncated
//      (so a temporary left by a killed run is taken over), with the old
//      file's permissions; the file is synced.
//   3. The temporary is renamed over the file and the folder is synced.
// On failure before the rename the temporary is removed.
void WriteWholeFileLocal(const QString& localPath, QByteArrayView bytes, const QString& shownName);

// The temporary beside a file: the same name with ".tmp" appended.
QString TemporaryFileFor(const QString& localPath);
