#pragma once
// The error raised when a value cannot be converted: a date that does not
// exist, a time out of range, a format the formatter does not know.

#include "platform/core/exception.h"

class EConvertError : public Exception {
public:
    using Exception::Exception;
};
