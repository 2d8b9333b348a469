#include "tests/support/test_database.h"

#include "data/driver/client_library.h"
#include "data/driver/cursor.h"
#include "data/driver/driver_error.h"
#include "data/driver/statement.h"
#include "platform/system/ansi.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <firebird/Interface.h>
#include <unistd.h>

using namespace Firebird;

namespace {

QString Env(const char* name, const char* fallback) {
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? QString::fromLatin1(fallback) : v;
}

QString StatusText(IUtil* util, IStatus* status) {
    char buffer[4096] = {};
    util->formatStatus(buffer, sizeof buffer, status);
    return QString::fromUtf8(buffer);
}

QString CellText(const Driver::Cursor& c, int i) {
    if (c.IsNull(i))
        return QString();
    switch (c.Column(i).type) {
    case Driver::DataType::Varchar:
    case Driver::DataType::Char:
        return c.AsString(i);
    case Driver::DataType::SmallInt:
    case Driver::DataType::Integer:
    case Driver::DataType::BigInt:
        return QString::number(c.AsInteger(i));
    case Driver::DataType::Boolean:
        return c.AsBoolean(i) ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Driver::DataType::Decimal: {
        const qint64 v = c.AsInteger(i);
        const int scale = c.Column(i).scale;
        QString digits =
            QString::number(v < 0 ? -v : v).rightJustified(scale + 1, QLatin1Char('0'));
        digits.insert(digits.size() - scale, QLatin1Char('.'));
        return (v < 0 ? QStringLiteral("-") : QString()) + digits;
    }
    case Driver::DataType::Float:
    case Driver::DataType::Double:
        return QString::number(c.AsDouble(i), 'g', 15);
    case Driver::DataType::Date:
        return c.AsDate(i).toString(Qt::ISODate);
    case Driver::DataType::Time:
        return c.AsTime(i).toString(QStringLiteral("HH:mm:ss.zzz"));
    case Driver::DataType::Timestamp:
        return c.AsTimestamp(i).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case Driver::DataType::Blob:
        return c.Column(i).subType == 1 ? c.AsString(i) : FromAnsi(c.AsBytes(i));
    case Driver::DataType::Unknown:
        break;
    }
    return QString();
}

} // namespace

QString TestDatabase::Host() {
    return Env("AMQB_FB_HOST", AMQB_FB_HOST_DEFAULT);
}
QString TestDatabase::DataDir() {
    return Env("AMQB_FB_DATA", AMQB_FB_DATA_DEFAULT);
}
QString TestDatabase::User() {
    return Env("AMQB_FB_USER", AMQB_FB_USER_DEFAULT);
}
QString TestDatabase::Password() {
    return Env("AMQB_FB_PASSWORD", AMQB_FB_PASSWORD_DEFAULT);
}
DatabaseServer TestDatabase::LocalServer() {
    return {Host() + QStringLiteral("/3050"), DataDir()};
}

namespace {
// A database parameter block holding the test login.
IXpbBuilder* LoginDpb(IUtil* util, CheckStatusWrapper& st) {
    IXpbBuilder* dpb = util->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&st, isc_dpb_user_name, TestDatabase::User().toUtf8().constData());
    dpb->insertString(&st, isc_dpb_password, TestDatabase::Password().toUtf8().constData());
    return dpb;
}
} // namespace

Firebird::IAttachment* CreateDatabaseThroughTheLibrary(const QString& name) {
    IMaster* master = Driver::LoadClient(Driver::ClientLibraryFor(QString()));
    IUtil* util = master->getUtilInterface();
    IStatus* status = master->getStatus();
    CheckStatusWrapper st(status);
    IXpbBuilder* dpb = LoginDpb(util, st);
    dpb->insertInt(&st, isc_dpb_page_size, 8192);
    dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
    IProvider* provider = master->getDispatcher();
    IAttachment* att = provider->createDatabase(&st, name.toUtf8().constData(),
                                                dpb->getBufferLength(&st), dpb->getBuffer(&st));
    dpb->dispose();
    provider->release();
    const QString text =
        (st.getState() & IStatus::STATE_ERRORS) ? StatusText(util, status) : QString();
    status->dispose();
    if (!text.isEmpty())
        throw Driver::Error(Driver::Status::ServerError,
                            QStringLiteral("Cannot create %1: %2").arg(name, text));
    return att;
}

namespace {
// Creates the database `name` ("server:file"); raises Driver::Error.
void CreateDatabaseFile(const QString& name) {
    IAttachment* att = CreateDatabaseThroughTheLibrary(name);
    IMaster* master = Driver::LoadClient(Driver::ClientLibraryFor(QString()));
    IStatus* status = master->getStatus();
    CheckStatusWrapper st(status);
    att->detach(&st);
    status->dispose();
}
} // namespace

TestDatabase::TestDatabase(const QString& tag, const DatabaseServer& server) : server_(server) {
    static QAtomicInt counter;
    file_ = QStringLiteral("%1/%2_%3_%4_%5.fdb")
                .arg(server_.dataDir, tag)
                .arg(getpid())
                .arg(QDateTime::currentMSecsSinceEpoch())
                .arg(counter.fetchAndAddRelaxed(1));
    CreateDatabaseFile(Database());
    conn_ = std::make_unique<Driver::Connection>();
    conn_->Attach(Options());
}

TestDatabase::TestDatabase(const DatabaseServer& server, const QString& file, bool keep)
    : server_(server), file_(file), keep_(keep) {}

std::unique_ptr<TestDatabase> TestDatabase::Existing(const QString& file, const QString& fixture,
                                                     const DatabaseServer& server) {
    std::unique_ptr<TestDatabase> db(new TestDatabase(server, file, true));
    db->conn_ = std::make_unique<Driver::Connection>();
    try {
        db->conn_->Attach(db->Options());
        return db;
    } catch (const Driver::Error&) {
    }
    try {
        CreateDatabaseFile(db->Database());
    } catch (const Driver::Error&) {
        // Made meanwhile by someone else: attaching tells.
        db->conn_->Attach(db->Options());
        return db;
    }
    db->conn_->Attach(db->Options());
    db->RunFixture(fixture);
    return db;
}

TestDatabase::~TestDatabase() {
    if (!conn_)
        return;
    if (keep_) {
        conn_->Detach();
        return;
    }
    conn_->Detach();
    conn_.reset();
    IMaster* master = Driver::LoadClient(Driver::ClientLibraryFor(QString()));
    IUtil* util = master->getUtilInterface();
    IStatus* status = master->getStatus();
    CheckStatusWrapper st(status);
    IXpbBuilder* dpb = LoginDpb(util, st);
    IProvider* provider = master->getDispatcher();
    IAttachment* att = provider->attachDatabase(&st, Database().toUtf8().constData(),
                                                dpb->getBufferLength(&st), dpb->getBuffer(&st));
    dpb->dispose();
    provider->release();
    if (att && !(st.getState() & IStatus::STATE_ERRORS))
        att->dropDatabase(&st);
    if (st.getState() & IStatus::STATE_ERRORS) {
        std::fprintf(stderr, "TestDatabase: cannot drop %s: %s\n", qPrintable(file_),
                     qPrintable(StatusText(util, status)));
        if (att)
            att->release();
    }
    status->dispose();
}

QString TestDatabase::Database() const {
    return server_.address + QLatin1Char(':') + file_;
}

QStringList TestDatabase::ConnectionParams() const {
    return {
        QStringLiteral("BlobSize=-1"),
        QStringLiteral("CommitRetain=False"),
        QStringLiteral("Database=") + Database(),
        QStringLiteral("DriverName=Interbase"),
        QStringLiteral("ErrorResourceFile="),
        QStringLiteral("LocaleCode=0000"),
        QStringLiteral("Password=") + Password(),
        QStringLiteral("RoleName=RoleName"),
        QStringLiteral("ServerCharSet="),
        QStringLiteral("SQLDialect=3"),
        QStringLiteral("Interbase TransIsolation=ReadCommited"),
        QStringLiteral("User_Name=") + User(),
        QStringLiteral("WaitOnLocks=True"),
    };
}

Driver::ConnectOptions TestDatabase::Options() const {
    Driver::ConnectOptions o;
    o.database = Database();
    o.user = User();
    o.password = Password();
    return o;
}

QStringList TestDatabase::SplitScript(const QString& script) {
    QStringList out;
    QString term = QStringLiteral(";");
    QString current;
    static const QRegularExpression setTerm(QStringLiteral("^\\s*SET\\s+TERM\\s+(\\S+)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    auto flush = [&](const QString& statement) {
        const QString s = statement.trimmed();
        if (s.isEmpty())
            return;
        const QRegularExpressionMatch m = setTerm.match(s);
        if (m.hasMatch()) {
            term = m.captured(1);
            return;
        }
        static const QRegularExpression commit(QStringLiteral("^COMMIT(\\s+WORK)?$"),
                                               QRegularExpression::CaseInsensitiveOption);
        if (!commit.match(s).hasMatch())
            out << s;
    };
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar ch = script[i];
        if (ch == QLatin1Char('\'') || ch == QLatin1Char('"')) {
            const qsizetype end = script.indexOf(ch, i + 1);
            const qsizetype stop = end < 0 ? script.size() - 1 : end;
            current += script.mid(i, stop - i + 1);
            i = stop;
        } else if (ch == QLatin1Char('-') && script.mid(i, 2) == QLatin1String("--")) {
            const qsizetype end = script.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? script.size() : end - 1;
        } else if (ch == QLatin1Char('/') && script.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? script.size() - 1 : end + 1;
            current += script.mid(i, stop - i + 1);
            i = stop;
        } else if (script.mid(i, term.size()) == term) {
            flush(current);
            current.clear();
            i += term.size() - 1;
        } else {
            current += ch;
        }
    }
    flush(current);
    return out;
}

void TestDatabase::Reattach() {
    conn_ = std::make_unique<Driver::Connection>();
    conn_->Attach(Options());
}

void TestDatabase::Run(const QString& script) {
    for (const QString& statement : SplitScript(script))
        conn_->ExecuteDirect(statement);
}

QString TestDatabase::FixtureText(const QString& name) {
    QFile file(QStringLiteral(AMQB_FIXTURES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw Driver::Error(Driver::Status::InvalidParameter,
                            QStringLiteral("No fixture %1").arg(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

void TestDatabase::RunFixture(const QString& name) {
    Run(FixtureText(name));
}

std::vector<QStringList> TestDatabase::Query(const QString& sql) {
    std::vector<QStringList> rows;
    std::unique_ptr<Driver::Statement> stmt = conn_->Prepare(sql);
    std::unique_ptr<Driver::Cursor> cursor = stmt->Execute();
    if (!cursor)
        return rows;
    while (cursor->Next()) {
        QStringList row;
        for (int i = 0; i < cursor->ColumnCount(); ++i)
            row << CellText(*cursor, i);
        rows.push_back(row);
    }
    return rows;
}
