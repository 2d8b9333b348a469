#pragma once
// Writing a whole file so that readers never see it half-written: the bytes
// go to a temporary file beside it, reach the disk, and only then take the
// file's place. A failure leaves the old file as it was.

#include "platform/core/exception.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

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
//   2. The bytes go to a temporary beside the file, "<name>.<six random
//      letters or digits>.tmp": created anew (never an existing file, never
//      through a link), so that two writes of one file at once each have
//      their own, and locked while the write lasts (see
//      RemoveLeftoverTemporaries). It gets the old file's permissions and is
//      synced.
//   3. The temporary is renamed over the file and the folder is synced.
// A failure before the rename removes the temporary; one after it (closing
// the temporary, syncing the folder) still raises, with the new file in place.
void WriteWholeFileLocal(const QString& localPath, QByteArrayView bytes, const QString& shownName);

// Removes from `folder` (a path as the program builds it) the temporaries
// that writes of files named "...<suffix>" left behind when they were killed.
// A temporary that a write still holds stays, and so does everything else.
// Reports nothing: what it cannot remove waits for the next time.
void RemoveLeftoverTemporaries(const QString& folder, QStringView suffix);
// The same for a local folder.
void RemoveLeftoverTemporariesLocal(const QString& localFolder, QStringView suffix);
