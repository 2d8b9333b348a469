// The message boxes of a program that nobody watches: each box's text is one
// line on standard error, answered at once; nothing is shown.

#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

namespace {

// What was written to a temporary file standing for standard error.
class Written {
public:
    Written() : file_(std::tmpfile(), &std::fclose) {}
    std::FILE* File() const { return file_.get(); }
    QByteArray Bytes() const {
        std::rewind(file_.get());
        QByteArray bytes;
        char buffer[512];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_.get())) > 0;)
            bytes.append(buffer, static_cast<qsizetype>(n));
        return bytes;
    }

private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
};

TEST(UnattendedBoxes, EachBoxIsOneLineAndNoneWaits) {
    TRecordingAnswerer person;
    Written err;
    {
        TUnattendedMessageBoxes boxes(err.File());
        ShowMessage(QStringLiteral("No se encontró la Clave HKEY_LOCAL_MACHINE\\Software"));
        MessageBeep();
        // The driver's two lines, and breaks of every kind, joined by one blank.
        EXPECT_EQ(MessageBoxes().Show({QStringLiteral("SQLDriver Error: [0x0015]: Connection "
                                                      "failed\r\nSQL Server Error: lost\n"),
                                       QStringLiteral("Error"),
                                       TMsgDlgType::mtError,
                                       {QStringLiteral("OK")}}),
                  0);
        MessageBoxes().Show({QStringLiteral("uno\n\n  dos\rtres"),
                             QString(),
                             TMsgDlgType::mtWarning,
                             {QStringLiteral("Sí"), QStringLiteral("No")}});
        // The standard error box, before an error hook exists.
        Application->ShowException(Exception(QStringLiteral("Invalid data type for 'URLBase'")));
    }
    EXPECT_EQ(QString::fromUtf8(err.Bytes()),
              QStringLiteral("No se encontró la Clave HKEY_LOCAL_MACHINE\\Software\n"
                             "SQLDriver Error: [0x0015]: Connection failed SQL Server Error: lost\n"
                             "uno dos tres\n"
                             "Invalid data type for 'URLBase'\n"));
    EXPECT_TRUE(person.boxes.empty());
    EXPECT_EQ(person.beeps, 0);
    // Gone, it gives the boxes back.
    ShowMessage(QStringLiteral("otra"));
    EXPECT_EQ(person.boxes.size(), 1u);
}

} // namespace
