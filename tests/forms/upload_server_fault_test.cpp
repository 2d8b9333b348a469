// The catalog's server going away in the middle of an upload: the run stops
// with the driver's error in the log, stamps nothing, leaves no article half
// written, and a second run, once the server is back, completes.

#include "tests/forms/upload_fault_fixture.h"
#include "tests/support/commit_hold.h"

#include <QRegularExpression>
#include <ostream>

namespace {

// How the server goes away.
enum class Going {
    Killed,  // SIGKILL: a crash or a power cut
    Stopped, // SIGTERM: an orderly shutdown that drops its attachments
};

struct ServerFault {
    const char* name;
    Going going;
    friend void PrintTo(const ServerFault& c, std::ostream* os) { *os << c.name; }
};

class UploadServerFault : public UploadFaults {
protected:
    void TakeServerDown(Going going) {
        if (going == Going::Killed)
            server_.Kill();
        else
            server_.Stop();
    }
    // The server back, and the test's attachments to the catalog and the
    // ERP with it.
    void BringServerBack() {
        ASSERT_TRUE(server_.Start());
        catalog_->Db().Reattach();
        erp_->Reattach();
    }
    // The run stopped on the lost connection: the exception that no handler
    // caught is logged (date, time, the empty user, the server's text as the
    // driver gave it) and its box waits for someone. An article whose
    // statement failed may come first, logged as refused.
    void ExpectTheRunStoppedOnTheLostServer() {
        const QRegularExpression stop(
            QStringLiteral(
                "^[^,\r\n]+,[^,\r\n]+,,SQL Server Error: (Error reading data from the connection|"
                "Error writing data to the connection|connection shutdown|Unable to complete "
                "network request to host)"),
            QRegularExpression::MultilineOption);
        ASSERT_TRUE(Eventually(
            30000,
            [&] { return stop.match(QString::fromLatin1(settings_.ErrorLog())).hasMatch(); }))
            << "no failure was logged:\n"
            << settings_.ErrorLog().toStdString();
        EXPECT_TRUE(ProgramRunning()) << "the program ended instead of reporting the failure";
    }
    // The server goes (and with it the hold's lock), the run stops on it,
    // the program is ended, the server comes back: nothing is stamped.
    void GoAwayAndComeBack(Going going, std::unique_ptr<CommitHold>& hold) {
        TakeServerDown(going);
        hold.reset();
        ExpectTheRunStoppedOnTheLostServer();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(StopProgram(SIGTERM));
        BringServerBack();
        EXPECT_FALSE(Stamped());
    }
};

class UploadServerGoesAway : public UploadServerFault,
                             public testing::WithParamInterface<ServerFault> {};

TEST_P(UploadServerGoesAway, MidRun) {
    AddArticles(150);
    const UploadState before = State();
    // The last article's commit waits for the server to go: an orderly
    // shutdown may let the run go on for a while, never to its end.
    auto brake = std::make_unique<CommitHold>(catalog_->Db(), Code(articles_));
    Start();
    ASSERT_TRUE(PhotosWritten(3)) << settings_.ErrorLog().toStdString();
    GoAwayAndComeBack(GetParam().going, brake);
    if (HasFatalFailure())
        return;
    EXPECT_LT(ExpectNothingHalfDone(before), articles_) << "the run was over before the fault";

    RunToTheEnd();
    ExpectEverythingWritten();
}

INSTANTIATE_TEST_SUITE_P(Server, UploadServerGoesAway,
                         testing::Values(ServerFault{"Killed", Going::Killed},
                                         ServerFault{"Stopped", Going::Stopped}),
                         [](const auto& info) { return std::string(info.param.name); });

// The server goes while an article's statement is done and its commit is
// not: the article is not in the catalog, its photograph is not written, and
// nothing after it was touched.
TEST_P(UploadServerGoesAway, BetweenAnArticlesStatementAndItsCommit) {
    AddArticles(40);
    const QString held = Code(20);
    auto hold = std::make_unique<CommitHold>(catalog_->Db(), held);
    Start();
    ASSERT_TRUE(Eventually(30000, [&] { return hold->Reached(); }))
        << settings_.ErrorLog().toStdString();
    GoAwayAndComeBack(GetParam().going, hold);
    if (HasFatalFailure())
        return;
    const UploadState after = State();
    std::map<QString, QStringList> rows;
    std::map<QString, QByteArray> files;
    for (int i = 1; i < 20; ++i) {
        rows[Code(i)] = Written(Code(i), revision_);
        files[PhotoName(Code(i))] = Photo(revision_);
    }
    EXPECT_EQ(after.rows, rows);
    EXPECT_TRUE(after.files == files) << Describe(after.files);

    catalog_->Db().Run("delete from COMMIT_HOLD_AT;");
    RunToTheEnd();
    ExpectEverythingWritten();
}

} // namespace
