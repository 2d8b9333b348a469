// The Firebird client library against the program's stop signals: the
// library installs SIGTERM and SIGINT handlers of its own at its first
// attachment, which shut every connection down and leave the process running.

#include "platform/core/exception.h"
#include "platform/system/stop_signals.h"
#include "tests/support/test_database.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

class ClientSignals : public testing::TestWithParam<int> {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Runs in a fresh process (the library is loaded there for the first time,
// after the program installed its handlers, as in the program) and exits
// with the number of things that went wrong, each told on standard error.
int SignalAfterTheFirstAttachment(int signal) {
    InstallStopSignalHandlers();
    int failures = 0;
    {
        TestDatabase db(QStringLiteral("signals")); // the first attachments of the process
        std::raise(signal);
        if (StopSignalReceived() != signal) {
            std::fprintf(stderr, "The program was not told of the signal\n");
            ++failures;
        }
        // The work in hand finishes on its connection before the program stops.
        try {
            db.Query(QStringLiteral("select count(*) from RDB$DATABASE"));
        } catch (const Exception& e) {
            std::fprintf(stderr, "The connection was shut down: %s\n", qPrintable(e.Message()));
            ++failures;
        }
    }
    return failures;
}

TEST_P(ClientSignals, ReachTheProgramAndLeaveItsConnectionsOpen) {
    EXPECT_EXIT(std::_Exit(SignalAfterTheFirstAttachment(GetParam())), testing::ExitedWithCode(0),
                "");
}

INSTANTIATE_TEST_SUITE_P(Signals, ClientSignals, testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

} // namespace
