// SIGTERM and SIGINT end the application's loops, modal ones included, and
// work inside a handler sees the request at once and stops between steps.

#include "platform/system/stop_signals.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"
#include "tests/platform/ui/test_form_fixture.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <string>

namespace {

void DefaultAction(int signal) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

class StopRequest : public TestFormFixture, public testing::WithParamInterface<int> {
protected:
    void SetUp() override { Application->Initialize(); }
    void TearDown() override {
        // Leave the rest of the suite with the signals' default action.
        DefaultAction(SIGTERM);
        DefaultAction(SIGINT);
        TestFormFixture::TearDown();
    }
    int Signal() const { return GetParam(); }

    // A main window whose activation runs `activate`, with a safety net: a
    // loop the signal failed to end is closed after a while (and the test
    // fails) instead of holding the suite.
    // Its OnClose refuses, as a window that asks the person first would:
    // a stop is no person closing windows, nothing may hold it.
    void RunMainWindow(const std::function<void()>& activate) {
        THandlerTable h;
        h.Add<TNotifyEvent>("Activate", [=](TObject*) { activate(); });
        h.Add<TCloseEvent>("Refuse", [](TObject*, TCloseAction& a) { a = TCloseAction::caNone; });
        TTestForm* main =
            MakeForm("  Caption = \"Main\"\n  OnActivate = Activate\n  OnClose = Refuse\n", h);
        Application->FormCreated(main);
        bool netCaught = false;
        QTimer net;
        net.setSingleShot(true);
        QObject::connect(&net, &QTimer::timeout, [&] {
            netCaught = true;
            Application->Terminate();
            QCoreApplication::exit(0);
        });
        net.start(10000);
        Application->Run();
        EXPECT_FALSE(netCaught) << "the stop signal did not end the loop";
        EXPECT_TRUE(Application->Terminated());
        EXPECT_EQ(StopSignalReceived(), Signal());
    }
};

TEST_P(StopRequest, EndsTheMainWindowsLoop) {
    RunMainWindow([this] { std::raise(Signal()); });
}

TEST_P(StopRequest, EndsAModalWindowsLoopAndTheLoopUnderIt) {
    THandlerTable h;
    h.Add<TNotifyEvent>("Activate", [this](TObject*) { std::raise(Signal()); });
    TTestForm* dialog = MakeForm("  Caption = \"Modal\"\n  OnActivate = Activate\n", h);
    int result = -1;
    RunMainWindow([&] { result = dialog->ShowModal(); });
    EXPECT_EQ(result, 0); // nobody chose a result
}

TEST_P(StopRequest, EndsAMessageBoxThatWaitsForSomeone) {
    // The real boxes, not the recording answerer: the error box of an
    // unattended run that waits for a person who never comes.
    IMessageBoxes* recorder = SetMessageBoxes(nullptr);
    RunMainWindow([this] {
        QTimer::singleShot(0, [this] { std::raise(Signal()); });
        ShowMessage(QStringLiteral("Se presento el siguiente error: nadie contesta"));
    });
    SetMessageBoxes(recorder);
}

TEST_P(StopRequest, LongWorkStopsBetweenTwoStepsNeverInsideOne) {
    // The upload's shape: steps inside one handler, the loop not running in
    // between; the request counts as soon as the signal arrives.
    QStringList done;
    RunMainWindow([&] {
        for (int step = 1; step <= 5 && !Application->Terminated(); ++step) {
            done << QStringLiteral("begin %1").arg(step);
            if (step == 2)
                std::raise(Signal());
            done << QStringLiteral("end %1").arg(step);
        }
    });
    EXPECT_EQ(done, (QStringList{"begin 1", "end 1", "begin 2", "end 2"}));
}

TEST_P(StopRequest, ASignalBeforeTheLoopRunsEndsItAtOnce) {
    std::raise(Signal());
    bool activated = false;
    RunMainWindow([&] { activated = true; });
    EXPECT_FALSE(activated);
}

INSTANTIATE_TEST_SUITE_P(Signals, StopRequest, testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

} // namespace
