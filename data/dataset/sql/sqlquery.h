#pragma once
// TSQLQuery: a statement of the data module on one connection, read forward
// only. Its provider (built on it) opens it, reads the column descriptions
// and the rows, closes it, executes statements without result rows, and has
// it write change logs as generated SQL.

#include "data/dataset/client/provider_query.h"
#include "platform/core/component.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace Driver {
class Statement;
class Cursor;
} // namespace Driver

class TSQLConnection;

// One result column as the query describes it.
struct TSQLColumn {
    QString Name;
    TFieldType DataType = ftUnknown;
    // Strings: characters; ftBytes/ftVarBytes: bytes; ftBCD/ftFMTBcd: the
    // scale (as field definitions give it); others 0.
    int Size = 0;
    int Precision = 0; // ftFMTBcd: the digits of the storage (4, 9 or 18)
    int Scale = 0;
    int SubType = 0;       // blobs: 1 text, 0 binary
    bool Required = false; // the column is not nullable
    QString Origin;        // "TABLE.COLUMN" when it comes from a table, else empty
};

class TSQLQuery : public TComponent, public IProviderQuery {
public:
    explicit TSQLQuery(TComponent* owner = nullptr);
    ~TSQLQuery() override;
    QString ClassName() const override { return QStringLiteral("TSQLQuery"); }

    TSQLConnection* SQLConnection() const { return connection_; }
    // Closes the query first.
    void SetSQLConnection(TSQLConnection* connection);

    // The statement text, as lines. Setting it closes the query and, with
    // ParamCheck, rebuilds Params from the text, keeping type, direction and
    // value of the parameters whose names stay.
    const QStringList& SQL() const { return sql_; }
    void SetSQL(const QStringList& lines);
    QString SQLText() const { return sql_.join(QStringLiteral("\n")); }
    void SetSQLText(const QString& text) override;

    TParams& Params() override { return params_; }
    const TParams& Params() const override { return params_; }
    void SetParams(const TParams& params) { params_ = params; }
    TParam& ParamByName(QStringView name) { return params_.ParamByName(name); }
    TParam& ParamByName(const QString& name) { return params_.ParamByName(name); }
    // False: the text is sent as it is, colons and all, without parameters.
    bool ParamCheck() const { return paramCheck_; }
    void SetParamCheck(bool v) { paramCheck_ = v; }
    // -1: blobs are read whole; otherwise at most this many kilobytes of each.
    int MaxBlobSize() const { return maxBlobSize_; }
    void SetMaxBlobSize(int v) { maxBlobSize_ = v; }

    bool Active() const override { return active_; }
    // Opens on the connection (opened on demand with the parameters it holds
    // now; its error is raised when that fails) and moves onto the first
    // row. "Cursor not returned from Query" for a statement without rows.
    void SetActive(bool value);
    void Open() override { SetActive(true); }
    void Close() override { SetActive(false); }

    // Reading, while active: the columns, the current row, forward moves.
    int FieldCount() const { return static_cast<int>(columns_.size()); }
    const std::vector<TSQLColumn>& Columns() const { return columns_; }
    // Index of the column of that name (without case); -1 when none.
    int FieldIndex(QStringView name) const;
    int FieldIndex(const QString& name) const { return FieldIndex(QStringView(name)); }
    // The value of a column of the current row (null at Eof).
    const TValue& Value(int index) const;
    const std::vector<TValue>& Row() const override { return row_; }
    bool Eof() const override { return eof_; }
    bool IsEmpty() const { return active_ && eof_ && rowsRead_ == 0; }
    // Moves to the next row; at the last row Eof becomes true.
    void Next() override;
    int RecNo() const { return rowsRead_; }
    // The columns as a data packet describes them; the connection's LocaleCode.
    std::vector<TPacketColumn> PacketColumns() const override;
    quint32 PacketLcid() const override;

    // Runs the statement, for one without result rows, and returns the
    // affected-row count; the connection opens on demand.
    int ExecSQL() override;
    // Writes a change log through the query's connection (sql_resolver.h).
    TApplyReply ResolveChanges(TDataSetProvider& provider, const TDelta& delta,
                               int maxErrors) override;
    int RowsAffected() const { return rowsAffected_; }

    // The message of the last failed driver operation of the query.
    const QString& LastError() const { return lastError_; }

    // The form reader sets Active through this; it takes effect in Loaded().
    void SetStreamedActive(bool value) { streamedActive_ = value; }
    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TSQLConnection;
    void DoOpen();
    void DoClose();
    void ReadRow();
    TSQLConnection& CheckConnection();
    std::unique_ptr<Driver::Statement> PrepareBound(const QString& text, const QStringList& names);

    TSQLConnection* connection_ = nullptr;
    QStringList sql_;
    TParams params_;
    bool paramCheck_ = true;
    int maxBlobSize_ = -1;
    bool active_ = false;
    bool eof_ = true;
    bool streamedActive_ = false;
    int rowsRead_ = 0;
    int rowsAffected_ = 0;
    QString lastError_;
    std::vector<TSQLColumn> columns_;
    std::vector<TValue> row_;
    std::unique_ptr<Driver::Statement> statement_;
    std::unique_ptr<Driver::Cursor> cursor_;
};
