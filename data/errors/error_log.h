#pragma once
// The error log ERRORES.TXT: one comma-separated line per reported error,
// appended in the Windows ANSI code page. Writing it never fails loudly.

#include "platform/system/datetime.h"

#include <QString>

// The log line: date in the short date format, time in the long time
// format, the user, the raw message, then carriage return and line feed.
QString ErrorLogLine(TDateTime when, const QString& user, const QString& message);

// Appends one entry to the log in `folder` (a Windows path, mapped to a local
// one; "" means the root of drive C). The file is created when it cannot be
// opened for reading. Any failure loses the entry without notice.
void AppendErrorLog(const QString& folder, const QString& user, const QString& message);
