#pragma once
// Holds the commit of whatever transaction writes a chosen article
// (tests/fixtures/commit_hold.sql) until the server goes away: the test's
// own attachment keeps the lock that the commit trigger waits for.
//
//   CommitHold hold(db, "A001");  // db: the catalog, with its ARTICULOS
//   ... the writer commits and waits; hold.Reached() turns true ...

#include "data/driver/connection.h"
#include "tests/support/test_database.h"

class CommitHold {
public:
    CommitHold(TestDatabase& db, const QString& code) : db_(db) {
        db_.RunFixture(QStringLiteral("commit_hold.sql"));
        db_.Run(QStringLiteral("insert into COMMIT_HOLD_AT (ARTI_COD) values ('%1');").arg(code));
        lock_.Attach(db_.Options());
        lock_.StartTransaction(Driver::Isolation::ReadCommitted);
        lock_.ExecuteDirect(QStringLiteral("update COMMIT_HOLD_LOCK set ID = ID"));
    }
    // Whether a commit waits at the hold now (or did, before the server went).
    bool Reached() {
        return !db_.Query(QStringLiteral("select ARTI_COD from COMMIT_HOLD_REACHED")).empty();
    }

private:
    TestDatabase& db_;
    Driver::Connection lock_;
};
