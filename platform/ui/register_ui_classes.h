#pragma once
// Registers the standard controls, windows and data modules with the class registry.

void RegisterUiClasses();
