#include "tests/widget_main/run_widget_tests.h"

#include "platform/ui/application.h"

#include <gtest/gtest.h>

int RunWidgetTests(int argc, char** argv) {
    // Test discovery runs the binary outside ctest's environment too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
