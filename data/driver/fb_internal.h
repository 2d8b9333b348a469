#pragma once
// Private to the driver: the Firebird objects behind Connection, Statement
// and Cursor.

#include "data/driver/connection.h"
#include "data/driver/deferred_blob.h"
#include "data/driver/fb_status.h"
#include "data/driver/statement_cache.h"

#include <QByteArray>
#include <QDate>
#include <QTime>
#include <memory>
#include <set>
#include <vector>

namespace Driver {

struct StatementImpl;
struct CursorImpl;

struct ConnectionImpl {
    Firebird::IMaster* master = nullptr;
    Firebird::IUtil* util = nullptr;
    Firebird::IAttachment* attachment = nullptr;
    Firebird::ITransaction* transaction = nullptr; // explicit
    Firebird::ITransaction* retained = nullptr;    // auto-commit context kept by commit retain
    ConnectOptions options;
    bool utf8 = false; // the connection's character set is UTF8
    std::set<StatementImpl*> statements;
    bool reuse = false;         // statements released go to `idle`
    bool readOnlyReads = false; // selects outside `transaction` run read-only
    // The one read-only read-committed transaction those selects share.
    Firebird::ITransaction* reads = nullptr;
    // While on, every unit of work under read committed (the explicit
    // transaction, a statement without rows outside it) ends in a commit or
    // rollback that retains its context, kept for the next one.
    bool keepContext = false;
    Firebird::ITransaction* kept = nullptr;
    Isolation transactionIsolation = Isolation::ReadCommitted; // of `transaction`
    // While on, a cursor hands out the blobs of table columns unread; the
    // ones handed out, to be read before the connection lets go of them.
    bool deferBlobs = false;
    std::vector<std::weak_ptr<DeferredBlobImpl>> deferredBlobs;
    size_t deferredBlobsPruneAt = 64;
    StatementCache idle;  // prepared statements free for their text again
    quint64 prepared = 0; // statements the server prepared, the cache's excepted

    void CheckAttached() const;
    // A read-only transaction ends without a write to the database's
    // transaction inventory: with forced writes, one synced write less.
    Firebird::ITransaction* Start(Isolation isolation, bool readOnly = false);
    // A statement for `text`: the one kept in the cache, else prepared in
    // `tra` (null: in a transaction of its own). Raises ServerError.
    PreparedStatement PrepareText(const QByteArray& text, Firebird::ITransaction* tra);
    // The transaction a select outside `transaction` runs in when it need
    // not be one of its own: `reads`, started on first use. Null when the
    // select needs its own.
    Firebird::ITransaction* SharedReadTransaction();
    // Ends a transaction the driver started for one statement.
    void EndOwn(Firebird::ITransaction* tra, bool commit);
    // Whether a unit of work of `isolation` keeps its context when it ends.
    // Not for repeatable read, whose kept snapshot would never see another
    // attachment's commits, nor with the connection's own commit retain.
    bool Keeps(Isolation isolation) const {
        return keepContext && !options.commitRetain && isolation != Isolation::RepeatableRead;
    }
    // The context for a unit of work that keeps it: the kept one, else a new
    // read-write transaction.
    Firebird::ITransaction* TakeKept(Isolation isolation);
    // Ends a unit of work in a kept context with a commit or a rollback that
    // retains it; `kept` holds it again. When that fails the transaction is
    // rolled back (or at least released) and ServerError raised: nothing of
    // it stays open for the next unit.
    void EndKept(Firebird::ITransaction* tra, bool commit);
    // After an end of `tra` that failed with `failed`: rolls it back whole (or
    // releases it when even that fails) and raises the server's text.
    [[noreturn]] void Abandon(Firebird::ITransaction* tra, const FbStatus& failed);
    void Release(Firebird::ITransaction*& tra, bool commit) noexcept;

    // A blob of a fetched row, read when its bytes are wanted.
    DeferredBlob DeferBlob(const ISC_QUAD& id);
    // Reads every deferred blob still held and unread (keeping a failure to
    // raise on its read) and lets go of them all.
    void ReadDeferredBlobs() noexcept;

    // Text to and from the bytes of a column's character set.
    QByteArray Encode(QStringView text, unsigned charSet) const;
    QString Decode(QByteArrayView bytes, unsigned charSet) const;
    QByteArray SqlBytes(QStringView sql) const { return Encode(sql, utf8 ? 4u : 0u); }
};

struct Param {
    DataType type = DataType::Unknown;
    bool bound = false;
    bool null = true;
    QString text;        // text, encoded at execution in the place's character set
    QByteArray bytes;    // blob or raw bytes
    bool octets = false; // raw bytes into a text place
    qint64 integer = 0;
    double real = 0;
    int scale = 0;
    QDate date;
    QTime time;
};

struct StatementImpl {
    ConnectionImpl* conn = nullptr;
    QByteArray text; // the SQL as prepared
    Firebird::IStatement* statement = nullptr;
    Firebird::IMessageMetadata* inMeta = nullptr; // as the server describes the markers
    Firebird::IMessageMetadata* outMeta = nullptr;
    unsigned type = 0;
    std::vector<Param> params;
    qint64 rowsAffected = -1;
    CursorImpl* cursor = nullptr; // the open cursor, if any

    void CheckValid() const;
    Param& At(int index);
    // Gives the prepared statement back to the connection's cache (or frees
    // it when the connection is gone) and leaves this one invalid.
    void Release() noexcept;
};

struct ColumnPlace {
    unsigned type = 0; // SQL_* without the null bit
    unsigned offset = 0;
    unsigned nullOffset = 0;
    unsigned length = 0;
    unsigned charSet = 0;
};

struct CursorImpl {
    ConnectionImpl* conn = nullptr;
    StatementImpl* stmt = nullptr;
    Firebird::IResultSet* resultSet = nullptr; // null for a singleton (execute procedure)
    Firebird::ITransaction* transaction = nullptr;
    bool ownsTransaction = false;
    std::vector<unsigned char> buffer;
    std::vector<ColumnDesc> columns;
    std::vector<ColumnPlace> places;
    bool singletonPending = false;
    bool onRow = false;
    bool atEnd = false;

    void Close(bool commit) noexcept;
    const unsigned char* Data(int index) const;
    const ColumnPlace& Place(int index) const;
};

// Fills `columns` and `places` from output metadata.
void DescribeColumns(ConnectionImpl* conn, Firebird::IMessageMetadata* meta, CursorImpl& cursor);

} // namespace Driver
