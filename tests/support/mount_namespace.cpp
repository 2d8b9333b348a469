#include "tests/support/mount_namespace.h"

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

bool EnterOwnMountNamespace(QString& failure) {
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

TmpfsMount::TmpfsMount(const QString& folder, qint64 bytes) : folder_(folder) {
    if (!EnterOwnMountNamespace(failure_))
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, options.constData()) != 0) {
        failure_ = QStringLiteral("cannot mount a tmpfs over %1: %2")
                       .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    active_ = true;
}

TmpfsMount::~TmpfsMount() {
    if (active_)
        ::umount2(folder_.toLocal8Bit().constData(), MNT_DETACH);
}
