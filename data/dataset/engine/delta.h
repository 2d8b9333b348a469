#pragma once
// The change log as the provider reads it (the delta) and the provider's
// answer for the changes that failed (the error packet).

#include "data/dataset/engine/column.h"
#include "data/dataset/engine/update_kind.h"
#include "data/dataset/values/value.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// A record's identity in a client's rows, stable across orders and appends.
using TBookmark = uint32_t;
inline constexpr TBookmark NoBookmark = UINT32_MAX;

// One change: for an insert the old values are all null and every field
// counts as changed; for a delete the new values are the old ones and no
// field counts as changed; for an edit a field counts as changed only when
// its new value differs from the value read, so a field set to the value it
// already had is not changed (and an edit that changed nothing has no field
// marked).
struct TDeltaChange {
    TUpdateKind kind = ukModify;
    TBookmark record = NoBookmark;
    std::vector<TValue> oldValues;
    std::vector<TValue> newValues;
    std::vector<bool> changed;
};

struct TDelta {
    std::vector<TPacketColumn> columns;
    std::vector<TDeltaChange> changes; // in the order the records were first changed
};

// A change the database refused: its position in the delta (0-based), the
// error, and what the provider proposes (raSkip when it skipped the change,
// raAbort when it ended the run there).
struct TUpdateError {
    int recordNo = 0;
    int errorCode = 0;
    QString message;
    TReconcileAction proposed = raSkip;
};

struct TErrorPacket {
    std::vector<TUpdateError> errors;
};

// What a reconcile handler is told about one failed change.
struct TReconcileInfo {
    TUpdateKind kind = ukModify;
    int errorCode = 0;
    QString message;
    TBookmark record = NoBookmark;
    std::vector<TValue> oldValues;
    std::vector<TValue> newValues;
    TReconcileAction proposed = raSkip;
};

using TReconcileCallback = std::function<TReconcileAction(const TReconcileInfo&)>;
