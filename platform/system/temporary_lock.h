#pragma once
// What the program's temporary files share: names made unique by random
// letters, and the lock that marks a temporary as held by a live process.
// A removal of the leftovers of killed runs takes the same lock before it
// removes one, so the two never meet on one file; a killed process's lock
// goes with it.

#include <QByteArray>
#include <QStringView>
#include <sys/types.h>

// Temporary names end in "<kTemporaryRandomLength letters or digits>.tmp".
inline constexpr int kTemporaryRandomLength = 6;
inline constexpr QStringView kTemporaryEnd = u".tmp";

// `count` random letters or digits.
QByteArray RandomLetters(int count);
bool AreRandomLetters(QStringView text);

// Whether `path` still names the file open as `fd`.
bool StillNamed(int fd, const QByteArray& path);

// Takes the lock that marks the file open as `fd` as live. False when the
// lock is taken: a removal of leftovers has the file. A file system without
// locks gives files that are never removed as leftovers.
bool LockAsLive(int fd);

// Removes the regular file at `path` unless a live process holds its lock.
// Reports nothing: what it cannot remove stays.
void RemoveIfLeftOver(const QByteArray& path);

// A temporary made by CreateLockedTemporary: its name and its descriptor.
struct LockedTemporary {
    QByteArray name;
    int fd = -1;
};

// Creates "<start><random letters or digits>.tmp" through `open`, with
// O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC added to `flags` (never an existing
// file, never through a link planted at the name), and locks it as live. A
// name taken, or a file that a removal of leftovers took between its creation
// and the lock (closed through `close`), sends it to another name. On failure
// `fd` is -1 and errno says why: EEXIST when every name tried was taken.
LockedTemporary CreateLockedTemporary(const QByteArray& start, int flags, mode_t mode,
                                      int (*open)(const char* path, int flags, mode_t mode),
                                      int (*close)(int fd));
