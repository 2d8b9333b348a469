// The upload run as the program does it, side by side with a hand-written
// loop on the Firebird client that does the same work (upload_reference.h):
// the login window connected to a catalog on the local server, then the
// results window shown modally, whose activation uploads 2,000 articles with
// 30 KB photographs from an ERP on the same server (half of them new, half
// updated: one lookup, one insert or update applied and one photograph file
// each) and stamps the company. Each upload starts from the same catalog
// (UploadSetup::Reset); the program and the reference take turns going
// first. Run once with the catalog's forced writes off and once with them on
// (restored afterwards).
//
// Reported, for the program (run_) and the reference (ref_): the best total
// of the repetitions (from showing the window to the end of its activation;
// the reference from opening the ERP to its stamp), and over all of them the
// time per article (the program's from one move of the article list to the
// next, its AfterScroll; the first from the list's opening) as the median and
// the 99th percentile, and the articles slower than 40 ms per upload.
// `ratio` is best total against best total. `heap_ratio` is the program's
// peak heap during the run against the bytes of the rows and photographs
// that the article list holds.

#include "bench/upload/upload_program.h"
#include "bench/upload/upload_reference.h"
#include "bench/upload/upload_setup.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int kArticles = 2000;
constexpr int kPhotoBytes = 30 * 1024;

// The bytes of the values the article list holds: texts, numbers, photographs.
double RowBytes(UploadSetup& setup) {
    const auto rows = setup.Erp().Query(QStringLiteral(
        "select sum(octet_length(CODIGO) + octet_length(DESCRIPCION) + octet_length(UNIDAD) + "
        "4 + 4 + 8 + octet_length(FOTO) + 1) from ARTICULOS_ERP"));
    return rows.at(0).at(0).toDouble();
}

struct Side {
    double best = 1e300;
    std::vector<double> perArticle;
    int stalls = 0;
    long long peakHeap = 0;

    void Add(const RunTimes& t) {
        best = std::min(best, t.total);
        perArticle.insert(perArticle.end(), t.perArticle.begin(), t.perArticle.end());
        stalls += Stalls(t.perArticle);
        peakHeap = std::max(peakHeap, t.peakHeapBytes);
    }
    void Report(benchmark::State& state, const std::string& prefix, double runs) const {
        state.counters[prefix + "best_s"] = best;
        state.counters[prefix + "median_ms"] = Percentile(perArticle, 0.5) * 1e3;
        state.counters[prefix + "p99_ms"] = Percentile(perArticle, 0.99) * 1e3;
        state.counters[prefix + "stalls"] = stalls / runs;
    }
};

// Arg 0: the catalog's forced writes off; 1: on.
void BM_UploadAgainstReference(benchmark::State& state) {
    static UploadSetup setup(kArticles, kPhotoBytes);
    const bool forcedWrites = state.range(0) != 0;
    const QString catalog = setup.Catalog().Database();
    const bool before = SetForcedWrites(catalog, forcedWrites);
    Side run, ref;
    int turn = 0;
    for (auto _ : state) {
        try {
            for (int side = 0; side < 2; ++side) {
                setup.Reset();
                StepClock steps;
                if ((side + turn) % 2 == 0) {
                    const RunTimes t = ProgramUpload(setup, steps);
                    state.SetIterationTime(t.total);
                    run.Add(t);
                } else {
                    ref.Add(ReferenceUpload(setup, steps));
                }
            }
        } catch (const std::exception& e) {
            SetForcedWrites(catalog, before);
            state.SkipWithError(e.what());
            return;
        }
        ++turn;
    }
    SetForcedWrites(catalog, before);
    const double runs = double(state.iterations());
    state.counters["articles"] = kArticles;
    state.counters["forced_writes"] = forcedWrites;
    run.Report(state, "run_", runs);
    ref.Report(state, "ref_", runs);
    state.counters["ratio"] = run.best / ref.best;
    state.counters["p99_ratio"] =
        Percentile(run.perArticle, 0.99) / Percentile(ref.perArticle, 0.99);
    state.counters["heap_ratio"] = double(run.peakHeap) / RowBytes(setup);
    state.counters["ref_heap_ratio"] = double(ref.peakHeap) / RowBytes(setup);
}
BENCHMARK(BM_UploadAgainstReference)
    ->ArgName("forced_writes")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(3);

} // namespace
