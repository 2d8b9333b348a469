#pragma once
// A Firebird server of the test's own: a second server process on the
// standard port of a loopback address of its own (127.x.y.z), with its own
// configuration, aliases, security database, lock folder and data folder
// under a temporary folder. A test may stop it, kill it and start it again
// without disturbing the shared local server that every other suite uses; it
// goes with the object, and with the test's process should that die first.
//
//   PrivateServer server;                    // started, with the test login
//   TestDatabase db(QStringLiteral("t"), server.Place());
//   server.Kill();  ...  server.Start();
//
// With aliases, a path the program names at design time reaches a file of
// this server's data folder (see LocalhostOverride for the host):
//   PrivateServer server({{"C:\\dorvan\\sop\\dorvan.fdb", "dorvan.fdb"}});

#include "tests/support/test_database.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <vector>

class PrivateServer {
public:
    // A name the server answers to for a database file of its data folder.
    struct Alias {
        QString name; // as a client names the database, e.g. a Windows path
        QString file; // relative to the data folder
    };

    // Prepares the folder and starts the server; Running() tells whether
    // that worked (what failed goes to standard error).
    explicit PrivateServer(const std::vector<Alias>& aliases = {});
    ~PrivateServer(); // kills the server
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // Where to make databases on it ("127.x.y.z/3050", its data folder).
    DatabaseServer Place() const;
    // The loopback address it listens on, port 3050.
    const QString& Host() const { return host_; }
    // The server process, 0 while none runs.
    qint64 ProcessId() const;
    bool Running() const;

    // Starts the server (again) and waits until it takes connections.
    bool Start();
    // SIGKILL: the server ends at once, as in a crash or a power cut.
    void Kill();
    // SIGTERM: the server shuts down in order, dropping its attachments
    // (killed if that takes more than ten seconds).
    void Stop();

private:
    bool Prepare(const std::vector<Alias>& aliases);
    bool Listening() const;

    QTemporaryDir root_;
    QString dataDir_;
    QString host_;
    QProcess server_;
};
