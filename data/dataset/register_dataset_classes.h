#pragma once
// Registers TDataSet (the events every dataset publishes), TDataSource and
// the field classes with the class registry, with the properties their form
// descriptions set.

// Safe to call more than once.
void RegisterDatasetClasses();
