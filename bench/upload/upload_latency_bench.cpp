// The upload over a slow link: the program's run and the hand-written
// reference loop (upload_reference.h) side by side, with the catalog reached
// through a relay on loopback that delays every packet by half the round
// trip each way (latency_proxy.h), at a round trip of 0 and of 20 ms. The
// ERP stays on the local server, as a shop's does. 300 articles with 30 KB
// photographs, half of them new, the other half in the catalog with other
// values and the address of an earlier photograph.
//
// Reported, for the program (run_) and the reference (ref_):
//   s             the best total of the repetitions (showing the window, or
//                 opening the ERP, to the end of the stamp)
//   rt_article    the client's turns (a send after the server's answer, each
//                 a wait of one round trip) in the whole run, per article
//   lookup_rt, apply_rt, photo_rt   turns per article in each step
//   stamp_rt, other_rt              turns of the stamp, and of the rest of
//                 the run (before the first article), in all
//   lookup_ms, apply_ms, photo_ms   time per article in each step
//   stamp_ms      time of the stamp
// and `ratio`, the program's best total against the reference's. Also
// printed, from the catalog's MON$DATABASE as another attachment reads it at
// the first, the middle and the last article and after the run: the oldest
// interesting, oldest active and oldest snapshot transactions and the next
// one ("# gc ..."), which tell what the run holds back from the garbage
// collection of the catalog. When the
// wire is not encrypted (a server and client with WireCrypt = Disabled, see
// docs/performance.md) the Firebird operations of every turn are printed
// by step, "# <side> <step>: <turns> x <operations>".
//
// Arguments: the round trip in milliseconds. AMQB_RTT_ARTICLES sets another
// number of articles.

#include "bench/upload/latency_proxy.h"
#include "bench/upload/upload_program.h"
#include "bench/upload/upload_reference.h"
#include "bench/upload/upload_setup.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int kPhotoBytes = 30 * 1024;
// Turns outside a run (logging in, detaching) are counted here and dropped.
constexpr int kOutsideRun = LatencyProxy::kSteps - 1;

int Articles() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("AMQB_RTT_ARTICLES", &ok);
    return ok && n > 0 ? n : 300;
}

// The local server's host and port, which the relay leads to.
std::pair<QString, int> ServerAddress() {
    const QString host = TestDatabase::Host();
    const qsizetype slash = host.indexOf(u'/');
    if (slash < 0)
        return {host, 3050};
    return {host.left(slash), host.mid(slash + 1).toInt()};
}

// The catalog's transaction markers as another attachment sees them now.
QString TransactionMarkers(UploadSetup& setup) {
    const auto rows = setup.Catalog().Query(
        QStringLiteral("select MON$OLDEST_TRANSACTION, MON$OLDEST_ACTIVE, MON$OLDEST_SNAPSHOT, "
                       "MON$NEXT_TRANSACTION from MON$DATABASE"));
    const QStringList& r = rows.at(0);
    return QStringLiteral("oldest interesting %1, oldest active %2, oldest snapshot %3, next %4")
        .arg(r[0], r[1], r[2], r[3]);
}

// Samples the markers at the first, the middle and the last article's lookup.
class MarkerSampler {
public:
    MarkerSampler(UploadSetup& setup) : setup_(setup) {}
    void Step(std::optional<UploadStep> step) {
        if (step != UploadStep::Lookup)
            return;
        ++lookups_;
        if (lookups_ == 1 || lookups_ == setup_.Articles() / 2 || lookups_ == setup_.Articles())
            samples
                << QStringLiteral("article %1: %2").arg(lookups_).arg(TransactionMarkers(setup_));
    }
    QStringList samples;

private:
    UploadSetup& setup_;
    int lookups_ = 0;
};

// One side's figures over the repetitions.
struct Side {
    double best = 1e300;
    int runs = 0;
    std::array<double, kUploadSteps> seconds{};
    std::array<long, kUploadSteps> turns{};
    std::array<std::map<QString, long>, kUploadSteps> ops;
    long encryptedTurns = 0;

    void Add(const RunTimes& t, const LatencyProxy::Counts& c) {
        best = std::min(best, t.total);
        ++runs;
        for (int s = 0; s < kUploadSteps; ++s) {
            seconds[size_t(s)] += t.stepSeconds[size_t(s)];
            turns[size_t(s)] += c.turns[size_t(s)];
            for (const auto& [signature, count] : c.ops[size_t(s)])
                ops[size_t(s)][signature] += count;
        }
        encryptedTurns += c.encryptedTurns;
    }
    void Report(benchmark::State& state, const std::string& prefix, int articles) const {
        const double perRun = 1.0 / std::max(runs, 1);
        const double perArticle = perRun / articles;
        long all = 0;
        for (long t : turns)
            all += t;
        state.counters[prefix + "s"] = best;
        state.counters[prefix + "rt_article"] = double(all) * perArticle;
        for (const UploadStep s : {UploadStep::Lookup, UploadStep::Apply, UploadStep::Photo}) {
            const std::string name = prefix + kUploadStepNames[int(s)];
            state.counters[name + "_rt"] = double(turns[size_t(s)]) * perArticle;
            state.counters[name + "_ms"] = seconds[size_t(s)] * perArticle * 1e3;
        }
        state.counters[prefix + "stamp_rt"] = double(turns[size_t(UploadStep::Stamp)]) * perRun;
        state.counters[prefix + "stamp_ms"] = seconds[size_t(UploadStep::Stamp)] * perRun * 1e3;
        state.counters[prefix + "other_rt"] = double(turns[size_t(UploadStep::Other)]) * perRun;
    }
    void PrintOps(const char* side, int roundTripMs) const {
        for (int s = 0; s < kUploadSteps; ++s)
            for (const auto& [signature, count] : ops[size_t(s)])
                std::printf("# %d ms %s %s: %ld x %s\n", roundTripMs, side, kUploadStepNames[s],
                            count, qPrintable(signature));
        if (encryptedTurns > 0)
            std::printf("# %d ms %s: %ld turns on an encrypted wire, operations not read\n",
                        roundTripMs, side, encryptedTurns);
    }
};

void BM_UploadOverLatency(benchmark::State& state) {
    static UploadSetup setup(Articles(), kPhotoBytes, true);
    const int roundTripMs = int(state.range(0));
    const auto [host, port] = ServerAddress();
    LatencyProxy proxy(host, port, roundTripMs);
    setup.RouteCatalogThrough(proxy.Address());
    proxy.SetStep(kOutsideRun);
    std::optional<MarkerSampler> sampler;
    const auto toProxy = [&](std::optional<UploadStep> step) {
        proxy.SetStep(step ? int(*step) : kOutsideRun);
        if (sampler)
            sampler->Step(step);
    };
    QStringList markers;
    Side run, ref;
    int turn = 0;
    for (auto _ : state) {
        try {
            for (int side = 0; side < 2; ++side) {
                setup.Reset();
                StepClock steps(toProxy);
                proxy.Take();
                const bool program = (side + turn) % 2 == 0;
                if (turn == 0)
                    sampler.emplace(setup);
                if (program) {
                    const RunTimes t = ProgramUpload(setup, steps);
                    state.SetIterationTime(t.total);
                    run.Add(t, proxy.Take());
                } else {
                    const RunTimes t = ReferenceUpload(setup, steps);
                    ref.Add(t, proxy.Take());
                }
                proxy.SetStep(kOutsideRun);
                if (sampler) {
                    const QString who =
                        program ? QStringLiteral("program") : QStringLiteral("reference");
                    for (const QString& sample : sampler->samples)
                        markers << who + u' ' + sample;
                    markers << who + QStringLiteral(" after the run: ") + TransactionMarkers(setup);
                    sampler.reset();
                }
            }
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
        ++turn;
    }
    state.counters["articles"] = setup.Articles();
    state.counters["round_trip_ms"] = roundTripMs;
    run.Report(state, "run_", setup.Articles());
    ref.Report(state, "ref_", setup.Articles());
    state.counters["ratio"] = run.best / ref.best;
    run.PrintOps("program", roundTripMs);
    ref.PrintOps("reference", roundTripMs);
    for (const QString& line : markers)
        std::printf("# %d ms gc %s\n", roundTripMs, qPrintable(line));
}
BENCHMARK(BM_UploadOverLatency)
    ->ArgName("round_trip_ms")
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(3);
BENCHMARK(BM_UploadOverLatency)
    ->ArgName("round_trip_ms")
    ->Arg(20)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace
