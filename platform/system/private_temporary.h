#pragma once
// Temporary files that only this user can read and that leave nothing
// behind: for data the program keeps out of memory while it runs.
//
// Such a file has no name while it is used: the system removes it when it
// is closed, or when the process ends, killed or not. Where the folder's
// file system cannot make a file without a name (O_TMPFILE), it is created
// under the name "<prefix>.<pid>.<6 random letters or digits>.tmp" (mode
// 0600, O_EXCL, never through a link), locked, and its name removed at
// once; a process killed in between leaves it named, and
// RemoveLeftoverPrivateTemporaries removes it at the next start.

#include <QString>
#include <QStringView>

// A new temporary in `folder`, open for reading and writing (a descriptor
// to close); -1 with errno set when it cannot be made. `unnamed` false makes
// it the named way even where the file system could do without.
int CreatePrivateTemporary(const QString& folder, QStringView prefix, bool unnamed = true);

// Removes from `folder` the named temporaries of `prefix` that processes of
// this user left when they were killed; the ones a live process holds stay,
// and so does everything else. Reports nothing.
void RemoveLeftoverPrivateTemporaries(const QString& folder, QStringView prefix);
