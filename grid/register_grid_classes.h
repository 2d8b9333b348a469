#pragma once
// Registers the grid's classes and their published properties for the form
// descriptions. Safe to call more than once.

void RegisterGridClasses();
