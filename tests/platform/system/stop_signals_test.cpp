#include "platform/system/stop_signals.h"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>

namespace {

bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

void SetAction(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

// Each case runs with one of the two signals; no case leaves the process
// catching them. The death tests start the test binary afresh, so a child
// has installed nothing unless it does so itself.
class StopSignals : public testing::TestWithParam<int> {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    void TearDown() override {
        SetAction(SIGTERM, SIG_DFL);
        SetAction(SIGINT, SIG_DFL);
        ClearStopSignal();
    }
    int Signal() const { return GetParam(); }
};

TEST_P(StopSignals, TheFirstIsRecordedAndWakesThePipe) {
    const int pipe = InstallStopSignalHandlers();
    ASSERT_GE(pipe, 0);
    EXPECT_EQ(StopSignalReceived(), 0);
    EXPECT_FALSE(Readable(pipe));
    std::raise(Signal());
    EXPECT_EQ(StopSignalReceived(), Signal());
    EXPECT_TRUE(Readable(pipe));
    DrainStopSignalPipe();
    EXPECT_FALSE(Readable(pipe));
    // Draining only quiets the pipe: the request stands.
    EXPECT_EQ(StopSignalReceived(), Signal());
}

// What the Firebird client library does at its first attachment: a handler
// of its own in place of the program's, which leaves the process running.
void Swallow(int) {}

TEST_P(StopSignals, AHandlerThatALibraryPutInTheirPlaceIsReplaced) {
    InstallStopSignalHandlers();
    SetAction(Signal(), Swallow);
    RestoreStopSignalHandlers();
    std::raise(Signal());
    EXPECT_EQ(StopSignalReceived(), Signal());
}

TEST_P(StopSignals, ASecondSignalEndsTheProcessAtOnce) {
    EXPECT_EXIT(
        {
            InstallStopSignalHandlers();
            std::raise(SIGTERM);
            std::raise(Signal());
            std::_Exit(0);
        },
        testing::KilledBySignal(Signal()), "");
}

TEST_P(StopSignals, TheProcessEndsAsTheSignalWouldHaveEndedIt) {
    // After the clean-up the parent must see the signal, not an exit status.
    EXPECT_EXIT(
        {
            InstallStopSignalHandlers();
            std::raise(Signal());
            EndByStopSignal(StopSignalReceived());
        },
        testing::KilledBySignal(Signal()), "");
}

TEST_P(StopSignals, AProcessThatInstalledNothingKeepsTheDefaultAction) {
    // The driver restores after every attachment, in every process that uses it.
    EXPECT_EXIT(
        {
            RestoreStopSignalHandlers();
            std::raise(Signal());
            std::_Exit(0);
        },
        testing::KilledBySignal(Signal()), "");
}

TEST_P(StopSignals, ASignalIgnoredAtTheStartStaysIgnored) {
    // As a shell starts a background job for SIGINT; also once a library
    // put a handler of its own in its place.
    EXPECT_EXIT(
        {
            SetAction(Signal(), SIG_IGN);
            InstallStopSignalHandlers();
            SetAction(Signal(), Swallow);
            RestoreStopSignalHandlers();
            struct sigaction now {};
            sigaction(Signal(), nullptr, &now);
            std::raise(Signal());
            std::_Exit(now.sa_handler == SIG_IGN && StopSignalReceived() == 0 ? 3 : 4);
        },
        testing::ExitedWithCode(3), "");
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignals, testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

} // namespace
