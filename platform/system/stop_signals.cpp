#include "platform/system/stop_signals.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

// A sanitizer build checks for leaks at exit, which a process that a signal
// ends never reaches.
#if defined(__SANITIZE_ADDRESS__)
#define AMQB_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define AMQB_LEAK_CHECK 1
#endif
#endif
#ifdef AMQB_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

std::atomic<int> gReceived{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free flag");

#ifndef _WIN32

constexpr int kStopSignals[] = {SIGTERM, SIGINT};

// The pipe's ends; -1 until it exists. Never closed: the handler may write
// to it at any moment of the process's life.
int gPipe[2] = {-1, -1};
std::atomic<bool> gInstalled{false};
// Signals the process was started with ignored (a background job of a shell
// ignores SIGINT, so that the terminal's Ctrl+C is not for it): they stay
// ignored.
bool gIgnored[std::size(kStopSignals)] = {};

// Only async-signal-safe work here: an atomic, write, sigaction, raise.
void OnStopSignal(int signal) {
    const int savedErrno = errno;
    int none = 0;
    if (gReceived.compare_exchange_strong(none, signal)) {
        // The pipe does not block: a full pipe already tells the reader.
        const char byte = static_cast<char>(signal);
        const ssize_t written = write(gPipe[1], &byte, 1);
        (void)written;
    } else {
        // Asked again while the first request is still being honoured (a
        // call into the client library that does not come back, say): no more
        // waiting. Both signals are blocked while this runs, so the raised
        // one ends the process as soon as the handler returns.
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        sigemptyset(&standard.sa_mask);
        sigaction(signal, &standard, nullptr);
        raise(signal);
    }
    errno = savedErrno;
}

void NoteIgnoredSignals() {
    for (size_t i = 0; i < std::size(kStopSignals); ++i) {
        struct sigaction current {};
        sigaction(kStopSignals[i], nullptr, &current);
        gIgnored[i] = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_IGN;
    }
}

void SetHandlers() {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    for (int signal : kStopSignals)
        sigaddset(&action.sa_mask, signal);
    // Interrupted system calls go on: the client library and Qt are in the
    // middle of their own work, which must finish before the program looks
    // at the request.
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kStopSignals); ++i) {
        action.sa_handler = gIgnored[i] ? SIG_IGN : OnStopSignal;
        sigaction(kStopSignals[i], &action, nullptr);
    }
}

#endif

} // namespace

int InstallStopSignalHandlers() {
#ifdef _WIN32
    return -1;
#else
    static const bool piped = [] {
        NoteIgnoredSignals();
        return pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) == 0;
    }();
    if (!piped)
        return -1;
    gInstalled = true;
    SetHandlers();
    return gPipe[0];
#endif
}

void RestoreStopSignalHandlers() {
#ifndef _WIN32
    if (gInstalled)
        SetHandlers();
#endif
}

int StopSignalReceived() {
    return gReceived.load();
}

void DrainStopSignalPipe() {
#ifndef _WIN32
    if (gPipe[0] < 0)
        return;
    char bytes[16];
    while (read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
#endif
}

void ClearStopSignal() {
    DrainStopSignalPipe();
    gReceived = 0;
}

void EndByStopSignal(int signal) {
    std::fflush(nullptr);
#ifdef AMQB_LEAK_CHECK
    // The check a normal exit runs: a leak found ends the process here with
    // the sanitizer's report and exit status.
    __lsan_do_leak_check();
#endif
#ifndef _WIN32
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signal, &standard, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
#endif
    std::raise(signal);
    // Only where the signal cannot end the process: the shells' convention.
    std::_Exit(128 + signal);
}
