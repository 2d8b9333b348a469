// The program killed (SIGKILL) at random points of an upload, again and
// again: whatever the point, every article is as before or fully written,
// every photograph absent, as before or complete, a temporary file never
// carries a photograph's name, and the run after the last kill completes
// the work and leaves no temporary file.
//
// AMQB_KILL_POINTS sets how many kills (default 40) and AMQB_KILL_SECONDS
// how long they may take at most (default 60: a slow build, under the
// sanitizers, tries fewer); the kill_soak target runs many more.
// AMQB_KILL_SEED repeats a sequence of kill points.

#include "tests/forms/upload_fault_fixture.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <iostream>

namespace {

int Setting(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

TEST_F(UploadFaults, KilledAtRandomPointsNothingIsHalfWrittenAndARerunCompletes) {
    const int kills = Setting("AMQB_KILL_POINTS", 40);
    const qint64 budget = 1000LL * Setting("AMQB_KILL_SECONDS", 60);
    const quint32 seed = static_cast<quint32>(
        Setting("AMQB_KILL_SEED", static_cast<int>(QRandomGenerator::global()->bounded(1 << 30))));
    SCOPED_TRACE(testing::Message() << "AMQB_KILL_SEED=" << seed);
    QRandomGenerator random(seed);

    // A first whole run, timed: the kill points fall between the start and
    // a little after its end.
    AddArticles(60);
    QElapsedTimer clock;
    clock.start();
    RunToTheEnd();
    const qint64 whole = clock.elapsed();
    ExpectEverythingWritten();
    if (HasFailure())
        return;

    int tried = 0;
    int midRun = 0;        // kills that left some articles written and some not
    int leftTemporary = 0; // kills that left a photograph's temporary file
    clock.restart();
    for (int kill = 1; kill <= kills && !HasFailure() && clock.elapsed() < budget; ++kill) {
        ++tried;
        SCOPED_TRACE(testing::Message() << "kill " << kill);
        Revise(kill + 1);
        Unstamp();
        const UploadState before = State();
        Start();
        QThread::msleep(static_cast<unsigned long>(random.bounded(whole + whole / 10)));
        EndProgram();

        const int written = ExpectNothingHalfDone(before);
        midRun += written > 0 && written < articles_;
        // The stamp only after the last article.
        if (Stamped()) {
            EXPECT_EQ(written, articles_);
        }
        for (const auto& [name, bytes] : State().files)
            leftTemporary += !name.endsWith(".jpg");
    }
    EXPECT_GE(tried, 10);
    std::cout << tried << " kill points (" << midRun << " in the middle of the articles, "
              << leftTemporary << " temporary files left), a whole run took " << whole << " ms\n";

    Unstamp();
    RunToTheEnd();
    ExpectEverythingWritten();
}

} // namespace
