#pragma once
// What the program's temporary files share: names made unique by random
// letters, and the lock that marks a temporary as held by a live process.
// A removal of the leftovers of killed runs takes the same lock before it
// removes one, so the two never meet on one file; a killed process's lock
// goes with it.

#include <QByteArray>
#include <QStringView>

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
