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
    // Prepares, executes and releases a statement without parameters;
    // returns the affected-row count.
    qint64 ExecuteDirect(const QString& sql);

    ConnectionImpl* Impl() const { return impl_.get(); }

private:
    std::unique_ptr<ConnectionImpl> impl_;
};

} // namespace Driver
