// The program killed (SIGKILL) at random points of an upload, again and
// again: whatever the point, every article is as before or fully written,
// every photograph absent, as before or complete, a temporary file never
// carries a photograph's name, and the run after the last kill completes
// the work and leaves no temporary file. Most kills must land among the
// articles, where a kill can leave something half done; the test prints
// where they landed.
//
// AMQB_KILL_POINTS sets how many kills (default 40) and AMQB_KILL_SECONDS
// how long they may take at most (default 60: a slow build, under the
// sanitizers, tries fewer); the kill_soak target runs many more.
// AMQB_KILL_SEED repeats a sequence of kill points.

#include "tests/forms/upload_fault_fixture.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int Setting(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// Where a kill landed, from what it left.
struct KillLanding {
    int beforeTheArticles = 0; // no article written yet: start-up, or inside the first article
    int amongTheArticles = 0;  // some articles written, or all of them and no stamp yet
    int afterTheStamp = 0;     // the run was over
    int temporariesLeft = 0;   // kills that left a photograph's temporary file

    int Total() const { return beforeTheArticles + amongTheArticles + afterTheStamp; }
    std::string Describe() const {
        std::ostringstream text;
        text << Total() << " kills: " << beforeTheArticles << " before the first article, "
             << amongTheArticles << " among the articles, " << afterTheStamp << " after the stamp; "
             << temporariesLeft << " left a temporary file";
        return text.str();
    }
};

class UploadKill : public UploadFaults {
protected:
    // A whole run; returns how long its articles took, from the first one
    // written to the stamp, in microseconds.
    qint64 TimedRun() {
        QElapsedTimer clock;
        qint64 firstArticle = -1;
        Start();
        EXPECT_TRUE(Eventually(60000, [&] {
            if (firstArticle < 0 && ArticlesWritten() > 0)
                clock.start(), firstArticle = 0;
            return Stamped() || ProgramEnded();
        })) << "the run did not end";
        const qint64 upload = clock.isValid() ? clock.nsecsElapsed() / 1000 : 0;
        AwaitTheStampAndEnd();
        EXPECT_GE(firstArticle, 0) << "no article was written";
        return upload;
    }
    // Waits until the run started has written `count` articles of the
    // current revision; false if it ended first.
    bool WaitForArticles(int count) {
        return Eventually(
                   30000, [&] { return ArticlesWritten() >= count || ProgramEnded(); }, 1) &&
               ArticlesWritten() >= count;
    }
};

TEST_F(UploadKill, KilledAtRandomPointsNothingIsHalfWrittenAndARerunCompletes) {
    const int kills = Setting("AMQB_KILL_POINTS", 40);
    const qint64 budget = 1000LL * Setting("AMQB_KILL_SECONDS", 60);
    const quint32 seed = static_cast<quint32>(
        Setting("AMQB_KILL_SEED", static_cast<int>(QRandomGenerator::global()->bounded(1 << 30))));
    SCOPED_TRACE(testing::Message() << "AMQB_KILL_SEED=" << seed);
    QRandomGenerator random(seed);

    // A first whole run, timed: how long one article takes.
    AddArticles(60);
    const qint64 perArticle = std::max<qint64>(TimedRun() / articles_, 1);
    ExpectEverythingWritten();
    if (HasFailure())
        return;

    // Each kill point: once a random number of articles is written (the run
    // goes on while the test looks), somewhere within the next two articles.
    // Counted from the articles, not from the start, whose time varies more
    // than the whole upload takes.
    KillLanding landing;
    QElapsedTimer spent;
    spent.start();
    for (int kill = 1; kill <= kills && !HasFailure() && spent.elapsed() < budget; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill);
        Revise(kill + 1);
        Unstamp();
        const UploadState before = State();
        Start();
        EXPECT_TRUE(WaitForArticles(random.bounded(1, articles_ + 1)))
            << settings_.ErrorLog().toStdString();
        QThread::usleep(static_cast<unsigned long>(random.bounded(2 * perArticle)));
        EndProgram();

        const int written = ExpectNothingHalfDone(before);
        // The stamp only after the last article.
        if (Stamped()) {
            EXPECT_EQ(written, articles_);
            ++landing.afterTheStamp;
        } else if (written == 0) {
            ++landing.beforeTheArticles;
        } else {
            ++landing.amongTheArticles;
        }
        for (const auto& [name, bytes] : State().files)
            landing.temporariesLeft += !name.endsWith(".jpg");
    }
    std::cout << "AMQB_KILL_SEED=" << seed << ": " << landing.Describe() << "; an article took "
              << perArticle << " us\n";
    RecordProperty("kills", landing.Describe());
    EXPECT_GE(landing.Total(), 10);
    // Kills that miss the articles test nothing of what a kill may leave.
    EXPECT_GT(2 * landing.amongTheArticles, landing.Total()) << landing.Describe();

    Unstamp();
    RunToTheEnd();
    ExpectEverythingWritten();
}

} // namespace
