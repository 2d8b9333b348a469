#pragma once
// The incremental search's settings: its keys, the timeout of a search
// started by typing and the colours of the highlight. They are fixed when
// the grid code starts and are the same for every grid.

#include "platform/core/events.h"
#include "platform/ui/system_colors.h"

// A key with the Shift, Ctrl and Alt state it must be pressed with.
struct TSearchShortCutEh {
    unsigned short key = 0;
    TShiftState shift = 0;
    // Mouse buttons held down do not count.
    bool Matches(unsigned short pressed, TShiftState state) const {
        return pressed == key && (state & (ssShift | ssCtrl | ssAlt)) == shift;
    }
    bool operator==(const TSearchShortCutEh&) const = default;
};

struct TIncSearchSettingsEh {
    TSearchShortCutEh startKey;      // starts a search
    TSearchShortCutEh nextMatchKey;  // the next row below that matches
    TSearchShortCutEh priorMatchKey; // the next row above that matches
    TSearchShortCutEh findDialogKey; // ends the search and opens the find dialog
    // Milliseconds of inactivity that end a search started by typing.
    int typedTimeoutMs = 0;
    TColor highlightColor;
    TColor highlightTextColor;
};

const TIncSearchSettingsEh& IncSearchSettingsEh();
