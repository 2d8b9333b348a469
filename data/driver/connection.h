#pragma once
// A driver connection: one attachment to a Firebird database over the OO
// API, with its transaction handling. Statements prepared on it are run in
// the explicit transaction when one is active, else each in a transaction
// of its own that the driver commits when the statement completes
// (auto-commit per statement; a cursor's when it reaches its end or closes).

#include "data/driver/driver_types.h"

#include <QString>
#include <memory>

namespace Driver {

class Statement;
struct ConnectionImpl;

class Connection {
public:
    Connection();
    ~Connection(); // detaches
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Loads the client library (LoadError) and attaches; a refused or
    // failed attach raises Error with status ConnectFailed (21).
    void Attach(const ConnectOptions& options);
    // Releases every statement and cursor of the connection, rolls back an
    // active explicit transaction and detaches. Never raises.
    void Detach();
    bool Attached() const;
    const ConnectOptions& Options() const;

    // The character that quotes names: '"' in dialect 3, empty in dialect 1.
    QString QuoteChar() const;
    bool SupportsTransactions() const { return true; }

    // One explicit transaction at a time (transaction number 1).
    // StartTransaction while one is active: Error TransactionActive (19);
    // Commit/Rollback with none: Error InvalidHandle (4).
    void StartTransaction(Isolation isolation);
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // Prepares a statement with "?" markers. A statement must not outlive
    // its connection's attachment: Detach releases it (it then raises
    // InvalidHandle when used).
    std::unique_ptr<Statement> Prepare(const QString& sql);
    // While on, a statement released stays prepared in a cache of the
    // attachment (StatementCache::kCapacity texts at most, the least recently
    // used freed first) and Prepare of the same text takes it again. Off (the
    // default), and on turning it off, released statements are freed on the
    // server. The setting outlives a detach; the cache does not.
    //
    // Reuse is for a bounded piece of work: Firebird 3 does not refuse a
    // statement prepared before another attachment changed its table or
    // procedure, it runs it against the old layout (a dropped column still
    // written, a new one not read), and a prepared statement keeps its table
    // from being dropped.
    void SetStatementReuse(bool on);
    bool StatementReuse() const;
    // How many statements this connection has had the server prepare, over
    // all its attachments; one taken from the cache is not counted.
    quint64 StatementsPrepared() const;

    // While on, the selects run outside the explicit transaction share one
    // read-only read-committed transaction, started at the first and
    // committed when this is turned off or the connection detaches: no
    // transaction to start and end per select, and none that writes to the
    // database (with forced writes, a synced write per select). For selects
    // that only read: one that calls a procedure or function that writes is
    // refused ("attempted update during read-only transaction"). Not for
    // repeatable read (each select then keeps a read-only transaction of its
    // own) nor with commit retain (whose kept context serves writes too).
    // Off by default; the setting outlives a detach.
    void SetReadOnlyReads(bool on);
    bool ReadOnlyReads() const;

    // While on, a unit of work under read committed or dirty read (the
    // explicit transaction from StartTransaction to Commit or Rollback, and a
    // statement without rows run outside it) ends in a commit or rollback
    // that retains the transaction's context, and the next unit takes that
    // context again: no transaction to start per unit. A commit is as durable
    // and as visible to other attachments as a plain one, a rollback undoes
    // all of the unit and nothing before it, and a context whose retaining
    // commit or rollback failed is rolled back whole (or released), so no
    // unit inherits another's failure. Turning it off and detaching commit
    // the kept context. While one context is kept, the server's oldest
    // snapshot stays where it was when the context began: record versions
    // that other work leaves behind in the meantime are not collected until
    // it ends, so this is for a bounded piece of work. Not for repeatable
    // read (a kept snapshot would not see other attachments' commits) nor
    // with commit retain. Off by default; the setting outlives a detach.
    void SetTransactionReuse(bool on);
    bool TransactionReuse() const;

    // While on, a cursor's Deferred hands out the blobs of table columns
    // unread (deferred_blob.h). Turning it off, and detaching, read every
    // one still held and unread. For a piece of work whose rows' blobs are
    // mostly never looked at; its context (the shared read transaction, the
    // kept one) should end after this is turned off. Off by default; the
    // setting outlives a detach.
    void SetDeferredBlobReads(bool on);
    bool DeferredBlobReads() const;

    // Prepares, executes and releases a statement without parameters;
    // returns the affected-row count.
    qint64 ExecuteDirect(const QString& sql);

    ConnectionImpl* Impl() const { return impl_.get(); }

private:
    std::unique_ptr<ConnectionImpl> impl_;
};

} // namespace Driver
