#pragma once
// Registers TClientDataSet and TDataSetProvider (and with them the dataset
// classes they build on) with the class registry, with the properties their
// form descriptions set.

// Safe to call more than once.
void RegisterClientClasses();
