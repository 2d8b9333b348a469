#include "platform/system/command_line.h"

#include <QtGlobal>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QString& ProgramCommandLine() {
    static QString text;
    return text;
}

QStringList& ProgramArguments() {
    static QStringList arguments;
    return arguments;
}

} // namespace

QStringList SplitCommandLine(QStringView text) {
    QStringList arguments;
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text = text.left(nul);
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (true) {
        // Skip blanks and bare pairs of quotes.
        while (true) {
            while (i < n && text[i] <= u' ')
                ++i;
            if (i + 1 < n && text[i] == u'"' && text[i + 1] == u'"')
                i += 2;
            else
                break;
        }
        QString argument;
        while (i < n && text[i] > u' ') {
            if (text[i] == u'"') {
                for (++i; i < n && text[i] != u'"'; ++i)
                    argument += text[i];
                if (i < n)
                    ++i;
            } else {
                argument += text[i++];
            }
        }
        // Only the end of the text (or a quote left open there) gives
        // nothing, and nothing follows it.
        if (argument.isEmpty())
            break;
        arguments.append(argument);
    }
    return arguments;
}

QString CommandLineFromArguments(const QStringList& arguments) {
    QStringList parts;
    for (QString argument : arguments) {
        argument.remove(u'"');
        const bool blank =
            std::any_of(argument.cbegin(), argument.cend(), [](QChar c) { return c <= u' '; });
        parts.append(argument.isEmpty() || blank ? u'"' + argument + u'"' : argument);
    }
    return parts.join(u' ');
}

void InitCommandLine(const QStringList& arguments) {
#ifdef Q_OS_WIN
    Q_UNUSED(arguments);
    ProgramCommandLine() = QString::fromWCharArray(GetCommandLineW());
#else
    ProgramCommandLine() = CommandLineFromArguments(arguments);
#endif
    ProgramArguments() = SplitCommandLine(ProgramCommandLine());
}

QString CmdLine() {
    return ProgramCommandLine();
}

int ParamCount() {
    const auto size = static_cast<int>(ProgramArguments().size());
    return size > 0 ? size - 1 : 0;
}

QString ParamStr(int index) {
    const QStringList& arguments = ProgramArguments();
    if (index < 0 || index >= arguments.size())
        return {};
    return arguments.at(index);
}
