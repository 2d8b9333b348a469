#include "tests/forms/catalog_database.h"
#include "tests/forms/login_settings.h"
#include "tests/support/eventually.h"
#include "tests/support/program_output.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <ostream>
#include <signal.h>
#include <sys/file.h>

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
    void Start(const QStringList& arguments, const QProcessEnvironment& more = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(more);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("XDG_CONFIG_DIRS", settings_.ConfigDir());
        program_.setProcessEnvironment(env);
        program_.start(QStringLiteral(AMQB_EXE), arguments);
        ASSERT_TRUE(program_.waitForStarted());
    }
    // Waits up to `ms` for the program to attach to the catalog.
    bool Attaches(int ms) {
        return Eventually(ms, [&] { return catalog_.AttachmentsOf(program_.processId()) > 0; });
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

TEST_F(Program, AtItsStartItRemovesTheRowsTemporaryFilesThatKilledRunsLeft) {
    QTemporaryDir temp;
    const auto write = [&](const char* name) {
        QFile file(temp.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::WriteOnly) && file.write("rows") == 4;
    };
    ASSERT_TRUE(write("amqb-rows.4242.Ab12Cd.tmp"));
    // One that a live run holds, and a file of another kind, stay.
    ASSERT_TRUE(write("amqb-rows.4343.Xy34Zw.tmp"));
    ASSERT_TRUE(write("amqb-rows.notes.txt"));
    QFile held(temp.filePath(QStringLiteral("amqb-rows.4343.Xy34Zw.tmp")));
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(held.handle(), LOCK_EX), 0);
    QProcessEnvironment env;
    env.insert("TMPDIR", temp.path());

    Start(Nine(), env);

    EXPECT_TRUE(Eventually(15000, [&] {
        return QDir(temp.path()).entryList(QDir::Files) ==
               QStringList({"amqb-rows.4343.Xy34Zw.tmp", "amqb-rows.notes.txt"});
    })) << QDir(temp.path()).entryList(QDir::Files).join(u' ').toStdString();
    EXPECT_TRUE(Running());
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
    Eventually(15000, [&] { return !settings_.ErrorLog().isEmpty(); });
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

// The process's own view of itself in /proc: a line of its status, and
// whether a library is mapped.
QByteArray ProcStatusLine(qint64 pid, const QByteArray& key) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed();
    return {};
}

bool Catches(qint64 pid, int signal) {
    return (ProcStatusLine(pid, "SigCgt").toULongLong(nullptr, 16) >> (signal - 1)) & 1;
}

bool HasLoaded(qint64 pid, const QByteArray& library) {
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// Where the program stands when the signal comes.
enum class Standing {
    Idle,      // at the login window, the client library not loaded
    Connected, // connected from the command line, waiting for the user
    ErrorBox,  // a failed connection's error box waiting for someone
};

struct StopCase {
    const char* name;
    Standing standing;
    int signal;
    friend void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }
};

class ProgramStop : public Program, public testing::WithParamInterface<StopCase> {
protected:
    // Starts the program and waits until it stands where the case says.
    void Reach(Standing standing) {
        switch (standing) {
        case Standing::Idle:
            Start(Nine());
            ASSERT_TRUE(Eventually(15000, [&] {
                return Catches(program_.processId(), SIGTERM) &&
                       Catches(program_.processId(), SIGINT);
            }));
            // Past its start, in its loop.
            ASSERT_TRUE(Running());
            break;
        case Standing::Connected:
            Start(Nine() << "auto");
            ASSERT_TRUE(Attaches(15000));
            break;
        case Standing::ErrorBox:
            Start(Nine("not-the-password") << "auto");
            ASSERT_TRUE(Eventually(15000, [&] { return !settings_.ErrorLog().isEmpty(); }));
            break;
        }
        ASSERT_EQ(HasLoaded(program_.processId(), "libfbclient"), standing != Standing::Idle);
    }
};

TEST_P(ProgramStop, EndsPromptlyAndCleanly) {
    const StopCase& c = GetParam();
    Reach(c.standing);
    if (HasFatalFailure())
        return;
    const qint64 pid = program_.processId();
    // A pid of 0 would signal the test's own process group.
    ASSERT_GT(pid, 0) << "the program ended before the signal";
    const QByteArray logBefore = settings_.ErrorLog();
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), c.signal), 0);

    ASSERT_TRUE(program_.waitForFinished(5000)) << "still running after the signal";
    // Ended by the signal itself, after its clean-up: what a shell reports as 128 + signal.
    EXPECT_EQ(program_.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(program_.exitCode(), c.signal);
    const QByteArray err = program_.readAllStandardError();
    EXPECT_FALSE(HoldsAFailureOfTheProgram(err)) << err.toStdString();
    // Nothing left behind: no attachment, no new entry in the log, no stray file.
    EXPECT_EQ(catalog_.AttachmentsOf(pid), 0);
    EXPECT_EQ(settings_.ErrorLog(), logBefore);
    EXPECT_EQ(FilesIn(settings_.AppDir()), QStringList{"SERVIDORES.cfg"});
    EXPECT_EQ(FilesIn(settings_.DriveC()),
              logBefore.isEmpty() ? QStringList() : QStringList{"ERRORES.TXT"});
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramStop,
                         testing::Values(StopCase{"IdleSigterm", Standing::Idle, SIGTERM},
                                         StopCase{"IdleSigint", Standing::Idle, SIGINT},
                                         StopCase{"ConnectedSigterm", Standing::Connected, SIGTERM},
                                         StopCase{"ConnectedSigint", Standing::Connected, SIGINT},
                                         StopCase{"ErrorBoxSigterm", Standing::ErrorBox, SIGTERM},
                                         StopCase{"ErrorBoxSigint", Standing::ErrorBox, SIGINT}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
