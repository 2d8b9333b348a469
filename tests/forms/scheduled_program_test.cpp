// The real program as a scheduler runs it: twelve arguments and no display
// (no DISPLAY, no WAYLAND_DISPLAY, no platform chosen). It must need nobody:
// end by itself when the run ends, tell by its exit status how the run went,
// write what a box would have shown to standard error, and report on
// standard output.

#include "tests/forms/upload_fault_fixture.h"
#include "tests/support/commit_hold.h"

#include <QThread>
#include <ostream>

namespace {

// How the program ended and what it wrote.
struct Ended {
    QProcess::ExitStatus how = QProcess::CrashExit;
    int code = -1;
    QStringList out; // standard output, by lines
    QString err;
};

class ScheduledProgram : public UploadFaults {
protected:
    void SetUp() override {
        UploadFaults::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // A stamp with a time of day, and a record of every stamp written (a
        // run writes the bound it read, so the row alone cannot tell).
        catalog_->Db().Run("update COMPANIA set COMP_FECACT = '2080-01-01', COMP_HORACT = "
                           "'09:30:00' where COMP_ID = 1;"
                           "create table STAMPS_SEEN (COMP_ID integer);"
                           "SET TERM ^ ;"
                           "create trigger STAMP_SEEN for COMPANIA after update as begin "
                           "insert into STAMPS_SEEN (COMP_ID) values (new.COMP_ID); end^"
                           "SET TERM ; ^");
    }

    // Twelve arguments, as a crontab line or a systemd service gives them.
    void StartScheduled(const QString& password = TestDatabase::Password()) {
        QProcessEnvironment env = Environment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        Start(ElevenArguments(password) << "fin", env);
    }
    // Waits for the program to end by itself.
    Ended AwaitEnd() {
        Ended end;
        if (!program_.waitForFinished(60000)) {
            ADD_FAILURE() << "the program did not end by itself";
            return end;
        }
        end.how = program_.exitStatus();
        end.code = program_.exitCode();
        end.out = QString::fromLocal8Bit(program_.readAllStandardOutput())
                      .split(u'\n', Qt::SkipEmptyParts);
        end.err = QString::fromLocal8Bit(program_.readAllStandardError());
        EXPECT_FALSE(HoldsAFailureOfTheProgram(end.err.toLocal8Bit())) << end.err.toStdString();
        return end;
    }
    int StampsWritten() {
        return catalog_->Db().Query("select count(*) from STAMPS_SEEN")[0][0].toInt();
    }
    // The error log as text (Windows-1252, whose letters here are Latin-1's).
    QString ErrorLog() const { return QString::fromLatin1(settings_.ErrorLog()); }

    static QString Summary(int read, int written, int refused, int photos) {
        return QStringLiteral("Artículos leídos: %1; subidos: %2; rechazados: %3; imágenes "
                              "escritas: %4; compañía 1 sellada con 01/01/2080 09:30:00")
            .arg(read)
            .arg(written)
            .arg(refused)
            .arg(photos);
    }
};

TEST_F(ScheduledProgram, ACompleteRunEndsWithZeroAndItsSummary) {
    AddArticles(3);
    StartScheduled();
    const Ended end = AwaitEnd();

    EXPECT_EQ(end.how, QProcess::NormalExit);
    EXPECT_EQ(end.code, 0) << end.err.toStdString();
    EXPECT_EQ(end.out, QStringList{Summary(3, 3, 0, 3)});
    EXPECT_EQ(StampsWritten(), 1);
    ExpectEverythingWritten();
    EXPECT_EQ(ErrorLog(), QString());
}

TEST_F(ScheduledProgram, ARefusedArticleEndsWithOneStampedAndLogged) {
    catalog_->Db().Run(
        "alter table ARTICULOS add constraint UNIDAD_CONOCIDA check (ARTI_UNIDAD <> 'MAL');");
    AddArticles(3);
    erp_->Run(QStringLiteral("update ARTICULOS_ERP set UNIDAD = 'MAL' where CODIGO = '%1';")
                  .arg(Code(2)));
    StartScheduled();
    const Ended end = AwaitEnd();

    EXPECT_EQ(end.how, QProcess::NormalExit);
    EXPECT_EQ(end.code, 1) << end.err.toStdString();
    // The photograph is written whether the catalog takes the article or not.
    EXPECT_EQ(end.out, QStringList{Summary(3, 2, 1, 3)});
    EXPECT_EQ(StampsWritten(), 1);
    const QStringList log = ErrorLog().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(log.size(), 1) << ErrorLog().toStdString();
    EXPECT_TRUE(
        log[0].contains(QStringLiteral(",,No se pudo subir el artículo \"%1\": ").arg(Code(2))))
        << log[0].toStdString();
    EXPECT_TRUE(log[0].contains("UNIDAD_CONOCIDA")) << log[0].toStdString();
    // What the box after the run would have shown.
    EXPECT_TRUE(end.err.split(u'\n').contains(
        QStringLiteral("No se pudo subir 1 artículo; el detalle está en ERRORES.TXT")))
        << end.err.toStdString();
}

// What stops a run before its stamp.
enum class Stop { BadArticleCode, MissingWebFolder, WrongPassword, BadURLBase };

struct StopCase {
    const char* name;
    Stop stop;
    friend void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }
};

class ScheduledProgramStopped : public ScheduledProgram,
                                public testing::WithParamInterface<StopCase> {};

TEST_P(ScheduledProgramStopped, EndsWithTwoUnstampedAndLogged) {
    AddArticles(3);
    QString password = TestDatabase::Password();
    QString logged;    // in ERRORES.TXT
    QStringList boxes; // the boxes' texts, one line each on standard error
    switch (GetParam().stop) {
    case Stop::BadArticleCode: {
        const QString code = Code(2) + "/1";
        erp_->Run(QStringLiteral("update ARTICULOS_ERP set CODIGO = '%1' where CODIGO = '%2';")
                      .arg(code, Code(2)));
        logged = QStringLiteral("El código de artículo no sirve como nombre de archivo: \"%1\"")
                     .arg(code);
        boxes << "Se presento el siguiente error: " + logged;
        break;
    }
    case Stop::MissingWebFolder:
        ASSERT_TRUE(QDir(WebFolder()).removeRecursively());
        logged = QStringLiteral("Cannot create file \"c:\\wamp\\www\\trevola\\imgarti\\%1\". No "
                                "such file or directory")
                     .arg(PhotoName(Code(1)));
        boxes << "Se presento el siguiente error: " + logged;
        break;
    case Stop::WrongPassword:
        password = QStringLiteral("not-the-password");
        logged = QStringLiteral("Your user name and password are not defined");
        boxes << QStringLiteral("El nombre de Usuario o la clave son incorrectas.");
        break;
    case Stop::BadURLBase:
        settings_.WriteSettings("Directorio = " + settings_.AppDir().toLocal8Bit() +
                                "\nURLBase = ftp://fotos.example.test\n[Drives]\nC = " +
                                settings_.DriveC().toLocal8Bit() + "\n");
        logged =
            QStringLiteral("El valor URLBase no es una dirección de servidor válida "
                           "(http://servidor o https://servidor): \"ftp://fotos.example.test\"");
        // The login window's creation shows it (the standard error box, not
        // logged), and then the upload stops on it.
        boxes << logged << "Se presento el siguiente error: " + logged;
        break;
    }
    StartScheduled(password);
    const Ended end = AwaitEnd();

    EXPECT_EQ(end.how, QProcess::NormalExit);
    EXPECT_EQ(end.code, 2) << end.err.toStdString();
    EXPECT_EQ(StampsWritten(), 0);
    ASSERT_EQ(end.out.size(), 1) << end.out.join('\n').toStdString();
    EXPECT_TRUE(end.out[0].endsWith("; compañía 1 sin sellar")) << end.out[0].toStdString();
    EXPECT_EQ(ErrorLog().count(logged), 1) << ErrorLog().toStdString();
    QStringList shown;
    for (const QString& line : end.err.split(u'\n'))
        if (boxes.contains(line))
            shown << line;
    EXPECT_EQ(shown, boxes) << end.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Stops, ScheduledProgramStopped,
                         testing::Values(StopCase{"BadArticleCode", Stop::BadArticleCode},
                                         StopCase{"MissingWebFolder", Stop::MissingWebFolder},
                                         StopCase{"WrongPassword", Stop::WrongPassword},
                                         StopCase{"BadURLBase", Stop::BadURLBase}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScheduledProgram, ARunLongerThanTenSecondsTellsItsProgress) {
    AddArticles(3);
    auto hold = std::make_unique<CommitHold>(catalog_->Db(), Code(2));
    StartScheduled();
    ASSERT_TRUE(Eventually(30000, [&] { return hold->Reached(); }))
        << settings_.ErrorLog().toStdString();
    // The upload started before it reached the article held: holding that
    // article for more than 10 seconds makes the run longer than that.
    QThread::msleep(10500);
    hold.reset();
    const Ended end = AwaitEnd();

    EXPECT_EQ(end.code, 0) << end.err.toStdString();
    ASSERT_GE(end.out.size(), 2) << end.out.join('\n').toStdString();
    EXPECT_EQ(end.out.front(), "Subiendo artículos: 2 de 3...");
    EXPECT_EQ(end.out.back(), Summary(3, 3, 0, 3));
    // At most one more, should the last article itself take 10 seconds.
    EXPECT_LE(end.out.size(), 3) << end.out.join('\n').toStdString();
}

TEST_F(ScheduledProgram, AStopSignalKeepsItsStatus) {
    AddArticles(3);
    auto hold = std::make_unique<CommitHold>(catalog_->Db(), Code(2));
    StartScheduled();
    ASSERT_TRUE(Eventually(30000, [&] { return hold->Reached(); }))
        << settings_.ErrorLog().toStdString();
    // The signal comes inside an article; the run stops after it.
    ASSERT_GT(program_.processId(), 0);
    ::kill(static_cast<pid_t>(program_.processId()), SIGTERM);
    hold.reset();
    const Ended end = AwaitEnd();

    EXPECT_EQ(end.how, QProcess::CrashExit);
    EXPECT_EQ(end.code, SIGTERM);
    EXPECT_EQ(StampsWritten(), 0);
    EXPECT_EQ(ErrorLog(), QString());
}

} // namespace
