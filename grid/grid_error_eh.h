#pragma once
// EInvalidGridOperation: the error a grid raises when it is asked for
// something it cannot do (a column by a field name it does not have).

#include "platform/core/exception.h"

class EInvalidGridOperation : public Exception {
public:
    using Exception::Exception;
};
