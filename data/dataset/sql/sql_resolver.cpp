#include "data/dataset/sql/sql_resolver.h"

#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/client/delta_dataset.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "data/dataset/sql/update_sql.h"

namespace {

bool NoLimit(int maxErrors) {
    return maxErrors == -1;
}

// The transaction of one apply: started here unless one was open already.
class ApplyTransaction {
public:
    explicit ApplyTransaction(TSQLConnection& connection) : connection_(connection) {
        desc_.TransactionID = 1;
        desc_.IsolationLevel = connection.TransIsolation();
        if (!connection_.InTransaction()) {
            connection_.StartTransaction(desc_);
            started_ = true;
        }
    }
    ~ApplyTransaction() {
        // Only reached with the transaction still ours when something was raised.
        if (started_ && connection_.InTransaction()) {
            try {
                connection_.Rollback(desc_);
            } catch (...) {
            }
        }
    }
    ApplyTransaction(const ApplyTransaction&) = delete;
    ApplyTransaction& operator=(const ApplyTransaction&) = delete;

    void RollbackNow() {
        if (started_)
            connection_.Rollback(desc_);
        started_ = false;
    }
    // A commit the server refuses leaves the transaction active; it stays
    // ours until the commit succeeds, so the destructor rolls it back and the
    // statements that follow on the connection do not run inside it.
    void Finish(bool commit) {
        if (!started_)
            return;
        if (commit)
            connection_.Commit(desc_);
        else
            connection_.Rollback(desc_);
        started_ = false;
    }

private:
    TSQLConnection& connection_;
    TTransactionDesc desc_;
    bool started_ = false;
};

TParams BindParams(const TUpdateStatement& statement) {
    TParams params;
    for (const TUpdateParam& p : statement.params) {
        TParam& param = params.CreateParam(p.type, QString(), ptInput);
        param.SetValue(p.value);
    }
    return params;
}

// Runs one change's statement; raises the change's failure.
void WriteChange(TSQLConnection& connection, ApplyTransaction& transaction, const TDelta& delta,
                 const TDeltaChange& change, const QString& table, QChar quote) {
    const std::optional<TUpdateStatement> statement =
        GenerateUpdateStatement(delta, change, table, quote);
    if (!statement)
        return; // an edit that changed nothing
    const TParams params = BindParams(*statement);
    // An insert of one row of values writes one row or fails (Firebird counts
    // one even where a view's trigger takes the row and writes nothing): its
    // count is not asked for, a wait less per insert.
    const int rows = connection.Execute(statement->sql, &params, change.kind != ukInsert);
    if (rows > 1) {
        transaction.RollbackNow();
        throw EUpdateError(QStringLiteral("Update affected more than 1 record."));
    }
    if (rows == 0)
        throw EUpdateError(QStringLiteral("Record not found or changed by another user"));
}

} // namespace

TApplyReply ResolveWithSql(TDataSetProvider& provider, TSQLQuery& query, const TDelta& delta,
                           int maxErrors) {
    TSQLConnection* connection = query.SQLConnection();
    if (!connection)
        throw EDatabaseError(QStringLiteral("Missing SQLConnection property"));
    ApplyTransaction transaction(*connection);
    provider.Reset();

    const QString tableName = TableNameFromStatement(query.SQL().join(u'\n'));
    if (tableName.isEmpty())
        throw EDatabaseError(QStringLiteral("Unable to resolve records.  Table name not found."));
    const QString quoteText = connection->QuoteChar();
    const QChar quote = quoteText.isEmpty() ? QChar(u' ') : quoteText[0];
    const QString table = QuoteTableName(tableName, quote);

    TApplyReply reply;
    TErrorPacket packet;
    TDeltaDataSet deltaView(delta);
    bool aborted = false;
    for (size_t i = 0; i < delta.changes.size() && !aborted; ++i) {
        const TDeltaChange& change = delta.changes[i];
        for (;;) {
            try {
                WriteChange(*connection, transaction, delta, change, table, quote);
                break;
            } catch (const Exception& e) {
                EUpdateError error(e.Message());
                TResolverResponse response =
                    !NoLimit(maxErrors) && reply.errorCount >= maxErrors ? rrAbort : rrSkip;
                if (provider.OnUpdateError) {
                    deltaView.Position(static_cast<int>(i));
                    provider.OnUpdateError(&provider, &deltaView, error, change.kind, response);
                }
                if (response == rrMerge || response == rrApply)
                    continue; // written again
                if (response == rrIgnore)
                    break;
                ++reply.errorCount;
                if (!NoLimit(maxErrors) && reply.errorCount > maxErrors)
                    response = rrAbort;
                packet.errors.push_back({static_cast<int>(i), error.ErrorCode(), error.Message(),
                                         response == rrAbort ? raAbort : raSkip});
                aborted = response == rrAbort;
                break;
            }
        }
    }
    const bool commit = NoLimit(maxErrors) || reply.errorCount <= maxErrors;
    transaction.Finish(commit);
    reply.rolledBack = !commit;
    if (!packet.errors.empty())
        reply.errors = std::move(packet);
    return reply;
}
