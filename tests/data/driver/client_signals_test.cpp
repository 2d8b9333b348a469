// The Firebird client library against the program's stop signals: the
// library installs SIGTERM and SIGINT handlers of its own at its first
// attachment, which would shut every connection down and leave the process
// running.

#include "data/driver/client_library.h"
#include "platform/core/exception.h"
#include "platform/system/stop_signals.h"
#include "tests/support/test_database.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <firebird/Interface.h>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

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

// The same signal while the library's own handlers are still in place: the
// moment inside the first attachment before the program puts its handlers
// back. The library must not shut the connection down then either, and the
// program must still be told.
int SignalInsideTheFirstAttachment(int signal) {
    using namespace Firebird;
    InstallStopSignalHandlers();
    const DatabaseServer server = TestDatabase::LocalServer();
    const QString name = QStringLiteral("%1:%2/signals_inside_%3.fdb")
                             .arg(server.address, server.dataDir)
                             .arg(getpid());
    // The process's first attachment, made straight through the library: its
    // handlers stay installed over the program's.
    IAttachment* att = CreateDatabaseThroughTheLibrary(name);
    IStatus* status = Driver::LoadClient(Driver::ClientLibraryFor(QString()))->getStatus();
    CheckStatusWrapper st(status);
    int failures = 0;
    std::raise(signal);
    // The library shuts its connections down on a thread of its own.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (StopSignalReceived() != signal) {
        std::fprintf(stderr, "The program was not told of the signal\n");
        ++failures;
    }
    att->ping(&st);
    if (st.getState() & IStatus::STATE_ERRORS) {
        std::fprintf(stderr, "The connection was shut down\n");
        ++failures;
        st.init();
    }
    att->dropDatabase(&st);
    if (st.getState() & IStatus::STATE_ERRORS)
        std::fprintf(stderr, "Cannot drop %s\n", qPrintable(name));
    status->dispose();
    return failures;
}

TEST_P(ClientSignals, InsideTheFirstAttachmentReachTheProgramAndLeaveItsConnectionOpen) {
    EXPECT_EXIT(std::_Exit(SignalInsideTheFirstAttachment(GetParam())), testing::ExitedWithCode(0),
                "");
}

INSTANTIATE_TEST_SUITE_P(Signals, ClientSignals, testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

} // namespace
