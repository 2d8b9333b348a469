#pragma once
// A pair of temporary configuration folders that XDG_CONFIG_DIRS points at
// while a test runs, with a helper to write the program's settings file.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class SettingsDirTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(first_.isValid() && second_.isValid());
        hadDirs_ = qEnvironmentVariableIsSet("XDG_CONFIG_DIRS");
        oldDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", (first_.path() + u':' + second_.path()).toLocal8Bit());
    }
    void TearDown() override {
        if (hadDirs_)
            qputenv("XDG_CONFIG_DIRS", oldDirs_);
        else
            qunsetenv("XDG_CONFIG_DIRS");
    }

    // Writes Ostrel/Trevola.conf into the first (or the second) folder.
    void WriteSettings(const QByteArray& content, bool inSecond = false) {
        const QString dir = (inSecond ? second_ : first_).path() + QStringLiteral("/Ostrel");
        ASSERT_TRUE(QDir().mkpath(dir));
        QFile file(dir + QStringLiteral("/Trevola.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QTemporaryDir first_;
    QTemporaryDir second_;

private:
    bool hadDirs_ = false;
    QByteArray oldDirs_;
};
