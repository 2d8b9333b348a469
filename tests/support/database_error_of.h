#pragma once
// The message of the database error that a piece of code raises, for tests
// that compare error texts; a test failure when it raises none.

#include "data/dataset/db_error.h"

#include <QString>
#include <gtest/gtest.h>

template <typename F> QString DatabaseErrorOf(F f) {
    try {
        f();
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "no EDatabaseError raised";
    return QString();
}
