#pragma once
// The columns of ARTICULOS as a client dataset's delta describes them, and
// small builders of changes, for the change resolution tests.

#include "data/dataset/engine/delta.h"

#include <vector>

inline TPacketColumn Column(const char* name, TFieldType type, int size = 0) {
    return PacketColumn(QString::fromLatin1(name), type, size);
}

inline std::vector<TPacketColumn> ArticulosColumns() {
    return {Column("ARTI_COD", ftString, 20),     Column("ARTI_DES", ftString, 100),
            Column("ARTI_UNIDAD", ftString, 10),  Column("CATE_ID", ftSmallint),
            Column("SUCA_ID", ftSmallint),        Column("ARTI_FOTO", ftBlob),
            Column("ARTI_ACTIVO", ftFixedChar, 1)};
}

inline TDeltaChange Change(TUpdateKind kind, std::vector<TValue> oldValues,
                           std::vector<TValue> newValues, std::vector<bool> changed) {
    TDeltaChange c;
    c.kind = kind;
    c.oldValues = std::move(oldValues);
    c.newValues = std::move(newValues);
    c.changed = std::move(changed);
    return c;
}

inline TDeltaChange InsertOf(std::vector<TValue> values) {
    const size_t n = values.size();
    return Change(ukInsert, std::vector<TValue>(n), std::move(values), std::vector<bool>(n, true));
}

// An edit of one field of a row as it was read.
inline TDeltaChange EditOf(const std::vector<TValue>& read, int field, TValue value) {
    std::vector<TValue> edited = read;
    edited[static_cast<size_t>(field)] = std::move(value);
    std::vector<bool> changed(read.size(), false);
    changed[static_cast<size_t>(field)] = true;
    return Change(ukModify, read, std::move(edited), std::move(changed));
}
