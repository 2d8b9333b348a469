#pragma once
// The one place that registers every class the program's form descriptions
// name (controls, datasets, connections, the windows and the data module),
// so that a class missing from it shows at start and in every test, not as
// "unknown class" in one window at run time. Called by main and by the test
// mains before any window is created; safe to call again.

void RegisterProgramClasses();
