#pragma once
// Runs the suites of a test binary that needs widgets: on the offscreen
// platform (unless the environment names another) with one application
// object for the whole run.

int RunWidgetTests(int argc, char** argv);
