// The upload as a person runs it: the real program (articulosmqb, the
// optimised build beside this benchmark) started with the eleven arguments of
// an unattended export, on an X server of the benchmark's own (Xvfb) and on
// Qt's offscreen platform, beside the hand-written loop of upload_bench
// (upload_reference.h) doing the same work. 2,000 articles with 30 KB
// photographs, half of them new; the catalog, settings and web folder of
// UploadSetup, reset before every upload. Run once with the catalog's forced
// writes off and once with them on (restored afterwards).
//
// A program run is timed from the moment before the process starts to the
// company's stamp, both read from the server's clock: the catalog's COMPANIA
// has a trigger that writes CAST('NOW' AS TIMESTAMP) into STAMP_MOMENT when
// the stamp updates its row (the commit follows at once), and the benchmark
// reads the server's 'NOW' just before starting the process. The benchmark
// looks for the moment every 50 ms; when it appears it reads the process's
// CPU time (user and system, /proc/<pid>/stat), which the program then spends
// only on hiding the status panel and painting its window once, and ends the
// program with SIGTERM. The X server's CPU over the same span is reported
// apart. Start-up (process, connection, windows: everything but the articles)
// is measured by a run that finds no article changed, just before each run;
// `*_ratio` is the run less the start-up against the loop, best against best,
// for wall and CPU time. The loop is timed from opening the ERP to its stamp,
// its CPU from clock_gettime(CLOCK_PROCESS_CPUTIME_ID) around it. The three
// take turns going first.
//
// The program reaches its ERP through the alias of its design-time
// parameters, which the test suites share: the benchmark adds its articles
// there (dated 2095, after every test's bound) while it holds the suites'
// lock /tmp/amqb-ctest.lock, and removes them before letting it go. The loop
// reads the same articles from UploadSetup's own ERP.
//
// AMQB_BENCH_PROGRAM names another build of the program (a RelWithDebInfo
// one, to profile); AMQB_BENCH_PERF=<folder> records each full program run
// with `perf record -g` into <folder>/<platform>-fw<0|1>-<n>.data (for
// profiles only: the recording slows the run). AMQB_BENCH_ROUNDS sets the
// rounds (3).

#include "bench/bench_photo.h"
#include "bench/upload/upload_reference.h"
#include "bench/upload/upload_setup.h"
#include "bench/upload/x_server.h"
#include "data/driver/cursor.h"
#include "data/driver/statement.h"
#include "platform/system/stop_signals.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <signal.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kArticles = 2000;
constexpr int kPhotoBytes = 30 * 1024;
constexpr int kPollMs = 50;
constexpr int kRunTimeoutMs = 600000;

UploadSetup* setup = nullptr;
XServer* xServer = nullptr;

// The articles of the program's ERP are dated from here on; the company's
// stamp is set to the first bound for a full run, to the second for a run
// that finds nothing.
const QString kChangedFrom = QStringLiteral("2095-01-01");
const QString kNothingAfter = QStringLiteral("2096-01-01");

// The articles in the ERP the program's design-time parameters name, for as
// long as the object lives, with the test suites' lock held.
class SharedErp {
public:
    SharedErp() {
        lock_ = ::open("/tmp/amqb-ctest.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (lock_ < 0)
            throw std::runtime_error("cannot open /tmp/amqb-ctest.lock");
        if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
            std::fprintf(stderr, "waiting for the test suites' lock /tmp/amqb-ctest.lock\n");
            ::flock(lock_, LOCK_EX);
        }
        erp_ = TestDatabase::Existing(TestDatabase::DataDir() + QStringLiteral("/dorvan.fdb"),
                                      QStringLiteral("dorvan.sql"));
        // The bounds' dates read the same day first or month first.
        const auto order = erp_->Query(QStringLiteral("select ORDEN_FECHA from CONFIGURACION"));
        if (order.size() != 1 || order[0][0] == QStringLiteral("YMD"))
            throw std::runtime_error("the shared ERP reads dates year first");
        Remove();
        Driver::Connection& erp = erp_->Connection();
        erp.StartTransaction(Driver::Isolation::ReadCommitted);
        const auto insert = erp.Prepare(QStringLiteral(
            "insert into ARTICULOS_ERP (CODIGO, DESCRIPCION, UNIDAD, CATEG, SUBCATEG, PRECIO, "
            "FOTO, ACTIVO, CAMBIO) values (?, ?, 'PZA', ?, ?, ?, ?, 'S', ?)"));
        const QDateTime from =
            QDateTime(QDate::fromString(kChangedFrom, Qt::ISODate), QTime(10, 0));
        for (int i = 0; i < kArticles; ++i) {
            insert->SetText(0, UploadSetup::Code(i));
            insert->SetText(1, QStringLiteral("Artículo de prueba número %1").arg(i + 1));
            insert->SetInt32(2, i % 40);
            insert->SetInt32(3, i % 400);
            insert->SetDecimal(4, 150 + i, 2);
            insert->SetBlob(5, BenchPhoto(i, kPhotoBytes));
            insert->SetTimestamp(6, from.addSecs(i));
            insert->Execute();
        }
        erp.Commit();
    }
    ~SharedErp() {
        try {
            Remove();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "the benchmark's articles stay in the shared ERP: %s\n", e.what());
        }
        ::close(lock_);
    }
    SharedErp(const SharedErp&) = delete;
    SharedErp& operator=(const SharedErp&) = delete;

private:
    void Remove() {
        erp_->Run(
            QStringLiteral("delete from ARTICULOS_ERP where CAMBIO >= '%1';").arg(kChangedFrom));
    }

    int lock_ = -1;
    std::unique_ptr<TestDatabase> erp_;
};

// The server's clock, in milliseconds since 2000.
qint64 ServerMs(const QString& expression, const QString& from) {
    const auto rows = setup->Catalog().Query(
        QStringLiteral(
            "select datediff(millisecond from timestamp '2000-01-01 00:00' to %1) from %2")
            .arg(expression, from));
    // The driver hands a bigint over as a decimal of scale 0.
    return rows.empty() ? -1 : std::llround(rows[0][0].toDouble());
}

// The trigger that notes the moment of every stamp.
void AddStampMoment() {
    setup->Catalog().Run(
        QStringLiteral("create table STAMP_MOMENT (AT_MOMENT timestamp not null);"
                       "SET TERM ^ ;"
                       "create trigger COMPANIA_STAMP_MOMENT for COMPANIA after update as "
                       "begin insert into STAMP_MOMENT values (cast('NOW' as timestamp)); end^"
                       "SET TERM ; ^"));
}

// The catalog's stamp, the lower bound of the next run.
void SetBound(const QString& date) {
    setup->Catalog().Run(QStringLiteral("update COMPANIA set COMP_FECACT = '%1', "
                                        "COMP_HORACT = '00:00:00' where COMP_ID = 1;"
                                        "delete from STAMP_MOMENT;")
                             .arg(date));
}

double OwnCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Times {
    double wall = 0; // seconds
    double cpu = 0;  // seconds of the process
    double xCpu = 0; // seconds of the X server over the same span
};

QString FileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().right(2000))
                                          : QString();
}

// `perf record` attached to a process until Stop.
class PerfRecording {
public:
    PerfRecording(qint64 pid, const QString& output) {
        perf_.setProcessChannelMode(QProcess::ForwardedChannels);
        perf_.start(QStringLiteral("perf"),
                    {"record", "-F", "499", "-g", "--call-graph", "dwarf,16384", "-p",
                     QString::number(pid), "-o", output});
        perf_.waitForStarted();
    }
    ~PerfRecording() {
        if (perf_.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(perf_.processId()), SIGINT);
        perf_.waitForFinished(60000);
    }
    PerfRecording(const PerfRecording&) = delete;
    PerfRecording& operator=(const PerfRecording&) = delete;

private:
    QProcess perf_;
};

QString ProgramPath() {
    const QString given = qEnvironmentVariable("AMQB_BENCH_PROGRAM");
    return given.isEmpty() ? QStringLiteral(AMQB_PROGRAM) : given;
}

// One unattended export by the real program, on the X server (`x`) or on the
// offscreen platform, up to the company's stamp. `profile` names the perf
// recording, when profiles are asked for.
Times RunProgram(const XServer* x, const QString& profile = QString()) {
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               x ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
    if (x)
        env.insert(QStringLiteral("DISPLAY"), x->Display());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    QProcess program;
    program.setProcessEnvironment(env);
    const QString output = runtime.filePath(QStringLiteral("output.txt"));
    program.setStandardOutputFile(output);
    program.setStandardErrorFile(output);

    const double xBefore = x ? ProcessCpuSeconds(x->Pid()) : 0;
    const qint64 start =
        ServerMs(QStringLiteral("cast('NOW' as timestamp)"), QStringLiteral("rdb$database"));
    program.start(ProgramPath(),
                  {setup->ServerLine(), TestDatabase::User(), TestDatabase::Password(), "1", "5",
                   "6", "7", "8", "9", "auto", "export"});
    if (!program.waitForStarted())
        throw std::runtime_error("the program did not start: " + ProgramPath().toStdString());
    std::unique_ptr<PerfRecording> perf;
    const QString perfFolder = qEnvironmentVariable("AMQB_BENCH_PERF");
    if (!perfFolder.isEmpty() && !profile.isEmpty())
        perf = std::make_unique<PerfRecording>(program.processId(), perfFolder + u'/' + profile);

    Times times;
    qint64 stamp = -1;
    QDeadlineTimer deadline(kRunTimeoutMs);
    while ((stamp = ServerMs(QStringLiteral("AT_MOMENT"), QStringLiteral("STAMP_MOMENT"))) < 0) {
        if (program.waitForFinished(kPollMs) || deadline.hasExpired() || StopSignalReceived()) {
            program.kill();
            program.waitForFinished();
            throw std::runtime_error("the program did not stamp the company: " +
                                     FileText(output).toStdString());
        }
    }
    times.cpu = ProcessCpuSeconds(program.processId());
    times.xCpu = x ? ProcessCpuSeconds(x->Pid()) - xBefore : 0;
    times.wall = double(stamp - start) * 1e-3;
    perf.reset();
    program.terminate();
    if (!program.waitForFinished(15000)) {
        program.kill();
        program.waitForFinished();
    }
    return times;
}

// A run that uploads every article, checked.
Times FullRun(const XServer* x, const QString& profile) {
    setup->Reset();
    SetBound(kChangedFrom);
    const Times times = RunProgram(x, profile);
    const auto written = setup->Catalog().Query(
        QStringLiteral("select count(*) from ARTICULOS where ARTI_ACTIVO = 'S'"));
    if (setup->PhotoFiles() != kArticles || written.at(0).at(0).toInt() != kArticles)
        throw std::runtime_error("the program did not upload every article");
    return times;
}

// A run that finds nothing to upload: the program's start-up and the stamp.
Times StartUp(const XServer* x) {
    setup->Reset();
    SetBound(kNothingAfter);
    const Times times = RunProgram(x);
    if (setup->PhotoFiles() != 0)
        throw std::runtime_error("a run without articles wrote photographs");
    return times;
}

Times ReferenceRun() {
    setup->Reset();
    const double before = OwnCpuSeconds();
    // The texts the program sends for the stamp of UploadSetup's ERP, which
    // reads dates month first.
    StepClock steps;
    const RunTimes t =
        ReferenceUpload(*setup, QStringLiteral("04/23/2020"), QStringLiteral("14:05:09"), steps);
    Times times;
    times.cpu = OwnCpuSeconds() - before;
    times.wall = t.total;
    if (setup->PhotoFiles() != kArticles)
        throw std::runtime_error("the reference did not write every photograph");
    return times;
}

// The best of each measure over the runs of one side.
struct Best {
    double wall = 1e300, cpu = 1e300, xCpu = 1e300;
    void Add(const Times& t) {
        wall = std::min(wall, t.wall);
        cpu = std::min(cpu, t.cpu);
        xCpu = std::min(xCpu, t.xCpu);
    }
};

void Print(const char* what, int run, const Times& t) {
    std::fprintf(stderr, "  %-22s %d: wall %6.2f s  cpu %6.2f s  X server cpu %5.2f s\n", what, run,
                 t.wall, t.cpu, t.xCpu);
}

// Arg 0: the catalog's forced writes off; 1: on.
void BM_UploadOnDisplay(benchmark::State& state) {
    const bool forcedWrites = state.range(0) != 0;
    const QString catalog = setup->Catalog().Database();
    bool before = false;
    Best onX, onXStart, offscreen, offscreenStart, ref;
    try {
        SharedErp erp;
        before = SetForcedWrites(catalog, forcedWrites);
        int turn = 0;
        for (auto _ : state) {
            if (StopSignalReceived())
                throw std::runtime_error("stopped by a signal");
            const QString tag = QStringLiteral("-fw%1-%2.data").arg(int(forcedWrites)).arg(turn);
            for (int k = 0; k < 3; ++k) {
                switch ((k + turn) % 3) {
                case 0: {
                    const Times s = StartUp(xServer);
                    const Times t = FullRun(xServer, QStringLiteral("x") + tag);
                    Print("X start-up", turn, s);
                    Print("X display", turn, t);
                    onXStart.Add(s);
                    onX.Add(t);
                    state.SetIterationTime(t.wall);
                    break;
                }
                case 1: {
                    const Times s = StartUp(nullptr);
                    const Times t = FullRun(nullptr, QStringLiteral("offscreen") + tag);
                    Print("offscreen start-up", turn, s);
                    Print("offscreen", turn, t);
                    offscreenStart.Add(s);
                    offscreen.Add(t);
                    break;
                }
                default: {
                    const Times t = ReferenceRun();
                    Print("hand-written loop", turn, t);
                    ref.Add(t);
                }
                }
            }
            ++turn;
        }
    } catch (const std::exception& e) {
        SetForcedWrites(catalog, before);
        state.SkipWithError(e.what());
        return;
    }
    SetForcedWrites(catalog, before);
    state.counters["articles"] = kArticles;
    state.counters["forced_writes"] = forcedWrites;
    state.counters["x_s"] = onX.wall;
    state.counters["x_cpu_s"] = onX.cpu;
    state.counters["x_server_cpu_s"] = onX.xCpu;
    state.counters["x_startup_s"] = onXStart.wall;
    state.counters["x_startup_cpu_s"] = onXStart.cpu;
    state.counters["off_s"] = offscreen.wall;
    state.counters["off_cpu_s"] = offscreen.cpu;
    state.counters["off_startup_s"] = offscreenStart.wall;
    state.counters["off_startup_cpu_s"] = offscreenStart.cpu;
    state.counters["ref_s"] = ref.wall;
    state.counters["ref_cpu_s"] = ref.cpu;
    state.counters["x_ratio"] = (onX.wall - onXStart.wall) / ref.wall;
    state.counters["x_cpu_ratio"] = (onX.cpu - onXStart.cpu) / ref.cpu;
    state.counters["off_ratio"] = (offscreen.wall - offscreenStart.wall) / ref.wall;
    state.counters["off_cpu_ratio"] = (offscreen.cpu - offscreenStart.cpu) / ref.cpu;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A stop signal (Ctrl+C) ends the benchmark between two steps, so that
    // its articles leave the shared ERP; a second one ends it at once.
    InstallStopSignalHandlers();
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    try {
        XServer x;
        UploadSetup uploads(kArticles, kPhotoBytes);
        xServer = &x;
        setup = &uploads;
        AddStampMoment();
        // Three rounds unless AMQB_BENCH_ROUNDS says otherwise.
        const int rounds = qEnvironmentVariableIntValue("AMQB_BENCH_ROUNDS");
        benchmark::RegisterBenchmark("BM_UploadOnDisplay", BM_UploadOnDisplay)
            ->ArgName("forced_writes")
            ->Arg(0)
            ->Arg(1)
            ->UseManualTime()
            ->Unit(benchmark::kSecond)
            ->Iterations(rounds > 0 ? rounds : 3);
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
