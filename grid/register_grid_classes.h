#pragma once
// Registers the grid's classes and their published properties for the form
// descriptions, and the client datasets' features for the title sorting. A
// grid read from a description sorts by its titles. Safe to call more than
// once.

void RegisterGridClasses();
