#include "platform/core/exception.h"

void Exception::SetMessage(const QString& message) {
    message_ = message;
    utf8_.clear();
}

const char* Exception::what() const noexcept {
    if (utf8_.empty())
        utf8_ = message_.toStdString();
    return utf8_.c_str();
}

void Abort() {
    throw EAbort();
}
