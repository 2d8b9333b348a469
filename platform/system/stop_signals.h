#pragma once
// The signals that ask the program to stop, SIGTERM and SIGINT: a handler
// that only records the first one and writes a byte into a pipe, so that the
// user-interface thread ends the program in its own time (between two steps of
// its work, never inside one); a second one ends the process at once. Where
// the system has no such signals (Windows) none of this does anything.

// Creates the pipe (once) and installs the handlers; a second call installs
// them again. A signal the process was started with ignored stays ignored
// (a background job of a shell is not for the terminal's Ctrl+C). Returns
// the pipe's reading end, which becomes readable when a signal arrives; -1
// when there is none (then nothing was installed and the signals keep their
// default action).
int InstallStopSignalHandlers();

// Puts the handlers back where something replaced them. The Firebird client
// library installs its own for both signals at its first attachment: they
// shut its connections down and leave the process running. Does nothing
// until InstallStopSignalHandlers has run, so a process that never asked for
// them keeps the signals' default action.
void RestoreStopSignalHandlers();

// The first stop signal received, 0 while none. Safe to poll from any thread
// at any time.
int StopSignalReceived();

// Empties the pipe once its reader has seen it readable.
void DrainStopSignalPipe();

// Forgets a received signal and empties the pipe: for tests, which go on in
// the same process after a stop.
void ClearStopSignal();

// Ends the process the way the signal's default action does, so that whoever
// started it sees it ended by that signal: flushes the output, restores the
// default action and raises the signal again. A sanitizer build first runs
// the leak check of a normal exit, which ends the process with its report
// and status when it finds a leak.
[[noreturn]] void EndByStopSignal(int signal);
