#include "bench/upload/x_server.h"

#include "tests/support/xvfb.h"

#include <QFile>
#include <QStandardPaths>
#include <stdexcept>
#include <unistd.h>

XServer::XServer() {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        throw std::runtime_error("Xvfb is missing; run tools/install-packages.sh");
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Away from the numbers the test suites pick (100 to 499 first).
    display_ = StartXvfb(server_, 600 + getpid() % 300, QStringLiteral("1280x1024x24"));
    if (display_.isEmpty())
        throw std::runtime_error("Xvfb did not start");
}

XServer::~XServer() {
    Stop();
}

void XServer::Stop() {
    StopXvfb(server_);
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
