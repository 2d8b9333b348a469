#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "platform/ui/application.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "tests/support/program_output.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Startup : public testing::Test {
protected:
    // The settings file that stands for the registry, naming a folder with a
    // server list of one line.
    void SetUp() override {
        ASSERT_TRUE(QDir(settings_.path()).mkpath("Ostrel"));
        QFile conf(settings_.filePath("Ostrel/Trevola.conf"));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("Directorio=" + appDir_.path().toUtf8() + "\n");
        conf.close();
        QFile servers(appDir_.filePath("SERVIDORES.cfg"));
        ASSERT_TRUE(servers.open(QIODevice::WriteOnly));
        servers.write("localhost/3050:/srv/trevola\r\n");
        servers.close();
        previousDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", settings_.path().toUtf8());
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_DIRS", previousDirs_);
        while (Application->ComponentCount() > 0)
            delete Application->Components(0);
        faccesoqb = nullptr;
        fdmqb = nullptr;
        Application->Restart();
    }
    QTemporaryDir settings_;
    QTemporaryDir appDir_;
    QByteArray previousDirs_;
    TRecordingAnswerer boxes_;
};

TEST_F(Startup, CreatesTheLoginWindowThenTheDataModule) {
    Application->CreateForm(faccesoqb);
    Application->CreateForm(fdmqb);
    ASSERT_EQ(Application->ComponentCount(), 2);
    EXPECT_EQ(Application->Components(0), faccesoqb);
    EXPECT_EQ(Application->Components(1), fdmqb);
    EXPECT_EQ(Application->MainForm(), faccesoqb);
    EXPECT_EQ(faccesoqb->Caption(), "Actualizar articulos");
    EXPECT_EQ(faccesoqb->Servidor->Items(), QStringList{"localhost/3050:/srv/trevola"});
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(Startup, TheDataModuleHoldsItsConnectionsAndQueriesInOrder) {
    Application->CreateForm(faccesoqb);
    Application->CreateForm(fdmqb);
    QStringList names;
    for (int i = 0; i < fdmqb->ComponentCount(); ++i)
        names << fdmqb->Components(i)->Name();
    EXPECT_EQ(names, (QStringList{"Quelbo", "QBorrar", "Dorvan", "QArticulos", "TArticulo"}));
    EXPECT_FALSE(fdmqb->Quelbo->Connected());
    EXPECT_FALSE(fdmqb->Dorvan->Connected());
    EXPECT_EQ(fdmqb->Dorvan->Params().Value("Database"),
              "localhost/3050:C:\\dorvan\\sop\\dorvan.fdb");
    EXPECT_EQ(fdmqb->Quelbo->Params().Value("user_name"), "sysdba");
    EXPECT_EQ(fdmqb->TArticulo->SQL().join("\n"), "SELECT * FROM ARTICULOS WHERE ARTI_COD = :COD");
    ASSERT_EQ(fdmqb->TArticulo->Params().Count(), 1);
    EXPECT_EQ(fdmqb->TArticulo->Params().ParamByName("COD").AsString(), "01");
}

TEST_F(Startup, TheLoopEndsWhenTheLoginWindowCloses) {
    Application->CreateForm(faccesoqb);
    Application->CreateForm(fdmqb);
    bool shown = false;
    // The person closes the window once the loop runs.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            shown = faccesoqb->Widget()->isVisible();
            faccesoqb->Close();
        },
        Qt::QueuedConnection);
    Application->Run();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(Startup, TheProgramStartsOnItsWindowAndWaitsForTheUser) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment(); // with the settings
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(AMQB_EXE), {});
    ASSERT_TRUE(program.waitForStarted());
    // Running its loop with the window up, it does not end by itself.
    EXPECT_FALSE(program.waitForFinished(1500));
    program.kill();
    program.waitForFinished();
    const QByteArray err = program.readAllStandardError();
    EXPECT_FALSE(HoldsAFailureOfTheProgram(err)) << err.toStdString();
}

} // namespace
