#pragma once
// One upload through the program's own windows, as a person or a scheduler
// starts it: the login window connected to the catalog of an UploadSetup,
// then the results window shown modally, whose activation uploads every
// article and stamps the company.

#include "bench/upload/upload_timing.h"

class UploadSetup;

// Times the run from showing the window to the end of its activation (per
// article from one move of the article list to the next, its AfterScroll),
// tells `steps` (started with the run) of each step as it begins, and
// measures the peak heap. Raises std::runtime_error on anything but a clean
// run of every article.
RunTimes ProgramUpload(UploadSetup& setup, StepClock& steps);
