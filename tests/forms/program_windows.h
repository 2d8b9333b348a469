#pragma once
// Ends a run of the program inside a test's (or a benchmark's) process: the
// windows and the data module freed, their globals cleared, the exception
// hook removed, and the application ready for the next main window.

#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "forms/actarticulos.h"
#include "platform/ui/application.h"

inline void DestroyProgramWindows() {
    Application->OnException = nullptr;
    while (Application->ComponentCount() > 0)
        delete Application->Components(0);
    faccesoqb = nullptr;
    fdmqb = nullptr;
    factarticulos = nullptr;
    // A test may have closed the main window: the next one starts afresh.
    Application->Restart();
}
