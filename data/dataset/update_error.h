#pragma once
// The errors of applying a change log: EUpdateError for a change that the
// database refused while the provider wrote it, EReconcileError for the same
// change as the client dataset reconciles it.

#include "data/dataset/db_error.h"

class EUpdateError : public EDatabaseError {
public:
    EUpdateError(QString message, QString context = {}, int errorCode = 0, int previousError = 0)
        : EDatabaseError(std::move(message), static_cast<quint16>(errorCode)),
          context_(std::move(context)), errorCode_(errorCode), previousError_(previousError) {}
    const QString& Context() const { return context_; }
    int UpdateErrorCode() const { return errorCode_; }
    int PreviousError() const { return previousError_; }

private:
    QString context_;
    int errorCode_;
    int previousError_;
};

class EReconcileError : public EUpdateError {
public:
    using EUpdateError::EUpdateError;
};

// Errors of the in-memory rows (moves, edits, indexes), raised as the client
// dataset's database error with the engine's text.
class EDBClient : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};
