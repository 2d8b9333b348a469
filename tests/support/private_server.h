#pragma once
// A Firebird server of the test's own: a second server process on a port of
// its own, with its own configuration, security database, lock folder and
// data folder under a temporary folder. A test may stop it, kill it and
// start it again without disturbing the shared local server that every
// other suite uses; it goes with the object, and with the test's process
// should that die first.
//
//   PrivateServer server;                    // started, with the test login
//   TestDatabase db(QStringLiteral("t"), server.Place());
//   server.Kill();  ...  server.Start();

#include "tests/support/test_database.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class PrivateServer {
public:
    // Prepares the folder and starts the server; Running() tells whether
    // that worked (what failed goes to standard error).
    PrivateServer();
    ~PrivateServer(); // kills the server
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // Where to make databases on it ("localhost/<port>", its data folder).
    DatabaseServer Place() const;
    int Port() const { return port_; }
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
    bool Prepare();
    bool Listening() const;

    QTemporaryDir root_;
    QString dataDir_;
    int port_ = 0;
    QProcess server_;
};
