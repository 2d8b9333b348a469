// The main of the benchmarks that run the program's windows in-process: the
// application object on the offscreen platform (unless the environment names
// another), the program's classes registered, then the benchmarks.

#include "app/register_program_classes.h"
#include "platform/ui/application.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    RegisterProgramClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
