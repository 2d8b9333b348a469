#include "tests/support/localhost_override.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

namespace {

const char* const kHosts = "/etc/hosts";

// Moves the calling thread into a mount namespace of its own, once; the
// mounts it makes there are seen by nobody else.
bool InOwnMountNamespace(QString& failure) {
    thread_local bool entered = false;
    if (entered)
        return true;
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        failure = QStringLiteral("cannot enter a mount namespace of the test's own: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    entered = true;
    return true;
}

} // namespace

LocalhostOverride::LocalhostOverride(const QString& address) {
    // The machine's lines for its other names stay.
    QByteArray hosts = address.toLatin1() + " localhost\n";
    QFile machine(QString::fromLatin1(kHosts));
    if (machine.open(QIODevice::ReadOnly))
        for (const QByteArray& line : machine.readAll().split('\n'))
            if (!line.contains("localhost") && !line.trimmed().isEmpty())
                hosts += line + '\n';
    const QString path = folder_.filePath(QStringLiteral("hosts"));
    QFile file(path);
    if (!folder_.isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(hosts) != hosts.size()) {
        failure_ = QStringLiteral("cannot write %1").arg(path);
        return;
    }
    file.close();
    if (!InOwnMountNamespace(failure_))
        return;
    if (::mount(path.toLocal8Bit().constData(), kHosts, nullptr, MS_BIND, nullptr) != 0) {
        failure_ = QStringLiteral("cannot bind %1 over %2: %3")
                       .arg(path, QString::fromLatin1(kHosts),
                            QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    active_ = true;
}

LocalhostOverride::~LocalhostOverride() {
    if (active_)
        ::umount2(kHosts, MNT_DETACH);
}
