#pragma once
// Private to the driver: the status vector of one call into the client
// library, and the text of its errors.

#include "data/driver/driver_error.h"

#include <firebird/Interface.h>

namespace Driver {

// A status vector for one call; raises Error with the server's text.
class FbStatus {
public:
    explicit FbStatus(Firebird::IMaster* master)
        : status_(master->getStatus()), wrapper_(status_) {}
    ~FbStatus() { status_->dispose(); }
    FbStatus(const FbStatus&) = delete;
    FbStatus& operator=(const FbStatus&) = delete;

    Firebird::CheckStatusWrapper* operator&() { return &wrapper_; }
    bool Failed() const { return (wrapper_.getState() & Firebird::IStatus::STATE_ERRORS) != 0; }
    // The error lines, each without its leading '-', joined with CR LF.
    QString Text(Firebird::IUtil* util) const;
    [[noreturn]] void Raise(Status code, Firebird::IUtil* util) const;
    void Check(Status code, Firebird::IUtil* util) const {
        if (Failed())
            Raise(code, util);
    }
    void Reset() { wrapper_.init(); }

private:
    Firebird::IStatus* status_;
    Firebird::CheckStatusWrapper wrapper_;
};

// Releases a reference-counted interface of the client library (metadata,
// builders) when it goes out of scope.
template <typename T> class FbRef {
public:
    explicit FbRef(T* p = nullptr) : p_(p) {}
    ~FbRef() { reset(); }
    FbRef(const FbRef&) = delete;
    FbRef& operator=(const FbRef&) = delete;
    FbRef(FbRef&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    FbRef& operator=(FbRef&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = other.p_;
            other.p_ = nullptr;
        }
        return *this;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset(T* p = nullptr) {
        if (p_)
            p_->release();
        p_ = p;
    }

private:
    T* p_;
};

} // namespace Driver
