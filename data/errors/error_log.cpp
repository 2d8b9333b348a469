#include "data/errors/error_log.h"

#include "platform/system/ansi.h"
#include "platform/system/format_settings.h"
#include "platform/system/paths.h"

#include <QFile>

QString ErrorLogLine(TDateTime when, const QString& user, const QString& message) {
    const TFormatSettings& settings = FormatSettings();
    return FormatDateTime(settings.ShortDateFormat, when, settings) + u',' +
           FormatDateTime(settings.LongTimeFormat, when, settings) + u',' + user + u',' + message +
           QStringLiteral("\r\n");
}

void AppendErrorLog(const QString& folder, const QString& user, const QString& message) {
    try {
        const QString path = LocalPath(folder + QStringLiteral("\\ERRORES.TXT"));
        QFile probe(path);
        const bool readable = probe.open(QIODevice::ReadOnly);
        probe.close();
        QFile log(path);
        const auto mode = readable ? QIODevice::WriteOnly | QIODevice::Append
                                   : QIODevice::WriteOnly | QIODevice::Truncate;
        if (!log.open(mode))
            return;
        log.write(ToAnsi(ErrorLogLine(Now(), user, message)));
        log.close();
    } catch (...) {
        // The log is best effort: the error box that follows must still come.
    }
}
