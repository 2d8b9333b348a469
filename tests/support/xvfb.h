#pragma once
// An X server of one's own (Xvfb) on a display number no other server holds,
// for the tests and benchmarks that show the real program's windows.

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QString>

// Ends the server `server` runs, if any.
inline void StopXvfb(QProcess& server) {
    if (server.state() == QProcess::NotRunning)
        return;
    server.terminate();
    if (!server.waitForFinished(5000))
        server.kill();
    server.waitForFinished();
}

// Starts Xvfb in `server` with the screen `screen` ("1024x768x24") on the
// first free display number from `firstNumber` to 999: ":n" once its socket
// is there, or empty when no server could start.
inline QString StartXvfb(QProcess& server, int firstNumber, const QString& screen) {
    for (int n = firstNumber; n < 1000; ++n) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        if (QFile::exists(socket) || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        const QString display = QStringLiteral(":%1").arg(n);
        server.start(QStringLiteral("Xvfb"),
                     {display, "-screen", "0", screen, "-nolisten", "tcp", "-dpi", "96"});
        if (!server.waitForStarted(5000))
            return {};
        // Up once its socket is there; gone at once when another server took
        // the display meanwhile.
        QDeadlineTimer deadline(10000);
        while (!QFile::exists(socket) && !deadline.hasExpired())
            if (server.waitForFinished(50))
                break;
        if (server.state() == QProcess::Running && QFile::exists(socket))
            return display;
        StopXvfb(server);
    }
    return {};
}
