#pragma once
// The program's command line, split into arguments the way the program has
// always read it, and the process-wide ParamCount/ParamStr over it.

#include <QString>
#include <QStringList>
#include <QStringView>

// Splits a command line into its arguments, position 0 being the program.
// Every character up to the blank separates; a stretch in double quotes may
// hold blanks and loses its quotes (a"b c"d is "ab cd"); a bare pair of
// quotes before an argument is skipped, so no argument is ever empty.
// A NUL character ends the text.
QStringList SplitCommandLine(QStringView text);

// Rebuilds the command line from already split arguments (argv), quoting the
// elements that are empty or hold a blank, so that SplitCommandLine gives
// each non-empty element back in its own position. Double quotes inside an
// element cannot be expressed in such a command line and are dropped.
QString CommandLineFromArguments(const QStringList& arguments);

// Sets the program's command line from main's arguments, once at start.
void InitCommandLine(const QStringList& arguments);
// The command line as the program holds it.
QString CmdLine();
// The number of arguments after the program.
int ParamCount();
// The argument at a position; empty text for a position out of range.
QString ParamStr(int index);
