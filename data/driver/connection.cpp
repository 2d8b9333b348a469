#include "data/driver/connection.h"

#include "data/driver/client_library.h"
#include "data/driver/cursor.h"
#include "data/driver/fb_internal.h"
#include "data/driver/statement.h"
#include "platform/system/ansi.h"
#include "platform/system/stop_signals.h"

using namespace Firebird;

namespace Driver {

QString DataTypeName(DataType type) {
    switch (type) {
    case DataType::Unknown:
        return QStringLiteral("Unknown");
    case DataType::Varchar:
        return QStringLiteral("Varchar");
    case DataType::Char:
        return QStringLiteral("Char");
    case DataType::SmallInt:
        return QStringLiteral("SmallInt");
    case DataType::Integer:
        return QStringLiteral("Integer");
    case DataType::BigInt:
        return QStringLiteral("BigInt");
    case DataType::Decimal:
        return QStringLiteral("Decimal");
    case DataType::Float:
        return QStringLiteral("Float");
    case DataType::Double:
        return QStringLiteral("Double");
    case DataType::Date:
        return QStringLiteral("Date");
    case DataType::Time:
        return QStringLiteral("Time");
    case DataType::Timestamp:
        return QStringLiteral("Timestamp");
    case DataType::Blob:
        return QStringLiteral("Blob");
    case DataType::Boolean:
        return QStringLiteral("Boolean");
    }
    return QStringLiteral("Unknown");
}

// ---- connection internals -------------------------------------------------

void ConnectionImpl::CheckAttached() const {
    if (!attachment)
        throw Error(Status::InvalidHandle, QString());
}

QByteArray ConnectionImpl::Encode(QStringView text, unsigned charSet) const {
    if (charSet == 3 || charSet == 4) // UNICODE_FSS, UTF8
        return text.toUtf8();
    return ToAnsi(text);
}

QString ConnectionImpl::Decode(QByteArrayView bytes, unsigned charSet) const {
    if (charSet == 3 || charSet == 4)
        return QString::fromUtf8(bytes);
    return FromAnsi(bytes);
}

// ---- Connection ------------------------------------------------------------

Connection::Connection() : impl_(std::make_unique<ConnectionImpl>()) {}

Connection::~Connection() {
    Detach();
}

void Connection::Attach(const ConnectOptions& options) {
    if (impl_->attachment)
        Detach();
    const QString library =
        options.clientLibrary.isEmpty() ? ClientLibraryFor(QString()) : options.clientLibrary;
    IMaster* master = LoadClient(library);
    ConnectionImpl& c = *impl_;
    c.master = master;
    c.util = master->getUtilInterface();
    c.options = options;
    c.utf8 =
        options.serverCharSet.trimmed().compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0 ||
        options.serverCharSet.trimmed().compare(QLatin1String("UNICODE_FSS"),
                                                Qt::CaseInsensitive) == 0;

    FbStatus st(master);
    IXpbBuilder* dpb = c.util->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    st.Check(Status::ConnectFailed, c.util);
    // The server compares user and password as the bytes the user typed.
    dpb->insertString(&st, isc_dpb_user_name, ToAnsi(options.user).constData());
    dpb->insertString(&st, isc_dpb_password, ToAnsi(options.password).constData());
    if (!options.roleName.trimmed().isEmpty())
        dpb->insertString(&st, isc_dpb_sql_role_name,
                          ToAnsi(options.roleName.trimmed()).constData());
    if (!options.serverCharSet.trimmed().isEmpty())
        dpb->insertString(&st, isc_dpb_lc_ctype,
                          options.serverCharSet.trimmed().toLatin1().constData());
    dpb->insertInt(&st, isc_dpb_sql_dialect, options.sqlDialect);

    IProvider* provider = master->getDispatcher();
    const QByteArray database = ToAnsi(options.database.trimmed());
    IAttachment* att = provider->attachDatabase(&st, database.constData(),
                                                dpb->getBufferLength(&st), dpb->getBuffer(&st));
    dpb->dispose();
    provider->release();
    // The client library installs its own SIGTERM and SIGINT handlers at its
    // first attachment (even a failed one). Told at loading not to shut its
    // connections down, they still stand between the signal and the
    // program's handler; the program's own go back in their place.
    RestoreStopSignalHandlers();
    if (st.Failed() || !att) {
        const QString text = st.Text(c.util);
        throw Error(Status::ConnectFailed, text);
    }
    c.attachment = att;
}

void Connection::Detach() {
    ConnectionImpl& c = *impl_;
    c.ReadDeferredBlobs();
    auto statements = c.statements;
    for (StatementImpl* s : statements)
        s->Release();
    c.statements.clear();
    c.idle.Clear(c.master);
    c.Release(c.reads, true);
    c.Release(c.transaction, false);
    c.Release(c.retained, true);
    c.Release(c.kept, true);
    if (c.attachment) {
        FbStatus st(c.master);
        c.attachment->detach(&st);
        if (st.Failed())
            c.attachment->release();
        c.attachment = nullptr;
    }
}

bool Connection::Attached() const {
    return impl_->attachment != nullptr;
}

const ConnectOptions& Connection::Options() const {
    return impl_->options;
}

QString Connection::QuoteChar() const {
    return impl_->options.sqlDialect >= 3 ? QStringLiteral("\"") : QString();
}

PreparedStatement ConnectionImpl::PrepareText(const QByteArray& text, ITransaction* tra) {
    CheckAttached();
    if (std::optional<PreparedStatement> kept = idle.Take(text))
        return std::move(*kept);
    // Preparing needs a transaction to read the metadata in; it only reads:
    // the shared one of the selects, else one of its own.
    if (!tra)
        tra = SharedReadTransaction();
    ITransaction* own = tra ? nullptr : Start(options.isolation, true);
    FbStatus st(master);
    ++prepared;
    PreparedStatement p;
    p.text = text;
    p.statement = attachment->prepare(&st, tra ? tra : own, static_cast<unsigned>(text.size()),
                                      text.constData(), static_cast<unsigned>(options.sqlDialect),
                                      IStatement::PREPARE_PREFETCH_METADATA);
    if (!st.Failed())
        p.type = p.statement->getType(&st);
    if (!st.Failed())
        p.inMeta = p.statement->getInputMetadata(&st);
    if (!st.Failed())
        p.outMeta = p.statement->getOutputMetadata(&st);
    Release(own, !st.Failed());
    if (st.Failed()) {
        const QString message = st.Text(util);
        p.Free(master);
        throw Error(Status::ServerError, message);
    }
    return p;
}

std::unique_ptr<Statement> Connection::Prepare(const QString& sql) {
    ConnectionImpl& c = *impl_;
    c.CheckAttached();
    PreparedStatement p = c.PrepareText(c.SqlBytes(sql), c.transaction);
    auto impl = std::make_unique<StatementImpl>();
    impl->conn = &c;
    impl->text = std::move(p.text);
    impl->statement = p.statement;
    impl->type = p.type;
    impl->inMeta = p.inMeta;
    impl->outMeta = p.outMeta;
    FbStatus st(c.master);
    impl->params.resize(impl->inMeta ? impl->inMeta->getCount(&st) : 0);
    c.statements.insert(impl.get());
    return std::unique_ptr<Statement>(new Statement(std::move(impl)));
}

void Connection::SetStatementReuse(bool on) {
    ConnectionImpl& c = *impl_;
    c.reuse = on;
    if (!on)
        c.idle.Clear(c.master);
}

bool Connection::StatementReuse() const {
    return impl_->reuse;
}

quint64 Connection::StatementsPrepared() const {
    return impl_->prepared;
}

void Connection::SetReadOnlyReads(bool on) {
    ConnectionImpl& c = *impl_;
    c.readOnlyReads = on;
    if (!on)
        c.Release(c.reads, true);
}

bool Connection::ReadOnlyReads() const {
    return impl_->readOnlyReads;
}

void Connection::SetDeferredBlobReads(bool on) {
    ConnectionImpl& c = *impl_;
    c.deferBlobs = on;
    if (!on)
        c.ReadDeferredBlobs();
}

bool Connection::DeferredBlobReads() const {
    return impl_->deferBlobs;
}

void Connection::SetTransactionReuse(bool on) {
    ConnectionImpl& c = *impl_;
    c.keepContext = on;
    if (!on)
        c.Release(c.kept, true);
}

bool Connection::TransactionReuse() const {
    return impl_->keepContext;
}

qint64 Connection::ExecuteDirect(const QString& sql) {
    std::unique_ptr<Statement> stmt = Prepare(sql);
    std::unique_ptr<Cursor> cursor = stmt->Execute();
    if (cursor) {
        cursor.reset();
        return 0;
    }
    return stmt->RowsAffected();
}

} // namespace Driver
