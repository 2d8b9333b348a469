#pragma once
// A local index of a client's rows: a name, up to 16 key fields with their
// sort direction, and the records in key order. Texts compare by their
// 8-bit bytes, case-sensitively; nulls come first (last in a descending
// field); equal keys keep the order of arrival.

#include "data/dataset/engine/row_store.h"

#include <QString>
#include <QStringList>
#include <vector>

inline constexpr int MaxIndexNameLength = 31;
inline constexpr int MaxIndexFields = 16;

struct TIndexField {
    int column;
    bool descending;
};

class TLocalIndex {
public:
    // Parses the ";"-separated lists against the columns. Raises Exception
    // for a name over 31 characters or empty, a field list without fields, a
    // field not found or not indexable, and "Cannot access index field '%s'"
    // for a descending field that is not among the (first 16) index fields.
    TLocalIndex(const QString& name, const QString& fields, const QString& descFields,
                const std::vector<TPacketColumn>& columns);

    const QString& Name() const { return name_; }
    const QStringList& FieldNames() const { return fieldNames_; }
    const std::vector<TIndexField>& Fields() const { return fields_; }

    // The order is kept only while it is built; any change of rows it does not
    // follow makes it stale.
    bool IsBuilt() const { return built_; }
    void Invalidate();
    void Build(const TRowStore& store);
    const std::vector<TBookmark>& Order() const { return order_; }

    // Keeps a built order in step with single records.
    void Add(const TRowStore& store, TBookmark record);
    void Remove(TBookmark record);

    // The sort key of a record (memcmp order).
    void Key(const TRowStore& store, TBookmark record, std::vector<uint8_t>& out) const;

    // The 0-based place in the built order of the first record whose first
    // index fields hold `values` (converted as their columns hold them), -1
    // when no record does. With `partialText` the last value, when its field
    // holds text, matches every text that begins with it. Raises Exception
    // for more values than fields, EConvertError for a value its column
    // cannot hold.
    int Seek(const TRowStore& store, const std::vector<TValue>& values, bool partialText) const;

private:
    QString name_;
    QStringList fieldNames_;
    std::vector<TIndexField> fields_;
    std::vector<TBookmark> order_;
    bool built_ = false;
};
