#pragma once
// A fresh remote catalog database (tables ARTICULOS and COMPANIA) on the
// local server (or another one), reachable as "<server line>/quelbo.fdb" the
// way the login window builds its location: the folder of the server line
// holds a link named quelbo.fdb to the test database.

#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <unistd.h>

class CatalogDatabase {
public:
    explicit CatalogDatabase(const DatabaseServer& server = TestDatabase::LocalServer())
        : db_(QStringLiteral("login"), server), address_(server.address) {
        static int counter = 0;
        folder_ = QStringLiteral("%1/login_%2_%3").arg(server.dataDir).arg(getpid()).arg(++counter);
        QDir(folder_).removeRecursively();
        if (!QDir().mkpath(folder_) ||
            !QFile::link(db_.File(), folder_ + QStringLiteral("/quelbo.fdb")))
            ADD_FAILURE() << "Cannot prepare " << folder_.toStdString();
        db_.RunFixture(QStringLiteral("quelbo.sql"));
    }
    ~CatalogDatabase() { QDir(folder_).removeRecursively(); }
    CatalogDatabase(const CatalogDatabase&) = delete;
    CatalogDatabase& operator=(const CatalogDatabase&) = delete;

    // A line of the server list that leads to this database.
    QString ServerLine() const { return address_ + u':' + folder_; }
    // The folder on the server that holds the link.
    const QString& Folder() const { return folder_; }
    TestDatabase& Db() { return db_; }

    // Attachments to this database made by process `pid`, the fixture's own excepted.
    int AttachmentsOf(qint64 pid) {
        const auto rows = db_.Query(
            QStringLiteral("select count(*) from MON$ATTACHMENTS where MON$REMOTE_PID = %1 and "
                           "MON$ATTACHMENT_ID <> CURRENT_CONNECTION")
                .arg(pid));
        return rows.empty() ? 0 : rows[0][0].toInt();
    }

private:
    TestDatabase db_;
    QString address_;
    QString folder_;
};
