#pragma once
// The Windows fonts the windows' descriptions name, mapped to families a
// Linux desktop has, so that captions keep their width and are not clipped.

// Safe to call more than once; the application object calls it at start.
void InstallFontSubstitutes();
