// The real program started by a scheduler with eleven arguments: it
// connects, uploads, shows the results window on an X display of the test's
// own, and ends when someone presses "Salir" there. Its catalog and its ERP
// are on a Firebird server of the test's own: the ERP is the one its
// design-time parameters name, the server's alias for C:\dorvan\sop\dorvan.fdb,
// on "localhost", which names that server for the program (needs root).

#include "data/driver/cursor.h"
#include "data/driver/statement.h"
#include "tests/forms/catalog_database.h"
#include "tests/forms/design_time_erp.h"
#include "tests/forms/login_settings.h"
#include "tests/forms/virtual_display.h"
#include "tests/imaging/support/test_jpeg_writer.h"
#include "tests/support/commit_hold.h"
#include "tests/support/eventually.h"
#include "tests/support/localhost_override.h"
#include "tests/support/private_server.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace {

class UploadProgram : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running()) << "the test's own Firebird server did not start";
        if (!localhost_.Active())
            GTEST_SKIP() << localhost_.Failure().toStdString();
        catalog_ = std::make_unique<CatalogDatabase>(server_.Place());
        settings_.WriteServerList("srv1\r\n");
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(WebFolder());
        erp_ = DesignTimeErpOn(server_);
        code_ = QStringLiteral("T%1-").arg(getpid());
        // The company's time left empty: the stamp then writes the time box's
        // blank form, which shows that the run got that far.
        catalog_->Db().Run("update COMPANIA set COMP_FECACT = '2090-01-01', COMP_HORACT = null;");
    }
    void TearDown() override {
        if (program_.state() != QProcess::NotRunning) {
            program_.kill();
            program_.waitForFinished();
        }
    }

    void AddArticle(const QString& code, const std::optional<QByteArray>& photo) {
        const auto insert = erp_->Connection().Prepare(
            "insert into ARTICULOS_ERP (CODIGO, DESCRIPCION, UNIDAD, CATEG, SUBCATEG, PRECIO, "
            "FOTO, ACTIVO, CAMBIO) values (?, 'Prueba', 'PZA', 1, 2, 3.50, ?, 'S', ?)");
        insert->SetText(0, code);
        if (photo)
            insert->SetBlob(1, *photo);
        else
            insert->SetNull(1, Driver::DataType::Blob);
        insert->SetTimestamp(2, QDateTime(QDate(2090, 1, 2), QTime(10, 0)));
        insert->Execute();
    }

    // On the test's display, with the platform chosen for the program or
    // left to its own choice.
    void Start(const QStringList& arguments, bool platformChosen = true) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        if (!platformChosen) {
            env.remove("QT_QPA_PLATFORM");
            env.remove("WAYLAND_DISPLAY");
        }
        env.insert("DISPLAY", display_.Name());
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("XDG_CONFIG_DIRS", settings_.ConfigDir());
        program_.setProcessEnvironment(env);
        program_.start(QStringLiteral(AMQB_EXE), arguments);
        ASSERT_TRUE(program_.waitForStarted());
    }

    QString WebFolder() const { return settings_.DriveC() + "/wamp/www/trevola/imgarti"; }
    std::vector<QStringList> Stamp() {
        return catalog_->Db().Query("select COMP_FECACT, COMP_HORACT from COMPANIA");
    }

    // Declared first: it goes last, after the databases on it.
    PrivateServer server_{{DesignTimeErpAlias()}};
    LocalhostOverride localhost_{server_.Host()};
    LoginSettings settings_;
    std::unique_ptr<CatalogDatabase> catalog_;
    std::unique_ptr<TestDatabase> erp_;
    QString code_;
    VirtualDisplay display_;
    QTemporaryDir runtime_;
    QProcess program_;
};

TEST_F(UploadProgram, ElevenArgumentsUploadShowTheResultsAndEndWithSalir) {
    ASSERT_FALSE(display_.Name().isEmpty());
    const QByteArray jpeg = WriteTestJpeg(TestPattern(40, 30));
    AddArticle(code_ + "1", jpeg);
    AddArticle(code_ + "2", std::nullopt);

    Start({catalog_->ServerLine(), TestDatabase::User(), TestDatabase::Password(), "1", "5", "6",
           "7", "8", "9", "auto", "export"});

    const QString window = display_.FindWindow("Productos actualizados", 30000);
    ASSERT_FALSE(window.isEmpty()) << program_.readAllStandardError().toStdString();
    Eventually(30000, [&] {
        return Stamp() == std::vector<QStringList>{{"2090-01-01", "  :  :  "}};
    });
    ASSERT_EQ(Stamp(), (std::vector<QStringList>{{"2090-01-01", "  :  :  "}}))
        << settings_.ErrorLog().toStdString();
    // The run is over and the window waits for someone.
    EXPECT_FALSE(program_.waitForFinished(500));

    // "Salir", in the button bar at the bottom of the window.
    const QSize size = display_.WindowSize(window);
    ASSERT_TRUE(display_.Click(window, QPoint(792 + 28, size.height() - 37 + 2 + 16)));
    ASSERT_TRUE(program_.waitForFinished(15000)) << "the program did not end";
    EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_.exitCode(), 0) << program_.readAllStandardError().toStdString();

    EXPECT_EQ(catalog_->Db().Query(QStringLiteral("select ARTI_COD, cast(ARTI_FOTO as "
                                                  "varchar(100)) from ARTICULOS where ARTI_COD "
                                                  "starting with '%1' order by 1")
                                       .arg(code_)),
              (std::vector<QStringList>{
                  {code_ + "1", "http://www.trevola.invalid/trevola/imgarti/1-" + code_ + "1.jpg"},
                  {code_ + "2", QString()}}));
    EXPECT_EQ(QDir(WebFolder()).entryList({"1-" + code_ + "*"}, QDir::Files),
              QStringList{"1-" + code_ + "1.jpg"});
    QFile photo(WebFolder() + "/1-" + code_ + "1.jpg");
    ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
    EXPECT_EQ(photo.readAll(), jpeg);
    EXPECT_EQ(settings_.ErrorLog(), QByteArray());
}

// A scheduler's run on a desktop: the windows show as usual, and the
// program ends by itself when the run is over.
TEST_F(UploadProgram, TwelveArgumentsShowTheWindowsOnADisplayAndEndByThemselves) {
    ASSERT_FALSE(display_.Name().isEmpty());
    AddArticle(code_ + "1", WriteTestJpeg(TestPattern(40, 30)));
    AddArticle(code_ + "2", std::nullopt);
    // The second article's commit waits until the test has seen the window.
    auto hold = std::make_unique<CommitHold>(catalog_->Db(), code_ + "2");

    Start({catalog_->ServerLine(), TestDatabase::User(), TestDatabase::Password(), "1", "5", "6",
           "7", "8", "9", "auto", "export", "fin"},
          false);

    EXPECT_FALSE(display_.FindWindow("Productos actualizados", 30000).isEmpty())
        << program_.readAllStandardError().toStdString();
    hold.reset();
    ASSERT_TRUE(program_.waitForFinished(30000)) << "the program did not end by itself";
    EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_.exitCode(), 0) << program_.readAllStandardError().toStdString();
    EXPECT_EQ(Stamp(), (std::vector<QStringList>{{"2090-01-01", "  :  :  "}}));
    EXPECT_EQ(settings_.ErrorLog(), QByteArray());
}

} // namespace
