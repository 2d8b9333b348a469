#include "tests/forms/catalog_database.h"
#include "tests/forms/login_settings.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <ostream>

namespace {

// The real program started from its command line, on settings of its own;
// what it does is seen in the catalog database and in its error log.
class Program : public testing::Test {
protected:
    void SetUp() override {
        settings_.WriteServerList("srv1\r\n");
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override {
        if (program_.state() != QProcess::NotRunning) {
            program_.kill();
            program_.waitForFinished();
        }
    }
    void Start(const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("XDG_CONFIG_DIRS", settings_.ConfigDir());
        program_.setProcessEnvironment(env);
        program_.start(QStringLiteral(AMQB_EXE), arguments);
        ASSERT_TRUE(program_.waitForStarted());
    }
    // Waits up to `ms` for the program to attach to the catalog.
    bool Attaches(int ms) {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (catalog_.AttachmentsOf(program_.processId()) > 0)
                return true;
            QThread::msleep(100);
        }
        return false;
    }
    bool Running() { return !program_.waitForFinished(300); }
    // Positions 1 to 4, then five fillers.
    QStringList Nine(const QString& password = TestDatabase::Password()) const {
        return {
            catalog_.ServerLine(), TestDatabase::User(), password, "1", "5", "6", "7", "8", "9"};
    }

    LoginSettings settings_;
    CatalogDatabase catalog_;
    QTemporaryDir runtime_;
    QProcess program_;
};

TEST_F(Program, WithNineArgumentsNothingIsAutomatic) {
    Start(Nine());
    EXPECT_FALSE(Attaches(2500));
    EXPECT_TRUE(Running());
    EXPECT_EQ(settings_.ErrorLog(), QByteArray());
}

TEST_F(Program, WithTenArgumentsItConnectsAndWaits) {
    Start(Nine() << "auto");
    EXPECT_TRUE(Attaches(15000));
    // The whole sequence ran without an error, and no export was started:
    // the stamp is untouched and the program waits for the user.
    EXPECT_TRUE(Running());
    EXPECT_EQ(settings_.ErrorLog(), QByteArray());
    EXPECT_EQ(catalog_.Db().Query("select COMP_HORACT from COMPANIA where COMP_ID = 1"),
              (std::vector<QStringList>{{"14:05:09"}}));
    EXPECT_EQ(program_.readAllStandardError(), QByteArray());
}

TEST_F(Program, WithTenArgumentsAndAWrongPasswordItLogsAndStays) {
    Start(Nine("not-the-password") << "auto"
                                   << "export");
    EXPECT_FALSE(Attaches(1000));
    QDeadlineTimer deadline(15000);
    while (settings_.ErrorLog().isEmpty() && !deadline.hasExpired())
        QThread::msleep(100);
    EXPECT_TRUE(settings_.ErrorLog().contains("Your user name and password are not defined"))
        << settings_.ErrorLog().toStdString();
    // The error box waits for someone; no export was started.
    EXPECT_TRUE(Running());
}

struct BareQuotes {
    const char* name;
    int at;        // where "" goes among the ten arguments
    bool connects; // whether ten arguments remain after it is skipped
    // The case's name in test listings.
    friend void PrintTo(const BareQuotes& c, std::ostream* os) { *os << c.name; }
};

class ProgramBareQuotes : public Program, public testing::WithParamInterface<BareQuotes> {};

TEST_P(ProgramBareQuotes, TakeNoPosition) {
    QStringList arguments = Nine() << "auto";
    if (!GetParam().connects)
        arguments.removeLast(); // nine, and "" would make the tenth
    arguments.insert(GetParam().at, QString());
    Start(arguments);
    EXPECT_EQ(Attaches(GetParam().connects ? 15000 : 2500), GetParam().connects);
    EXPECT_TRUE(Running());
    EXPECT_EQ(settings_.ErrorLog(), QByteArray());
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramBareQuotes,
                         testing::Values(BareQuotes{"BeforeTheServer", 0, true},
                                         BareQuotes{"AfterTheServer", 1, true},
                                         BareQuotes{"MakingATenth", 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
