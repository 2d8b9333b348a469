// Feeds arbitrary text to the command-line splitter, and arbitrary argument
// vectors to the command line built from main's arguments. Besides not
// crashing, both must keep what the program relies on: no argument is empty
// or holds a double quote, a split command line rebuilt and split again
// gives the same arguments, and the program reads main's arguments back in
// their places (empty ones take none, their double quotes are dropped).

#include "platform/system/command_line.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void CheckSplit(const QString& text) {
    const QStringList arguments = SplitCommandLine(text);
    for (const QString& argument : arguments)
        if (argument.isEmpty() || argument.contains(u'"') || argument.contains(QChar(0)))
            std::abort();
    if (SplitCommandLine(CommandLineFromArguments(arguments)) != arguments)
        std::abort();
}

// main's arguments: the bytes between NULs, as the system hands them over.
void CheckArgv(const uint8_t* data, size_t size) {
    QStringList argv;
    const char* text = reinterpret_cast<const char*>(data);
    size_t start = 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == 0) {
            argv << QString::fromLocal8Bit(text + start, static_cast<qsizetype>(i - start));
            start = i + 1;
        }
    }
    QStringList expected;
    for (QString argument : argv)
        if (!argument.remove(u'"').isEmpty())
            expected << argument;
    InitCommandLine(argv);
    if (ParamCount() != (expected.isEmpty() ? 0 : expected.size() - 1))
        std::abort();
    for (qsizetype i = 0; i < expected.size(); ++i)
        if (ParamStr(static_cast<int>(i)) != expected[i])
            std::abort();
    if (!ParamStr(static_cast<int>(expected.size())).isEmpty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // As UTF-8 (a command line as typed) and as UTF-16 code units (every
    // character, lone surrogates and NULs too).
    CheckSplit(
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    QString units(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size / 2 * 2);
    CheckSplit(units);
    CheckArgv(data, size);
    return 0;
}
