#include "data/driver/connection.h"
#include "data/driver/fb_internal.h"

#include <utility>

using namespace Firebird;

namespace Driver {

// ---- Transactions the driver starts -------------------------------------------

ITransaction* ConnectionImpl::Start(Isolation isolation, bool readOnly) {
    CheckAttached();
    FbStatus st(master);
    IXpbBuilder* tpb = util->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
    st.Check(Status::ServerError, util);
    tpb->insertTag(&st, readOnly ? isc_tpb_read : isc_tpb_write);
    if (isolation == Isolation::RepeatableRead) {
        tpb->insertTag(&st, isc_tpb_concurrency);
    } else {
        // Dirty read does not exist in Firebird: read committed is the nearest.
        tpb->insertTag(&st, isc_tpb_read_committed);
        tpb->insertTag(&st, isc_tpb_rec_version);
    }
    tpb->insertTag(&st, options.waitOnLocks ? isc_tpb_wait : isc_tpb_nowait);
    ITransaction* tra =
        attachment->startTransaction(&st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
    tpb->dispose();
    st.Check(Status::ServerError, util);
    return tra;
}

ITransaction* ConnectionImpl::SharedReadTransaction() {
    // Read committed reads each statement's rows as committed when it
    // starts, whatever transaction it runs in, and a read-only one holds
    // nothing back on the server; a snapshot (repeatable read) would be
    // frozen at the first select. A context kept by commit retain serves
    // writes too.
    if (!readOnlyReads || options.isolation == Isolation::RepeatableRead || options.commitRetain)
        return nullptr;
    if (!reads)
        reads = Start(options.isolation, true);
    return reads;
}

void ConnectionImpl::EndOwn(ITransaction* tra, bool commit) {
    FbStatus st(master);
    if (commit && options.commitRetain) {
        // The context stays for the next statement; Detach commits it for good.
        tra->commitRetaining(&st);
        if (!st.Failed()) {
            if (retained != tra) {
                Release(retained, true);
                retained = tra;
            }
            return;
        }
    } else if (commit) {
        tra->commit(&st);
    } else {
        tra->rollback(&st);
    }
    if (retained == tra)
        retained = nullptr;
    if (st.Failed())
        Abandon(tra, st);
}

ITransaction* ConnectionImpl::TakeKept(Isolation isolation) {
    if (kept)
        return std::exchange(kept, nullptr);
    return Start(isolation);
}

void ConnectionImpl::EndKept(ITransaction* tra, bool commit) {
    FbStatus st(master);
    if (commit)
        tra->commitRetaining(&st);
    else
        tra->rollbackRetaining(&st);
    if (!st.Failed()) {
        Release(kept, true); // none in practice: one unit at a time
        kept = tra;
        return;
    }
    Abandon(tra, st);
}

void ConnectionImpl::Abandon(ITransaction* tra, const FbStatus& failed) {
    const QString text = failed.Text(util);
    FbStatus again(master);
    tra->rollback(&again);
    if (again.Failed())
        tra->release();
    throw Error(Status::ServerError, text);
}

void ConnectionImpl::Release(ITransaction*& tra, bool commit) noexcept {
    if (!tra)
        return;
    FbStatus st(master);
    if (commit)
        tra->commit(&st);
    if (!commit || st.Failed()) {
        st.Reset();
        tra->rollback(&st);
        if (st.Failed())
            tra->release();
    }
    tra = nullptr;
}

// ---- The explicit transaction ---------------------------------------------------

void Connection::StartTransaction(Isolation isolation) {
    ConnectionImpl& c = *impl_;
    c.CheckAttached();
    if (c.transaction)
        throw Error(Status::TransactionActive, QString());
    if (c.Keeps(isolation)) {
        c.transaction = c.TakeKept(isolation);
        c.transactionIsolation = isolation;
        return;
    }
    // A context kept by commit retain ends before a real transaction begins.
    c.Release(c.retained, true);
    c.Release(c.kept, true);
    c.transaction = c.Start(isolation);
    c.transactionIsolation = isolation;
}

void Connection::Commit() {
    ConnectionImpl& c = *impl_;
    c.CheckAttached();
    if (!c.transaction)
        throw Error(Status::InvalidHandle, QString());
    ITransaction* tra = c.transaction;
    FbStatus st(c.master);
    if (c.options.commitRetain) {
        tra->commitRetaining(&st);
        if (!st.Failed()) {
            // Kept as the auto-commit context of the statements that follow.
            c.transaction = nullptr;
            c.retained = tra;
            return;
        }
    } else if (c.Keeps(c.transactionIsolation)) {
        tra->commitRetaining(&st);
        if (!st.Failed()) {
            c.transaction = nullptr;
            c.kept = tra;
            return;
        }
    } else {
        tra->commit(&st);
    }
    if (st.Failed())
        st.Raise(Status::ServerError, c.util); // still active: the caller may roll back
    c.transaction = nullptr;
}

void Connection::Rollback() {
    ConnectionImpl& c = *impl_;
    c.CheckAttached();
    if (!c.transaction)
        throw Error(Status::InvalidHandle, QString());
    if (c.Keeps(c.transactionIsolation)) {
        // Undoes the work since the last commit and keeps the context; when
        // that fails the transaction is rolled back whole or released.
        ITransaction* tra = std::exchange(c.transaction, nullptr);
        c.EndKept(tra, false);
        return;
    }
    FbStatus st(c.master);
    c.transaction->rollback(&st);
    if (st.Failed()) {
        const QString text = st.Text(c.util);
        c.transaction->release();
        c.transaction = nullptr;
        throw Error(Status::ServerError, text);
    }
    c.transaction = nullptr;
}

bool Connection::InTransaction() const {
    return impl_->transaction != nullptr;
}

} // namespace Driver
