#include "bench/upload/x_server.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <stdexcept>
#include <unistd.h>

XServer::XServer() {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        throw std::runtime_error("Xvfb is missing; run tools/install-packages.sh");
    // Away from the numbers the test suites pick (100 to 499 first).
    for (int n = 600 + getpid() % 300; n < 1000; ++n) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        if (QFile::exists(socket) || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        display_ = QStringLiteral(":%1").arg(n);
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.start(QStringLiteral("Xvfb"),
                      {display_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-dpi", "96"});
        if (!server_.waitForStarted(5000))
            break;
        // Up once its socket is there; gone at once when another server took
        // the display meanwhile.
        QDeadlineTimer deadline(10000);
        while (!QFile::exists(socket) && !deadline.hasExpired())
            if (server_.waitForFinished(50))
                break;
        if (server_.state() == QProcess::Running && QFile::exists(socket))
            return;
        Stop();
    }
    throw std::runtime_error("Xvfb did not start");
}

XServer::~XServer() {
    Stop();
}

void XServer::Stop() {
    if (server_.state() == QProcess::NotRunning)
        return;
    server_.terminate();
    if (!server_.waitForFinished(5000))
        server_.kill();
    server_.waitForFinished();
}

double ProcessCpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // The command name in parentheses may hold blanks: the fields that
    // follow it start with the state (field 3); utime and stime are 14 and 15.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / ticks;
}
