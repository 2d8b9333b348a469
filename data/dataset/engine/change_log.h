#pragma once
// The change log of a client's rows: one entry per changed record with the
// kind of change and the record's row as it was read, in the order the
// records were first changed.

#include "data/dataset/engine/update_kind.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class TChangeLog {
public:
    struct Entry {
        uint32_t record;
        TUpdateKind kind;
        const uint8_t* original; // null for an insert
    };

    int Count() const { return static_cast<int>(entries_.size()); }
    const std::vector<Entry>& Entries() const { return entries_; }
    const Entry* Find(uint32_t record) const;

    void RecordInsert(uint32_t record);
    // An edit of a read record keeps its first original; an inserted record stays an insert.
    void RecordModify(uint32_t record, const uint8_t* original);
    // Returns false when the record was inserted and its entry simply went away.
    bool RecordDelete(uint32_t record, const uint8_t* current);
    // Removes the entries whose position `keep` marks false.
    void Retain(const std::vector<bool>& keep);
    void Clear();

private:
    void Reindex();
    std::vector<Entry> entries_;
    std::unordered_map<uint32_t, uint32_t> byRecord_;
};
