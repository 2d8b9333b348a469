// SIGTERM and SIGINT in the middle of an upload: the program ends promptly,
// between two articles, without its stamp, and a second run completes.

#include "tests/forms/upload_fault_fixture.h"

#include <ostream>

namespace {

struct StopSignal {
    const char* name;
    int signal;
    friend void PrintTo(const StopSignal& c, std::ostream* os) { *os << c.name; }
};

class UploadStop : public UploadFaults, public testing::WithParamInterface<StopSignal> {};

TEST_P(UploadStop, EndsBetweenTwoArticlesUnstampedAndARerunCompletes) {
    const int signal = GetParam().signal;
    AddArticles(150);
    const UploadState before = State();
    Start();
    ASSERT_TRUE(PhotosWritten(3)) << settings_.ErrorLog().toStdString();
    const qint64 pid = program_.processId();

    ASSERT_TRUE(StopProgram(signal)) << "still running after the signal";
    // Ended by the signal itself, after its clean-up.
    EXPECT_EQ(program_.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(program_.exitCode(), signal);
    const QByteArray err = program_.readAllStandardError();
    EXPECT_FALSE(HoldsAFailureOfTheProgram(err)) << err.toStdString();
    EXPECT_EQ(catalog_->AttachmentsOf(pid), 0);
    EXPECT_FALSE(Stamped());
    EXPECT_EQ(settings_.ErrorLog(), QByteArray());

    // Stopped in the middle, and never inside an article: every article
    // written has its photograph, and no temporary file is left.
    const UploadState after = State();
    const int written = ExpectNothingHalfDone(before);
    EXPECT_GT(written, 0);
    EXPECT_LT(written, articles_) << "the run was over before the signal";
    EXPECT_EQ(after.files.size(), after.rows.size()) << Describe(after.files);
    for (const auto& [code, row] : after.rows)
        EXPECT_EQ(after.files.count(PhotoName(code)), 1u) << code.toStdString();

    RunToTheEnd();
    ExpectEverythingWritten();
}

INSTANTIATE_TEST_SUITE_P(Signals, UploadStop,
                         testing::Values(StopSignal{"Sigterm", SIGTERM},
                                         StopSignal{"Sigint", SIGINT}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
