#pragma once
// What only the program itself could print on standard error: a crash, an
// exception that escaped, a sanitizer's report. Platform plugins may print
// notes of their own, which say nothing about the program.

#include <QByteArray>

inline bool HoldsAFailureOfTheProgram(const QByteArray& err) {
    for (const char* mark : {"terminate called", "Segmentation fault", "AddressSanitizer",
                             "LeakSanitizer", "runtime error:", "Unhandled exception"})
        if (err.contains(mark))
            return true;
    return false;
}
