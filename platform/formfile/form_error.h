#pragma once
// A form description that cannot be read: the message names file and line.

#include "platform/core/exception.h"

class EFormError : public Exception {
public:
    EFormError(const QString& file, int line, const QString& what)
        : Exception(QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(what)), file_(file),
          line_(line) {}
    const QString& File() const { return file_; }
    int Line() const { return line_; }

private:
    QString file_;
    int line_;
};

// Raised by property setters for a value they cannot take; the reader adds file and line.
class EPropertyValue : public Exception {
public:
    using Exception::Exception;
};
