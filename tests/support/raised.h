#pragma once
// The exception that a piece of code raises, for tests that look at its
// message or its details:
//
//   EXPECT_EQ(Raised<EDatabaseError>([&] { params.ParamByName(u"x"); }).Message(), "...");
//
// When it raises none, the test fails with "no <type> raised"; an exception
// of another type goes on and fails the test with its own text. CheckRaised
// hands the exception itself, not a copy, to a check (for its dynamic type).

#include <optional>
#include <stdexcept>
#include <string>
#include <typeinfo>

template <typename E, typename F, typename Check> void CheckRaised(F f, Check check) {
    try {
        f();
    } catch (const E& e) {
        check(e);
        return;
    }
    throw std::logic_error(std::string("no ") + typeid(E).name() + " raised");
}

template <typename E, typename F> E Raised(F f) {
    std::optional<E> raised;
    CheckRaised<E>(f, [&](const E& e) { raised.emplace(e); });
    return *raised;
}
