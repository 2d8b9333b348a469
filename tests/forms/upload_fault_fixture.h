#pragma once
// The real program started by a scheduler (eleven arguments) for an upload
// that something goes wrong in. Its catalog and its ERP live on a Firebird
// server of the test's own, which the test may stop and start again without
// disturbing anyone else: the ERP is the file that the server's alias for the
// design-time path names, and "localhost" names that server for the program
// (LocalhostOverride, which needs root as the mounts of these tests do). The
// test's articles change on 2 January 2080, the company's stamp says 1 January
// 2080 with no time, so a run uploads them. The program reads every article
// of the ERP when the run starts, so a server that goes away later in the run
// fails the catalog's statements only.
//
// A fault must leave every article of the catalog as it was before the run or
// fully written, every photograph absent, as it was, or complete, and a second
// run must complete the work.

#include "data/driver/cursor.h"
#include "data/driver/statement.h"
#include "tests/forms/catalog_database.h"
#include "tests/forms/design_time_erp.h"
#include "tests/forms/login_settings.h"
#include "tests/imaging/support/test_jpeg_writer.h"
#include "tests/support/eventually.h"
#include "tests/support/localhost_override.h"
#include "tests/support/private_server.h"
#include "tests/support/program_output.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <ostream>
#include <signal.h>

// Texts in failure messages as text, not as code units.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// What the catalog and the web folder hold of the test's articles: each
// article's row (description, unit, category, subcategory, photograph
// address, active flag) and each file's bytes.
struct UploadState {
    std::map<QString, QStringList> rows;
    std::map<QString, QByteArray> files;
};

class UploadFaults : public testing::Test {
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
        static int counter = 0;
        prefix_ = QStringLiteral("F%1-%2-").arg(getpid()).arg(++counter);
        Unstamp();
    }
    void TearDown() override { EndProgram(); }

    // ---- The ERP's articles --------------------------------------------------

    QString Code(int i) const { return prefix_ + QStringLiteral("%1").arg(i, 3, 10, QChar(u'0')); }
    static QString PhotoName(const QString& code) { return "1-" + code + ".jpg"; }
    // A photograph of its own size for each revision, so that a file tells
    // which one it is.
    static QByteArray Photo(int revision) {
        return WriteTestJpeg(TestPattern(160 + 8 * (revision % 5), 120));
    }
    static QString Description(int revision) { return QStringLiteral("Revisión %1").arg(revision); }

    // `count` articles, all with a photograph of `revision`.
    void AddArticles(int count, int revision = 1) {
        articles_ = count;
        revision_ = revision;
        Driver::Connection& erp = erp_->Connection();
        erp.StartTransaction(Driver::Isolation::ReadCommitted);
        const auto insert = erp.Prepare(
            "insert into ARTICULOS_ERP (CODIGO, DESCRIPCION, UNIDAD, CATEG, SUBCATEG, PRECIO, "
            "FOTO, ACTIVO, CAMBIO) values (?, ?, 'PZA', 1, 2, 3.50, ?, 'S', ?)");
        const QByteArray photo = Photo(revision);
        for (int i = 1; i <= count; ++i) {
            insert->SetText(0, Code(i));
            insert->SetText(1, Description(revision));
            insert->SetBlob(2, photo);
            insert->SetTimestamp(3, QDateTime(QDate(2080, 1, 2), QTime(10, 0)));
            insert->Execute();
        }
        erp.Commit();
    }
    // Every article changes its description and photograph.
    void Revise(int revision) {
        revision_ = revision;
        const auto update = erp_->Connection().Prepare(
            "update ARTICULOS_ERP set DESCRIPCION = ?, FOTO = ? where CODIGO starting with ?");
        update->SetText(0, Description(revision));
        update->SetBlob(1, Photo(revision));
        update->SetText(2, prefix_);
        update->Execute();
    }

    // ---- The program ---------------------------------------------------------

    // The unattended export of company 1 on the test's catalog.
    QStringList ElevenArguments(const QString& password = TestDatabase::Password()) const {
        return {catalog_->ServerLine(),
                TestDatabase::User(),
                password,
                "1",
                "5",
                "6",
                "7",
                "8",
                "9",
                "auto",
                "export"};
    }
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        // The C locale's dates (the ERP reads month/day/year) and English
        // system error texts, whatever the machine's language.
        env.insert("LC_ALL", "C.UTF-8");
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("XDG_CONFIG_DIRS", settings_.ConfigDir());
        return env;
    }
    void Start() { Start(ElevenArguments(), Environment()); }
    void Start(const QStringList& arguments, const QProcessEnvironment& env) {
        program_.setProcessEnvironment(env);
        program_.start(QStringLiteral(AMQB_EXE), arguments);
        ASSERT_TRUE(program_.waitForStarted());
    }
    // SIGKILL, whatever it is doing.
    void EndProgram() {
        if (program_.state() == QProcess::NotRunning)
            return;
        program_.kill();
        program_.waitForFinished();
    }
    // Sends `signal` and waits up to `ms` for the program to end.
    // A program that has already ended gets no signal: its pid reads 0, which
    // would signal the test's own process group.
    bool StopProgram(int signal, int ms = 5000) {
        if (const qint64 pid = program_.processId(); pid > 0)
            ::kill(static_cast<pid_t>(pid), signal);
        return program_.waitForFinished(ms);
    }
    // Whether the program still runs (waiting up to 100 ms for it to end).
    bool ProgramRunning() {
        return program_.state() != QProcess::NotRunning && !program_.waitForFinished(100);
    }
    // Whether the program has ended, without waiting.
    bool ProgramEnded() {
        return program_.state() == QProcess::NotRunning || program_.waitForFinished(0);
    }
    // Waits until at least `count` photographs of the run are in the folder.
    bool PhotosWritten(int count, int ms = 30000) {
        return Eventually(ms, [&] {
            return QDir(WebFolder()).entryList({"1-" + prefix_ + "*.jpg"}, QDir::Files).size() >=
                   count;
        });
    }

    // A whole run that completes: started, the company stamped, ended by
    // SIGTERM while the results window waits for someone.
    void RunToTheEnd() {
        Start();
        if (!HasFatalFailure())
            AwaitTheStampAndEnd();
    }
    // Waits for the run started to stamp the company, then ends the program
    // as a scheduler would, with SIGTERM: it must end by that signal after its
    // clean-up, with nothing on standard error that only a failure of the
    // program prints (a sanitizer's report, an exception that escaped).
    void AwaitTheStampAndEnd() {
        ASSERT_TRUE(Eventually(60000, [&] { return Stamped() || !ProgramRunning(); }))
            << "the run did not end";
        ASSERT_TRUE(Stamped()) << "the run ended without its stamp\n"
                               << settings_.ErrorLog().toStdString()
                               << program_.readAllStandardError().toStdString();
        ASSERT_TRUE(StopProgram(SIGTERM)) << "still running after SIGTERM";
        const QByteArray err = program_.readAllStandardError();
        EXPECT_EQ(program_.exitStatus(), QProcess::CrashExit)
            << "exit code " << program_.exitCode() << "\n"
            << err.toStdString();
        EXPECT_EQ(program_.exitCode(), SIGTERM) << err.toStdString();
        EXPECT_FALSE(HoldsAFailureOfTheProgram(err)) << err.toStdString();
    }

    // ---- What the catalog and the folder hold --------------------------------

    QString WebFolder() const { return settings_.DriveC() + "/wamp/www/trevola/imgarti"; }
    // The company's time is left empty before a run; the stamp writes the
    // time box's blank form.
    void Unstamp() {
        catalog_->Db().Run("update COMPANIA set COMP_FECACT = '2080-01-01', COMP_HORACT = null "
                           "where COMP_ID = 1;");
    }
    // Articles of the test that the catalog holds in the current revision.
    int ArticlesWritten() {
        const auto rows =
            catalog_->Db().Query("select count(*) from ARTICULOS where ARTI_COD starting with '" +
                                 prefix_ + "' and ARTI_DES = '" + Description(revision_) + "'");
        return rows.empty() ? 0 : rows[0][0].toInt();
    }
    bool Stamped() {
        const auto rows = catalog_->Db().Query("select COMP_HORACT from COMPANIA");
        return !rows.empty() && !rows[0][0].isNull();
    }

    UploadState State() {
        UploadState state;
        for (const QStringList& row : catalog_->Db().Query(
                 "select ARTI_COD, ARTI_DES, ARTI_UNIDAD, CATE_ID, SUCA_ID, cast(ARTI_FOTO as "
                 "varchar(200)), ARTI_ACTIVO from ARTICULOS where ARTI_COD starting with '" +
                 prefix_ + "'"))
            state.rows[row[0]] = row.mid(1);
        const QDir folder(WebFolder());
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
            if (!name.contains(prefix_))
                continue;
            QFile file(folder.filePath(name));
            state.files[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : "(unreadable)";
        }
        return state;
    }
    // The row of an article fully written by a run of `revision`.
    QStringList Written(const QString& code, int revision) const {
        return {Description(revision),
                "PZA",
                "1",
                "2",
                "http://www.trevola.invalid/trevola/imgarti/" + PhotoName(code),
                "S"};
    }

    // Checks that a run of the current revision that something stopped left
    // every article and photograph either as in `before` or fully written,
    // and no temporary file that carries a photograph's name. Returns how
    // many articles it wrote.
    int ExpectNothingHalfDone(const UploadState& before) {
        const UploadState after = State();
        const QByteArray photo = Photo(revision_);
        int written = 0;
        for (int i = 1; i <= articles_; ++i) {
            const QString code = Code(i);
            const auto row = after.rows.find(code);
            const auto old = before.rows.find(code);
            if (row == after.rows.end()) {
                EXPECT_TRUE(old == before.rows.end()) << code.toStdString() << " is gone";
                continue;
            }
            const bool asBefore = old != before.rows.end() && old->second == row->second;
            const bool full = row->second == Written(code, revision_);
            EXPECT_TRUE(asBefore || full)
                << code.toStdString()
                << " is half written: " << row->second.join('|').toStdString();
            written += full && !asBefore;
        }
        for (const auto& [name, bytes] : before.files) {
            if (name.endsWith(".jpg")) {
                EXPECT_TRUE(after.files.count(name)) << name.toStdString() << " is gone";
            }
        }
        for (const auto& [name, bytes] : after.files) {
            if (!name.endsWith(".jpg"))
                continue; // a temporary file a kill left behind
            const auto old = before.files.find(name);
            EXPECT_TRUE(bytes == photo || (old != before.files.end() && old->second == bytes))
                << name.toStdString() << " is not a whole photograph (" << bytes.size()
                << " bytes)";
        }
        return written;
    }
    // Checks that every article and photograph is fully written, with no
    // temporary file left.
    void ExpectEverythingWritten() {
        const UploadState state = State();
        UploadState expected;
        for (int i = 1; i <= articles_; ++i) {
            expected.rows[Code(i)] = Written(Code(i), revision_);
            expected.files[PhotoName(Code(i))] = Photo(revision_);
        }
        EXPECT_EQ(state.rows, expected.rows);
        EXPECT_TRUE(state.files == expected.files) << Describe(state.files);
    }
    static std::string Describe(const std::map<QString, QByteArray>& files) {
        std::string text;
        for (const auto& [name, bytes] : files)
            text += name.toStdString() + " (" + std::to_string(bytes.size()) + " bytes)\n";
        return text;
    }

    // Declared first: it goes last, after the databases on it.
    PrivateServer server_{{DesignTimeErpAlias()}};
    LocalhostOverride localhost_{server_.Host()};
    LoginSettings settings_;
    std::unique_ptr<CatalogDatabase> catalog_;
    std::unique_ptr<TestDatabase> erp_;
    QString prefix_;
    int articles_ = 0;
    int revision_ = 1;
    QTemporaryDir runtime_;
    QProcess program_;
};
