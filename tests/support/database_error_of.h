#pragma once
// The message of the database error that a piece of code raises, for tests
// that compare error texts; the test fails when it raises none.

#include "data/dataset/db_error.h"
#include "tests/support/raised.h"

#include <QString>

template <typename F> QString DatabaseErrorOf(F f) {
    return Raised<EDatabaseError>(f).Message();
}
