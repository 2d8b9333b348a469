#pragma once
// The program's settings for a test of the login window: XDG_CONFIG_DIRS
// points at a temporary folder whose Ostrel/Trevola.conf names a temporary
// application folder (Directorio) and maps drive C to another one, where the
// error log ERRORES.TXT is written. The server list goes into the
// application folder.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class LoginSettings {
public:
    LoginSettings() {
        hadDirs_ = qEnvironmentVariableIsSet("XDG_CONFIG_DIRS");
        oldDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", config_.path().toLocal8Bit());
        WriteSettings("Directorio = " + AppDir().toLocal8Bit() +
                      "\n[Drives]\nC = " + DriveC().toLocal8Bit() + "\n");
    }
    ~LoginSettings() {
        if (hadDirs_)
            qputenv("XDG_CONFIG_DIRS", oldDirs_);
        else
            qunsetenv("XDG_CONFIG_DIRS");
    }
    LoginSettings(const LoginSettings&) = delete;
    LoginSettings& operator=(const LoginSettings&) = delete;

    // Replaces the whole settings file.
    void WriteSettings(const QByteArray& content) const {
        QDir().mkpath(config_.path() + QStringLiteral("/Ostrel"));
        WriteFile(config_.path() + QStringLiteral("/Ostrel/Trevola.conf"), content);
    }
    // No settings file at all: the registry key does not exist.
    void RemoveSettings() const {
        QFile::remove(config_.path() + QStringLiteral("/Ostrel/Trevola.conf"));
    }
    void WriteServerList(const QByteArray& bytes) const {
        WriteFile(AppDir() + QStringLiteral("/SERVIDORES.cfg"), bytes);
    }

    QString ConfigDir() const { return config_.path(); }
    QString AppDir() const { return app_.path(); }
    QString DriveC() const { return drive_.path(); }
    QString ErrorLogPath() const { return DriveC() + QStringLiteral("/ERRORES.TXT"); }
    // The error log's bytes; empty when there is none.
    QByteArray ErrorLog() const {
        QFile file(ErrorLogPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        file.write(bytes);
    }

private:
    QTemporaryDir config_;
    QTemporaryDir app_;
    QTemporaryDir drive_;
    bool hadDirs_ = false;
    QByteArray oldDirs_;
};
