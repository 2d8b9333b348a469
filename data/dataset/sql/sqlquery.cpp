#include "data/dataset/sql/sqlquery.h"

#include "data/dataset/db_error.h"
#include "data/dataset/sql/sql_error.h"
#include "data/dataset/sql/sql_resolver.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/driver/connection.h"
#include "data/driver/cursor.h"
#include "data/driver/driver_error.h"
#include "data/driver/statement.h"

namespace {

TFieldType FieldTypeOf(const Driver::ColumnDesc& c) {
    using Driver::DataType;
    const bool octets = c.charSet == 1;
    switch (c.type) {
    case DataType::Varchar:
        return octets ? ftVarBytes : ftString;
    case DataType::Char:
        return octets ? ftBytes : ftFixedChar;
    case DataType::SmallInt:
        return ftSmallint;
    case DataType::Integer:
        return ftInteger;
    case DataType::BigInt:
        return ftLargeint;
    case DataType::Decimal:
        return ftFMTBcd;
    case DataType::Float:
    case DataType::Double:
        return ftFloat;
    case DataType::Date:
        return ftDate;
    case DataType::Time:
        return ftTime;
    case DataType::Timestamp:
        return ftTimeStamp;
    case DataType::Blob:
        return c.subType == 1 ? ftMemo : ftBlob;
    case DataType::Boolean:
        return ftBoolean;
    case DataType::Unknown:
        break;
    }
    return ftUnknown;
}

TSQLColumn ColumnOf(const Driver::ColumnDesc& c) {
    TSQLColumn col;
    col.Name = c.name;
    col.DataType = FieldTypeOf(c);
    col.Precision = c.precision;
    col.Scale = c.scale;
    col.SubType = c.type == Driver::DataType::Blob ? c.subType : 0;
    col.Required = !c.nullable;
    if (!c.relation.isEmpty() && !c.origin.isEmpty())
        col.Origin = c.relation + QLatin1Char('.') + c.origin;
    if (IsStringType(col.DataType) || col.DataType == ftBytes || col.DataType == ftVarBytes)
        col.Size = c.length;
    else if (col.DataType == ftFMTBcd)
        col.Size = c.scale;
    return col;
}

TPacketColumn PacketColumn(const TSQLColumn& c) {
    TPacketColumn col;
    col.name = c.Name;
    col.type = c.DataType;
    if (c.DataType == ftFMTBcd || c.DataType == ftBCD) {
        col.scale = c.Scale;
        col.precision = c.Precision;
    } else if (IsStringType(c.DataType) || c.DataType == ftBytes || c.DataType == ftVarBytes) {
        col.size = c.Size;
    }
    col.required = c.Required;
    col.origin = c.Origin;
    return col;
}

} // namespace

TSQLQuery::TSQLQuery(TComponent* owner) : TComponent(owner) {}

TSQLQuery::~TSQLQuery() {
    DoClose();
    if (connection_) {
        connection_->UnregisterQuery(this);
        connection_ = nullptr;
    }
}

void TSQLQuery::SetSQLConnection(TSQLConnection* connection) {
    if (connection == connection_)
        return;
    Close();
    if (connection_) {
        connection_->UnregisterQuery(this);
        // The free notification is mutual: drop it on both sides.
        RemoveFreeNotification(connection_);
        connection_->RemoveFreeNotification(this);
    }
    connection_ = connection;
    if (connection_) {
        connection_->RegisterQuery(this);
        FreeNotification(connection_);
    }
}

void TSQLQuery::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == connection_) {
        DoClose();
        connection_ = nullptr;
    }
}

void TSQLQuery::SetSQL(const QStringList& lines) {
    Close();
    sql_ = lines;
    if (!paramCheck_)
        return;
    TParams rebuilt;
    rebuilt.ParseSQL(SQLText(), true);
    rebuilt.AssignValues(params_);
    params_ = std::move(rebuilt);
}

void TSQLQuery::SetSQLText(const QString& text) {
    SetSQL(text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
}

int TSQLQuery::FieldIndex(QStringView name) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

const TValue& TSQLQuery::Value(int index) const {
    if (!active_)
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (index < 0 || index >= FieldCount())
        DatabaseError(QStringLiteral("Field index out of range"));
    static const TValue kNull;
    return row_.empty() ? kNull : row_[static_cast<size_t>(index)];
}

void TSQLQuery::SetActive(bool value) {
    if (value == active_)
        return;
    if (value)
        DoOpen();
    else
        DoClose();
}

TSQLConnection& TSQLQuery::CheckConnection() {
    if (!connection_)
        DatabaseError(QStringLiteral("SQLConnection property required for this operation"));
    if (SQLText().trimmed().isEmpty())
        DatabaseError(QStringLiteral("No SQL statement available"));
    // On demand, with the parameters the connection holds now.
    connection_->Open();
    return *connection_;
}

std::unique_ptr<Driver::Statement> TSQLQuery::PrepareBound(const QString& text,
                                                           const QStringList& names) {
    std::unique_ptr<Driver::Statement> stmt = connection_->DriverConnection().Prepare(text);
    const int count = qMin(static_cast<int>(names.size()), stmt->ParamCount());
    for (int i = 0; i < count; ++i)
        BindParam(*stmt, i, params_.ParamByName(names[i]));
    return stmt;
}

void TSQLQuery::DoOpen() {
    TSQLConnection& conn = CheckConnection();
    TParsedSql parsed = paramCheck_ ? TParams::Parse(SQLText()) : TParsedSql{SQLText(), {}};
    try {
        conn.Executing(lastError_, [&] {
            statement_ = PrepareBound(parsed.text, parsed.names);
            cursor_ = statement_->Execute();
            if (!cursor_) {
                rowsAffected_ = static_cast<int>(qMax<qint64>(statement_->RowsAffected(), 0));
                statement_.reset();
                DatabaseError(QStringLiteral("Cursor not returned from Query"));
            }
            columns_.clear();
            for (const Driver::ColumnDesc& c : cursor_->Columns())
                columns_.push_back(ColumnOf(c));
            rowsRead_ = 0;
            active_ = true;
            eof_ = false;
            ReadRow();
        });
    } catch (...) {
        DoClose();
        throw;
    }
}

void TSQLQuery::ReadRow() {
    row_.clear();
    if (!cursor_->Next()) {
        eof_ = true;
        return;
    }
    ++rowsRead_;
    const Driver::Cursor& c = *cursor_;
    row_.reserve(columns_.size());
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
        if (c.IsNull(i)) {
            row_.emplace_back();
            continue;
        }
        const Driver::ColumnDesc& d = c.Column(i);
        switch (d.type) {
        case Driver::DataType::Varchar:
        case Driver::DataType::Char:
            row_.emplace_back(d.charSet == 1 ? TValue(c.AsBytes(i)) : TValue(c.AsString(i)));
            break;
        case Driver::DataType::SmallInt:
        case Driver::DataType::Integer:
        case Driver::DataType::BigInt:
            row_.emplace_back(c.AsInteger(i));
            break;
        case Driver::DataType::Decimal:
            row_.emplace_back(TBcd{c.AsInteger(i), d.scale});
            break;
        case Driver::DataType::Float:
        case Driver::DataType::Double:
            row_.emplace_back(c.AsDouble(i));
            break;
        case Driver::DataType::Date:
            row_.emplace_back(TDateTime::FromQDate(c.AsDate(i)));
            break;
        case Driver::DataType::Time:
            row_.emplace_back(TDateTime::FromQTime(c.AsTime(i)));
            break;
        case Driver::DataType::Timestamp:
            row_.emplace_back(ComposeDateTime(TDateTime::FromQDate(c.AsDate(i)),
                                              TDateTime::FromQTime(c.AsTime(i))));
            break;
        case Driver::DataType::Boolean:
            row_.emplace_back(c.AsBoolean(i));
            break;
        case Driver::DataType::Blob: {
            // A binary blob that the connection lets wait is read when its
            // field is (the repeated work of an upload looks its rows up
            // and mostly never reads their photographs' addresses).
            if (d.subType != 1 && maxBlobSize_ < 0) {
                if (std::optional<Driver::DeferredBlob> later = c.Deferred(i)) {
                    row_.emplace_back(TDeferredBytes([blob = *later] {
                        try {
                            return blob.Read();
                        } catch (const Driver::Error& e) {
                            QString previous;
                            RaiseDriverError(e, previous);
                        }
                    }));
                    break;
                }
            }
            QByteArray bytes = c.AsBytes(i);
            if (maxBlobSize_ >= 0 && bytes.size() > qsizetype(maxBlobSize_) * 1024)
                bytes.truncate(qsizetype(maxBlobSize_) * 1024);
            // A text blob comes as text; a partial multi-byte tail is the
            // price of a size limit.
            if (d.subType == 1)
                row_.emplace_back(d.charSet == 3 || d.charSet == 4 ? QString::fromUtf8(bytes)
                                                                   : TValue(bytes).AsString());
            else
                row_.emplace_back(bytes);
            break;
        }
        case Driver::DataType::Unknown:
            row_.emplace_back();
            break;
        }
    }
}

void TSQLQuery::Next() {
    if (!active_)
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (eof_)
        return;
    try {
        connection_->Executing(lastError_, [&] { ReadRow(); });
    } catch (...) {
        DoClose();
        throw;
    }
}

void TSQLQuery::DoClose() {
    const bool wasActive = active_;
    cursor_.reset(); // ends the statement's own transaction
    statement_.reset();
    active_ = false;
    eof_ = true;
    row_.clear();
    rowsRead_ = 0;
    if (wasActive && connection_)
        connection_->QueryClosed();
}

int TSQLQuery::ExecSQL() {
    TSQLConnection& conn = CheckConnection();
    TParsedSql parsed = paramCheck_ ? TParams::Parse(SQLText()) : TParsedSql{SQLText(), {}};
    rowsAffected_ = conn.Executing(lastError_, [&] {
        std::unique_ptr<Driver::Statement> stmt = PrepareBound(parsed.text, parsed.names);
        std::unique_ptr<Driver::Cursor> cursor = stmt->Execute();
        cursor.reset();
        return static_cast<int>(qMax<qint64>(stmt->RowsAffected(), 0));
    });
    return rowsAffected_;
}

std::vector<TPacketColumn> TSQLQuery::PacketColumns() const {
    std::vector<TPacketColumn> columns;
    columns.reserve(columns_.size());
    for (const TSQLColumn& c : columns_)
        columns.push_back(PacketColumn(c));
    return columns;
}

quint32 TSQLQuery::PacketLcid() const {
    return connection_ ? static_cast<quint32>(connection_->LocaleCode()) : 0;
}

TApplyReply TSQLQuery::ResolveChanges(TDataSetProvider& provider, const TDelta& delta,
                                      int maxErrors) {
    return ResolveWithSql(provider, *this, delta, maxErrors);
}

void TSQLQuery::Loaded() {
    TComponent::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        Open();
    }
}
