#pragma once
// The SQL that writes one change of a delta: an insert, an update or a
// delete with positional parameters, built from the delta's field
// descriptions as the provider resolves a client's change log.

#include "data/dataset/engine/delta.h"

#include <QChar>
#include <QString>
#include <optional>
#include <vector>

struct TUpdateParam {
    TValue value;
    TFieldType type = ftUnknown; // blobs are bound as blobs
};

struct TUpdateStatement {
    QString sql; // lines joined with carriage return and line feed
    std::vector<TUpdateParam> params;
};

// The table named after "from" in a statement; empty when there is none.
QString TableNameFromStatement(const QString& statement);
// The table name between quote characters, around each dot of a dotted
// name, unless it already begins or ends with a quote of its own.
QString QuoteTableName(const QString& table, QChar quote);
// A column name between quote characters.
QString QuoteColumnName(const QString& column, QChar quote);

// One statement for a change; none for an edit that changed no field.
// Raises "Unable to find record.  No key specified" when an edit or delete
// has no field to find its row by.
std::optional<TUpdateStatement> GenerateUpdateStatement(const TDelta& delta,
                                                        const TDeltaChange& change,
                                                        const QString& quotedTable, QChar quote);
