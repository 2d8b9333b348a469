#pragma once
// TModalAnswerer: stands in for the person at the modal windows while it
// lives (installed as the application's OnModalShown). It records every
// window that runs modally and answers it: by default it closes it, as the
// window's close box would; `answer` may look at the window first or choose
// a modal result.

#include "platform/ui/application.h"

#include <QString>
#include <vector>

class TModalAnswerer {
public:
    TModalAnswerer();
    ~TModalAnswerer();
    TModalAnswerer(const TModalAnswerer&) = delete;
    TModalAnswerer& operator=(const TModalAnswerer&) = delete;

    // The class names of the windows shown modally, in order.
    std::vector<QString> shown;
    // Runs for each window; it should end the window's loop (Close or
    // SetModalResult). Empty: the window is closed.
    std::function<void(TForm& form)> answer;

private:
    TModalShownEvent previous_;
};
