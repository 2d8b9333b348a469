#pragma once
// "localhost" made to name another loopback address, for the calling thread
// and every process it starts while the object lives. The program's
// design-time parameters name "localhost/3050:C:\...", which reaches the
// shared server; a test that starts the program gives it a PrivateServer
// there instead:
//
//   PrivateServer server({{"C:\\dorvan\\sop\\dorvan.fdb", "dorvan.fdb"}});
//   LocalhostOverride localhost(server.Host());
//   if (!localhost.Active()) GTEST_SKIP() << localhost.Failure();
//   program.start(...);                   // its ERP is the server's dorvan.fdb
//
// The thread enters a mount namespace of its own (once; the rest of the
// process and the machine keep theirs), in which a hosts file of the test's
// own is bound over /etc/hosts. Processes started from the thread share that
// namespace, so a file system a test mounts later from the same thread is
// theirs too. Needs root (CAP_SYS_ADMIN). While active, the thread's own
// "localhost" is the other address as well: it reaches the shared server only
// as 127.0.0.1.

#include <QString>
#include <QTemporaryDir>

class LocalhostOverride {
public:
    explicit LocalhostOverride(const QString& address);
    ~LocalhostOverride(); // /etc/hosts as it was, for the thread
    LocalhostOverride(const LocalhostOverride&) = delete;
    LocalhostOverride& operator=(const LocalhostOverride&) = delete;

    bool Active() const { return active_; }
    // Why it is not active.
    const QString& Failure() const { return failure_; }

private:
    QTemporaryDir folder_;
    bool active_ = false;
    QString failure_;
};
