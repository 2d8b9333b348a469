#pragma once
// Registers the date-time box with the class registry, so that form
// descriptions can create it.

void RegisterTimeEditClasses();
