#pragma once
// Errors travel as exceptions that carry a message text, as the program's
// handlers and its error log expect.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)) {}
    const QString& Message() const { return message_; }
    void SetMessage(const QString& message);
    const char* what() const noexcept override;

private:
    QString message_;
    mutable std::string utf8_;
};

// The silent abort: ends an operation without any message reaching the user.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

// Raises the silent abort exception.
[[noreturn]] void Abort();
