#include "data/dataset/engine/local_index.h"

#include "data/dataset/engine/sort_key.h"
#include "platform/core/exception.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace {

QStringList SplitFields(const QString& list) {
    QStringList names;
    for (const QString& part : list.split(QLatin1Char(';'))) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            names.push_back(name);
    }
    return names;
}

int FindColumn(const std::vector<TPacketColumn>& columns, const QString& name) {
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

struct TKeyRef {
    uint32_t offset;
    uint32_t size;
    TBookmark record;
};

bool KeyLess(const uint8_t* keys, const TKeyRef& a, const TKeyRef& b) {
    const int c = std::memcmp(keys + a.offset, keys + b.offset, std::min(a.size, b.size));
    return c != 0 ? c < 0 : a.size < b.size;
}

constexpr uint32_t kShortKey = 8;

// Keys of at most 8 bytes (integers, booleans, dates of one field) sort as
// numbers: each key's bytes, zero-padded, read big-endian. The encoding is
// prefix-free, so padded keys order as memcmp orders the keys. A radix sort
// from the lowest byte up keeps equal keys in the order of `refs` (arrival)
// and skips the bytes that every key shares.
std::vector<TBookmark> SortShortKeys(const uint8_t* keys, const std::vector<TKeyRef>& refs) {
    struct THeadRef {
        uint64_t head;
        TBookmark record;
    };
    const size_t n = refs.size();
    std::vector<THeadRef> from(n);
    std::vector<THeadRef> to(n);
    std::vector<std::array<uint32_t, 256>> counts(kShortKey);
    for (size_t i = 0; i < n; ++i) {
        uint64_t head = 0;
        for (uint32_t b = 0; b < kShortKey; ++b)
            head = (head << 8) | (b < refs[i].size ? keys[refs[i].offset + b] : 0);
        from[i] = THeadRef{head, refs[i].record};
        for (uint32_t byte = 0; byte < kShortKey; ++byte)
            ++counts[byte][(head >> (8 * byte)) & 0xFF];
    }
    for (uint32_t byte = 0; byte < kShortKey && n > 0; ++byte) {
        std::array<uint32_t, 256>& count = counts[byte];
        if (count[(from[0].head >> (8 * byte)) & 0xFF] == n)
            continue;
        uint32_t place = 0;
        for (uint32_t& c : count)
            place += std::exchange(c, place);
        for (const THeadRef& r : from)
            to[count[(r.head >> (8 * byte)) & 0xFF]++] = r;
        from.swap(to);
    }
    std::vector<TBookmark> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = from[i].record;
    return order;
}

} // namespace

TLocalIndex::TLocalIndex(const QString& name, const QString& fields, const QString& descFields,
                         const std::vector<TPacketColumn>& columns)
    : name_(name) {
    if (name.isEmpty())
        throw Exception(QStringLiteral("Index name missing"));
    if (name.size() > MaxIndexNameLength)
        throw Exception(QStringLiteral("Index name '%1' is longer than %2 characters")
                            .arg(name)
                            .arg(MaxIndexNameLength));
    QStringList names = SplitFields(fields);
    if (names.size() > MaxIndexFields)
        names.resize(MaxIndexFields);
    if (names.isEmpty())
        throw Exception(QStringLiteral("Index '%1' has no fields").arg(name));
    for (const QString& field : names) {
        const int col = FindColumn(columns, field);
        if (col < 0)
            throw Exception(QStringLiteral("Field '%1' not found").arg(field));
        if (IsBlobType(columns[col].type))
            throw Exception(QStringLiteral("Cannot index field '%1' of type %2")
                                .arg(columns[col].name, FieldTypeName(columns[col].type)));
        fields_.push_back(TIndexField{col, false});
        fieldNames_.push_back(columns[col].name);
    }
    for (const QString& field : SplitFields(descFields)) {
        const int col = FindColumn(columns, field);
        auto it = std::find_if(fields_.begin(), fields_.end(),
                               [col](const TIndexField& f) { return f.column == col; });
        if (col < 0 || it == fields_.end())
            throw Exception(QStringLiteral("Cannot access index field '%1'").arg(field));
        it->descending = true;
    }
}

void TLocalIndex::Invalidate() {
    built_ = false;
    order_.clear();
    order_.shrink_to_fit();
}

void TLocalIndex::Key(const TRowStore& store, TBookmark record, std::vector<uint8_t>& out) const {
    const uint8_t* row = store.Row(record);
    for (const TIndexField& field : fields_)
        AppendSortKey(store.Layout(), row, field.column, field.descending, out);
}

void TLocalIndex::Build(const TRowStore& store) {
    const std::vector<TBookmark>& records = store.DefaultOrder();
    // One contiguous buffer of memcmp-ordered keys, then a stable sort of
    // references to them: the order of arrival breaks ties.
    std::vector<uint8_t> keys;
    std::vector<TKeyRef> refs;
    refs.reserve(records.size());
    for (TBookmark record : records) {
        const auto offset = static_cast<uint32_t>(keys.size());
        Key(store, record, keys);
        refs.push_back(TKeyRef{offset, static_cast<uint32_t>(keys.size()) - offset, record});
    }
    const uint8_t* base = keys.data();
    const bool shortKeys =
        std::all_of(refs.begin(), refs.end(), [](const TKeyRef& r) { return r.size <= kShortKey; });
    if (shortKeys) {
        order_ = SortShortKeys(base, refs);
    } else {
        std::stable_sort(refs.begin(), refs.end(), [base](const TKeyRef& a, const TKeyRef& b) {
            return KeyLess(base, a, b);
        });
        order_.resize(refs.size());
        for (size_t i = 0; i < refs.size(); ++i)
            order_[i] = refs[i].record;
    }
    built_ = true;
}

void TLocalIndex::Add(const TRowStore& store, TBookmark record) {
    if (!built_)
        return;
    std::vector<uint8_t> key;
    std::vector<uint8_t> other;
    Key(store, record, key);
    const uint64_t arrival = store.ArrivalKey(record);
    // First position whose record sorts after the new one: a greater key, or
    // an equal key that arrived later.
    const auto at = std::partition_point(order_.begin(), order_.end(), [&](TBookmark probe) {
        other.clear();
        Key(store, probe, other);
        const int c = std::memcmp(other.data(), key.data(), std::min(other.size(), key.size()));
        if (c != 0)
            return c < 0;
        if (other.size() != key.size())
            return other.size() < key.size();
        return store.ArrivalKey(probe) < arrival ||
               (store.ArrivalKey(probe) == arrival && probe < record);
    });
    order_.insert(at, record);
}

void TLocalIndex::Remove(TBookmark record) {
    if (!built_)
        return;
    const auto it = std::find(order_.begin(), order_.end(), record);
    if (it != order_.end())
        order_.erase(it);
}

int TLocalIndex::Seek(const TRowStore& store, const std::vector<TValue>& values,
                      bool partialText) const {
    if (values.size() > fields_.size())
        throw Exception(QStringLiteral("Index '%1' has %2 fields, %3 values given")
                            .arg(name_)
                            .arg(fields_.size())
                            .arg(values.size()));
    if (values.empty())
        return order_.empty() ? -1 : 0;
    // The values written as a row of the store's layout give the key prefix
    // exactly as the records' own keys are made.
    const TRowLayout& layout = store.Layout();
    TRowWriter writer(layout);
    for (size_t i = 0; i < values.size(); ++i)
        writer.SetValue(fields_[i].column, values[i]);
    TBlobTable blobs;
    const std::span<const uint8_t> row = writer.Compose(blobs);
    std::vector<uint8_t> prefix;
    for (size_t i = 0; i < values.size(); ++i)
        AppendSortKey(layout, row.data(), fields_[i].column, fields_[i].descending, prefix,
                      partialText && i + 1 == values.size() && !values[i].IsNull());

    // Records that begin with the prefix stand together: the first of them
    // is the first record whose key is not below the prefix.
    std::vector<uint8_t> key;
    auto below = [&](TBookmark record) {
        key.clear();
        Key(store, record, key);
        const int c = std::memcmp(key.data(), prefix.data(), std::min(key.size(), prefix.size()));
        return c != 0 ? c < 0 : key.size() < prefix.size();
    };
    const auto at = std::partition_point(order_.begin(), order_.end(), below);
    if (at == order_.end())
        return -1;
    key.clear();
    Key(store, *at, key);
    if (key.size() < prefix.size() || std::memcmp(key.data(), prefix.data(), prefix.size()) != 0)
        return -1;
    return static_cast<int>(at - order_.begin());
}
