#include "app/register_program_classes.h"
#include "tests/widget_main/run_widget_tests.h"

int main(int argc, char** argv) {
    RegisterProgramClasses();
    return RunWidgetTests(argc, argv);
}
