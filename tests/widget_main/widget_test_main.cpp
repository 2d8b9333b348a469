#include "tests/widget_main/run_widget_tests.h"

int main(int argc, char** argv) {
    return RunWidgetTests(argc, argv);
}
