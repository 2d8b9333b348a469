// The upload at the volumes of a first upload, or of a company whose stamp
// was reset: the whole catalog with its photographs. Two volumes, about
// 2 GB of photographs from a phone camera (2,000 articles, 1 MB each) and a
// large catalog of small ones (20,000 articles, 30 KB each), each uploaded
// by the program's own run (the login window connected, the results window
// shown modally, its activation uploading and stamping, the rows left on
// view in its grid) and by the hand-written reference loop, taking turns;
// the catalog's forced writes off.
//
// Reported per volume: the best total of each (`run_s`, `ref_s`) and their
// quotient (`ratio`); the peak resident set of the process during each run
// (`run_rss_mb`, `ref_rss_mb`: VmHWM, reset to the resident set at the start
// of the run, so that it counts what the process held before it too:
// `start_rss_mb`), the program's peak heap above its start (`run_heap_mb`),
// the time the best runs spent reading the ERP (with the start and the end
// of the run: `*_read_s`) and writing the photographs (`*_photo_s`), and the
// load average at the start and the end.

#include "bench/upload/resident_peak.h"
#include "bench/upload/upload_program.h"
#include "bench/upload/upload_reference.h"
#include "bench/upload/upload_setup.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>

namespace {

constexpr double kMB = 1024.0 * 1024.0;

double LoadAverage() {
    QFile load(QStringLiteral("/proc/loadavg"));
    if (!load.open(QIODevice::ReadOnly))
        return -1;
    return load.readAll().split(' ').value(0).toDouble();
}

struct Side {
    double best = 1e300;
    std::array<double, kUploadSteps> bestSteps{};
    long long peakRss = 0;
    long long startRss = 0;
    long long peakHeap = 0;

    // Runs one upload between a mark of the resident set and its peak;
    // returns its total.
    template <class Upload> double Run(Upload upload) {
        startRss = std::max(startRss, ResidentPeak::Mark());
        const RunTimes t = upload();
        peakRss = std::max(peakRss, ResidentPeak::Peak());
        if (t.total < best) {
            best = t.total;
            bestSteps = t.stepSeconds;
        }
        peakHeap = std::max(peakHeap, t.peakHeapBytes);
        return t.total;
    }
};

// Args: the articles, the bytes of each photograph.
void BM_UploadVolume(benchmark::State& state) {
    const int articles = int(state.range(0));
    const int photoBytes = int(state.range(1));
    const double loadStart = LoadAverage();
    UploadSetup setup(articles, photoBytes);
    const QString catalog = setup.Catalog().Database();
    const bool before = SetForcedWrites(catalog, false);
    Side run, ref;
    int turn = 0;
    for (auto _ : state) {
        try {
            for (int side = 0; side < 2; ++side) {
                setup.Reset();
                StepClock steps;
                if ((side + turn) % 2 == 0) {
                    state.SetIterationTime(run.Run([&] { return ProgramUpload(setup, steps); }));
                } else {
                    ref.Run([&] { return ReferenceUpload(setup, steps); });
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
    setup.Reset(); // the photographs' files go
    state.counters["articles"] = articles;
    state.counters["photo_kb"] = photoBytes / 1024.0;
    state.counters["run_s"] = run.best;
    state.counters["ref_s"] = ref.best;
    state.counters["ratio"] = run.best / ref.best;
    state.counters["run_rss_mb"] = double(run.peakRss) / kMB;
    state.counters["ref_rss_mb"] = double(ref.peakRss) / kMB;
    state.counters["start_rss_mb"] = double(run.startRss) / kMB;
    state.counters["run_heap_mb"] = double(run.peakHeap) / kMB;
    // Where the best runs spent their time: reading the ERP (with the start
    // and end of the run), and the photographs.
    state.counters["run_read_s"] = run.bestSteps[size_t(UploadStep::Other)];
    state.counters["ref_read_s"] = ref.bestSteps[size_t(UploadStep::Other)];
    state.counters["run_photo_s"] = run.bestSteps[size_t(UploadStep::Photo)];
    state.counters["ref_photo_s"] = ref.bestSteps[size_t(UploadStep::Photo)];
    state.counters["load_start"] = loadStart;
    state.counters["load_end"] = LoadAverage();
}
BENCHMARK(BM_UploadVolume)
    ->ArgNames({"articles", "photo_bytes"})
    ->Args({2000, 1024 * 1024})
    ->Args({20000, 30 * 1024})
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(2);

} // namespace
