// articulosmqb: uploads the articles that changed in the ERP to the remote
// catalog. Creates the login window (the main window), then the data module,
// and runs the event loop until the main window closes.

#include "app/register_program_classes.h"
#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "platform/system/command_line.h"
#include "platform/ui/application.h"

#include <QStringList>

int main(int argc, char** argv) {
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
    return 0;
}
