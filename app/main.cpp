// articulosmqb: uploads the articles that changed in the ERP to the remote
// catalog. Creates the login window (the main window), then the data module,
// and runs the event loop until the main window closes or a stop signal
// (SIGTERM, SIGINT) ends it. A run that a scheduler owns (any text in
// position 12 besides the unattended export) needs no display and no person,
// and ends with a status that tells how the run went.

#include "app/register_program_classes.h"
#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "forms/scheduled_run.h"
#include "platform/system/command_line.h"
#include "platform/system/stop_signals.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"

#include <QStringList>
#include <optional>

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// A scheduler's run without a display to open (cron, a systemd timer) runs
// on Qt's offscreen platform rather than failing to start. A platform the
// user chose stays, and so does every other start.
void ChoosePlatform(int argc, char** argv) {
    InitCommandLine(Arguments(argc, argv));
    if (TScheduledRun::Requested() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int main(int argc, char** argv) {
    ChoosePlatform(argc, argv);
    int status = 0;
    // Both outlive the windows.
    std::optional<TScheduledRun> scheduled;
    std::optional<TUnattendedMessageBoxes> boxes;
    {
        TApplication application(argc, argv);
        // The arguments Qt left.
        InitCommandLine(Arguments(argc, argv));
        RegisterProgramClasses();

        if (TScheduledRun::Requested()) {
            scheduled.emplace(ParamStr(4));
            boxes.emplace();
        }
        Application->Initialize();
        Application->CreateForm(faccesoqb);
        faccesoqb->SetScheduledRun(scheduled ? &*scheduled : nullptr);
        Application->CreateForm(fdmqb);
        Application->Run();
        if (scheduled) {
            scheduled->WriteSummary();
            status = scheduled->ExitStatus();
        }
    }
    // The windows and the data module are gone, and with them the
    // connections: a stop signal now ends the process as it would have.
    if (const int signal = StopSignalReceived())
        EndByStopSignal(signal);
    return status;
}
