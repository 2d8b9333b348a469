#pragma once
// Mounts that a test makes for itself alone: the calling thread enters a
// mount namespace of its own (once; the rest of the process and the machine
// keep theirs), where what it mounts is seen by nobody else but the
// processes it starts. Needs root (CAP_SYS_ADMIN).
//
//   TmpfsMount small(folder.path(), 64 * 1024);
//   if (!small.Active()) GTEST_SKIP() << small.Failure();
//   ...                                   // `folder` holds 64 KiB at most

#include <QString>

// Moves the calling thread into a mount namespace of its own, once. False,
// with the reason in `failure`, where that is refused.
bool EnterOwnMountNamespace(QString& failure);

// A tmpfs of `bytes` mounted over `folder` in the thread's own namespace for
// as long as the object lives.
class TmpfsMount {
public:
    TmpfsMount(const QString& folder, qint64 bytes);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool Active() const { return active_; }
    // Why it is not active.
    const QString& Failure() const { return failure_; }

private:
    QString folder_;
    bool active_ = false;
    QString failure_;
};
