#include "data/dataset/engine/change_log.h"

const TChangeLog::Entry* TChangeLog::Find(uint32_t record) const {
    const auto it = byRecord_.find(record);
    return it == byRecord_.end() ? nullptr : &entries_[it->second];
}

void TChangeLog::RecordInsert(uint32_t record) {
    byRecord_[record] = static_cast<uint32_t>(entries_.size());
    entries_.push_back(Entry{record, ukInsert, nullptr});
}

void TChangeLog::RecordModify(uint32_t record, const uint8_t* original) {
    if (byRecord_.contains(record))
        return;
    byRecord_[record] = static_cast<uint32_t>(entries_.size());
    entries_.push_back(Entry{record, ukModify, original});
}

bool TChangeLog::RecordDelete(uint32_t record, const uint8_t* current) {
    const auto it = byRecord_.find(record);
    if (it == byRecord_.end()) {
        byRecord_[record] = static_cast<uint32_t>(entries_.size());
        entries_.push_back(Entry{record, ukDelete, current});
        return true;
    }
    Entry& entry = entries_[it->second];
    if (entry.kind == ukInsert) {
        // Nothing of an inserted record reached the database: forget it.
        std::vector<bool> keep(entries_.size(), true);
        keep[it->second] = false;
        Retain(keep);
        return false;
    }
    entry.kind = ukDelete; // an edited record is deleted with its values as read
    return true;
}

void TChangeLog::Retain(const std::vector<bool>& keep) {
    std::vector<Entry> kept;
    kept.reserve(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (keep[i])
            kept.push_back(entries_[i]);
    }
    entries_ = std::move(kept);
    Reindex();
}

void TChangeLog::Clear() {
    entries_.clear();
    byRecord_.clear();
}

void TChangeLog::Reindex() {
    byRecord_.clear();
    for (size_t i = 0; i < entries_.size(); ++i)
        byRecord_[entries_[i].record] = static_cast<uint32_t>(i);
}
