// articulosmqb: uploads the articles that changed in the ERP to the remote
// catalog. Creates the login window (the main window), then the data module,
// and runs the event loop until the main window closes or a stop signal
// (SIGTERM, SIGINT) ends it.

#include "app/register_program_classes.h"
#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "platform/system/command_line.h"
#include "platform/system/stop_signals.h"
#include "platform/ui/application.h"

#include <QStringList>

int main(int argc, char** argv) {
    {
        TApplication application(argc, argv);
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        InitCommandLine(arguments);
        RegisterProgramClasses();

        Application->Initialize();
        Application->CreateForm(faccesoqb);
        Application->CreateForm(fdmqb);
        Application->Run();
    }
    // The windows and the data module are gone, and with them the
    // connections: a stop signal now ends the process as it would have.
    if (const int signal = StopSignalReceived())
        EndByStopSignal(signal);
    return 0;
}
