#pragma once
// An X server of the test's own (Xvfb) for the real program to show its
// windows on, and xdotool to act on them as a person would: find a window
// by its title and click into it. Both come with tools/install-packages.sh.

#include "tests/support/xvfb.h"

#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

class VirtualDisplay {
public:
    VirtualDisplay() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
            ADD_FAILURE() << "Xvfb or xdotool is missing; run tools/install-packages.sh";
            return;
        }
        // A display number no other server holds.
        name_ = StartXvfb(server_, 100 + getpid() % 400, QStringLiteral("1024x768x24"));
        if (name_.isEmpty())
            ADD_FAILURE() << "Xvfb did not start";
    }
    ~VirtualDisplay() { Stop(); }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // ":n", or empty when no server runs.
    const QString& Name() const { return name_; }

    // Runs xdotool with `arguments` on this display; its output, trimmed,
    // or nothing when it failed.
    std::optional<QString> Xdotool(const QStringList& arguments, int ms = 10000) const {
        QProcess xdotool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), name_);
        xdotool.setProcessEnvironment(env);
        xdotool.start(QStringLiteral("xdotool"), arguments);
        if (!xdotool.waitForFinished(ms)) {
            xdotool.kill();
            xdotool.waitForFinished();
            return std::nullopt;
        }
        if (xdotool.exitStatus() != QProcess::NormalExit || xdotool.exitCode() != 0)
            return std::nullopt;
        return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
    }

    // The id of a visible window with exactly this title, waiting up to `ms`.
    QString FindWindow(const QString& title, int ms) const {
        QDeadlineTimer deadline(ms);
        do {
            const QString id =
                Xdotool({"search", "--onlyvisible", "--name", QStringLiteral("^%1$").arg(title)},
                        5000)
                    .value_or(QString());
            if (!id.isEmpty())
                return id.section(u'\n', 0, 0);
            QThread::msleep(100);
        } while (!deadline.hasExpired());
        return QString();
    }

    // The size of a window's client area (no window manager, so no frame).
    QSize WindowSize(const QString& id) const {
        const QString shell = Xdotool({"getwindowgeometry", "--shell", id}).value_or(QString());
        QSize size;
        for (const QString& line : shell.split(u'\n')) {
            if (line.startsWith(QStringLiteral("WIDTH=")))
                size.setWidth(line.mid(6).toInt());
            else if (line.startsWith(QStringLiteral("HEIGHT=")))
                size.setHeight(line.mid(7).toInt());
        }
        return size;
    }

    // A left click at `at` in the window's coordinates.
    bool Click(const QString& id, QPoint at) const {
        return Xdotool({"mousemove", "--window", id, QString::number(at.x()),
                        QString::number(at.y()), "click", "1"})
            .has_value();
    }

private:
    void Stop() { StopXvfb(server_); }

    QProcess server_;
    QString name_;
};
