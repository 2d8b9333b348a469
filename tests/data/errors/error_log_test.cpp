#include "data/errors/error_log.h"
#include "platform/system/ansi.h"
#include "platform/system/format_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class ErrorLog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        LoadFromLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    }
    void TearDown() override { LoadFromLocale(QLocale::system()); }

    QString LogPath() const { return dir_.filePath("ERRORES.TXT"); }

    QTemporaryDir dir_;
    // 23 April 2020, 14:05:09
    TFixedClock clock_{EncodeDateTime(2020, 4, 23, 14, 5, 9, 0)};
};

TEST_F(ErrorLog, TheFirstEntryCreatesTheFileLaterOnesAppend) {
    AppendErrorLog(dir_.path(), "",
                   "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server "
                   "Error: Your user name and password are not defined.");
    AppendErrorLog(dir_.path(), "", "Cannot create file \"c:\\x.jpg\"");
    EXPECT_EQ(ReadAll(LogPath()),
              "23/4/2020,14:05:09,,SQLDriver Error: [0x0015]: Connection failed\r\n"
              "SQL Server Error: Your user name and password are not defined.\r\n"
              "23/4/2020,14:05:09,,Cannot create file \"c:\\x.jpg\"\r\n");
}

TEST_F(ErrorLog, TheLogIsWrittenInTheAnsiCodePage) {
    AppendErrorLog(dir_.path(), "usuario", "Compañía €");
    EXPECT_EQ(ReadAll(LogPath()), "23/4/2020,14:05:09,usuario," + ToAnsi(u"Compañía €") + "\r\n");
}

TEST_F(ErrorLog, TheFirstTwoFieldsFollowTheLocale) {
    for (const QLocale& locale : {QLocale(QLocale::Spanish, QLocale::Spain),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        LoadFromLocale(locale);
        const TFormatSettings& s = FormatSettings();
        const QString line = ErrorLogLine(Now(), "", "m");
        const QString expected = FormatDateTime(s.ShortDateFormat, Now(), s) + "," +
                                 FormatDateTime(s.LongTimeFormat, Now(), s);
        EXPECT_TRUE(line.startsWith(expected + ",,m")) << line.toStdString();
    }
    LoadFromLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    EXPECT_TRUE(ErrorLogLine(Now(), "", "m").startsWith("23/4/2020,"));
    LoadFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(ErrorLogLine(Now(), "", "m").startsWith("4/23/2020,"));
}

TEST_F(ErrorLog, AnUnwritableLogLosesTheEntrySilently) {
    const QString folder = dir_.filePath("no/such/folder");
    EXPECT_NO_THROW(AppendErrorLog(folder, "", "lost"));
    EXPECT_FALSE(QFile::exists(folder + "/ERRORES.TXT"));

    // A log path that cannot be written, whatever the rights of the user: a folder.
    ASSERT_TRUE(QDir(dir_.path()).mkdir("ERRORES.TXT"));
    EXPECT_NO_THROW(AppendErrorLog(dir_.path(), "", "lost too"));
    EXPECT_TRUE(QFileInfo(LogPath()).isDir());
}

} // namespace
