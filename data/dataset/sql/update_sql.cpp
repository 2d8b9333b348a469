#include "data/dataset/sql/update_sql.h"

#include "platform/core/exception.h"

namespace {

// Values this size or larger are never compared in a where clause.
constexpr qsizetype kMaxWhereBytes = 8192;

bool IsStructuredType(TFieldType type) {
    return type == ftADT || type == ftArray || type == ftReference || type == ftDataSet;
}

// The table column a field came from: its origin ("ARTICULOS.ARTI_COD", the
// table and the column) when the packet recorded one, else its name.
QString ColumnName(const TPacketColumn& column) {
    if (column.origin.isEmpty())
        return column.name;
    return column.origin.mid(column.origin.lastIndexOf(u'.') + 1);
}

bool TakesPartInUpdate(const TPacketColumn& column) {
    return (column.provFlags & pfInUpdate) && !(column.provFlags & pfHidden) && !column.readOnly &&
           column.type != ftAutoInc && !IsStructuredType(column.type);
}

qsizetype ValueBytes(const TValue& value) {
    if (const QByteArray* bytes = value.BytesPtr())
        return bytes->size();
    if (const QString* text = value.StringPtr())
        return text->size();
    return 0;
}

bool TakesPartInWhere(const TPacketColumn& column, const TValue& oldValue) {
    return (column.provFlags & pfInWhere) && !IsBlobType(column.type) &&
           !IsStructuredType(column.type) && ValueBytes(oldValue) < kMaxWhereBytes;
}

void AppendWhere(QStringList& lines, std::vector<TUpdateParam>& params, const TDelta& delta,
                 const TDeltaChange& change, QChar quote) {
    QStringList conditions;
    for (size_t i = 0; i < delta.columns.size(); ++i) {
        const TPacketColumn& column = delta.columns[i];
        const TValue& old = change.oldValues[i];
        if (!TakesPartInWhere(column, old))
            continue;
        const QString c = QuoteColumnName(ColumnName(column), quote);
        if (old.IsNull()) {
            conditions << u' ' + c + QStringLiteral(" is null and");
        } else {
            conditions << u' ' + c + QStringLiteral(" = ? and");
            params.push_back({old, column.type});
        }
    }
    if (conditions.isEmpty())
        throw Exception(QStringLiteral("Unable to find record.  No key specified"));
    conditions.last().chop(4); // " and"
    lines << QStringLiteral("where") << conditions;
}

} // namespace

QString TableNameFromStatement(const QString& statement) {
    static const QString from = QStringLiteral("from");
    for (qsizetype at = statement.indexOf(from, 0, Qt::CaseInsensitive); at >= 0;
         at = statement.indexOf(from, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + from.size();
        const bool wordStart = at == 0 || !statement[at - 1].isLetterOrNumber();
        const bool wordEnd = end < statement.size() && statement[end].isSpace();
        if (!wordStart || !wordEnd)
            continue;
        qsizetype i = end;
        while (i < statement.size() && statement[i].isSpace())
            ++i;
        QString name;
        QChar open;
        for (; i < statement.size(); ++i) {
            const QChar c = statement[i];
            if (!open.isNull()) {
                name += c;
                if (c == open)
                    open = QChar();
            } else if (c == u'"' || c == u'\'' || c == u'`') {
                name += c;
                open = c;
            } else if (c.isSpace() || c == u',' || c == u';' || c == u'(' || c == u')') {
                break;
            } else {
                name += c;
            }
        }
        return name;
    }
    return {};
}

QString QuoteTableName(const QString& table, QChar quote) {
    auto isQuote = [](QChar c) { return c == u'"' || c == u'\'' || c == u'`'; };
    if (table.isEmpty() || isQuote(table.front()) || isQuote(table.back()))
        return table;
    QString quoted = table;
    quoted.replace(u'.', QString(quote) + u'.' + quote);
    return quote + quoted + quote;
}

QString QuoteColumnName(const QString& column, QChar quote) {
    return quote + column + quote;
}

std::optional<TUpdateStatement> GenerateUpdateStatement(const TDelta& delta,
                                                        const TDeltaChange& change,
                                                        const QString& quotedTable, QChar quote) {
    TUpdateStatement statement;
    QStringList lines;
    switch (change.kind) {
    case ukInsert: {
        QStringList columns;
        for (size_t i = 0; i < delta.columns.size(); ++i) {
            const TPacketColumn& column = delta.columns[i];
            if (!TakesPartInUpdate(column))
                continue;
            columns << QuoteColumnName(ColumnName(column), quote);
            statement.params.push_back({change.newValues[i], column.type});
        }
        const QStringList markers(columns.size(), QStringLiteral("?"));
        lines << QStringLiteral("insert into ") + quotedTable
              << QStringLiteral("  (") + columns.join(QStringLiteral(", ")) + u')'
              << QStringLiteral("values")
              << QStringLiteral("  (") + markers.join(QStringLiteral(", ")) + u')';
        break;
    }
    case ukModify: {
        QStringList sets;
        for (size_t i = 0; i < delta.columns.size(); ++i) {
            const TPacketColumn& column = delta.columns[i];
            if (!change.changed[i] || !TakesPartInUpdate(column))
                continue;
            sets << u' ' + QuoteColumnName(ColumnName(column), quote) + QStringLiteral(" = ?,");
            statement.params.push_back({change.newValues[i], column.type});
        }
        if (sets.isEmpty())
            return std::nullopt;
        sets.last().chop(1);
        lines << QStringLiteral("update ") + quotedTable + QStringLiteral("  set") << sets;
        AppendWhere(lines, statement.params, delta, change, quote);
        break;
    }
    case ukDelete:
        lines << QStringLiteral("delete from ") + quotedTable + u' ';
        AppendWhere(lines, statement.params, delta, change, quote);
        break;
    }
    statement.sql = lines.join(QStringLiteral("\r\n"));
    return statement;
}
