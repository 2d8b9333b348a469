#pragma once
// The system calls through which whole-file writing reaches the disk. They
// go through one table so that a test can see their order, or make one of
// them fail; the program itself always uses the real ones.

#include <cstddef>
#include <sys/types.h>

struct FileWriteCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* bytes, std::size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*unlink)(const char* path);
};

// The calls in use: the real ones unless a test has put others in place.
extern const FileWriteCalls* fileWriteCalls;

// Puts `calls` in use; null puts the real ones back.
void SetFileWriteCalls(const FileWriteCalls* calls);
