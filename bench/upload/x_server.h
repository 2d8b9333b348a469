#pragma once
// An X server of the benchmark's own (Xvfb, 1280 x 1024 in 24-bit colour) on
// a display number no other server holds, for the real program to show its
// windows on; stopped with the object.

#include <QProcess>
#include <QString>

class XServer {
public:
    // Raises std::runtime_error when Xvfb is missing or does not start.
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":n".
    const QString& Display() const { return display_; }
    qint64 Pid() const { return server_.processId(); }

private:
    void Stop();

    QProcess server_;
    QString display_;
};

// The CPU time (user and system) that the live process `pid` has used so
// far, in seconds, from /proc/<pid>/stat (a resolution of one clock tick);
// -1 when there is no such process.
double ProcessCpuSeconds(qint64 pid);
