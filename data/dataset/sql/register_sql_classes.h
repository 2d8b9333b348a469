#pragma once
// Registers TSQLConnection and TSQLQuery with the class registry, with the
// properties their form descriptions set.

// Safe to call more than once.
void RegisterSqlClasses();
