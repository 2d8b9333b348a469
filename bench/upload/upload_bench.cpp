// The upload run as the program does it: the login window connected to a
// catalog on the local server, then the results window shown modally, whose
// activation uploads 2,000 articles with 30 KB photographs from an ERP on
// the same server (one lookup, one insert applied and one photograph file
// each) and stamps the company. Each repetition starts from an empty catalog
// and an empty web folder.
//
// Reported: the run's total (from showing the window to the end of its
// activation) and the time per article, from one move of the article list
// to the next (its AfterScroll; the first from the list's opening), as the
// median and the 99th percentile.

#include "app/register_program_classes.h"
#include "bench/upload/upload_setup.h"
#include "controls/timeedit/db_date_time_edit_eh.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "forms/actarticulos.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "tests/forms/program_windows.h"

#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int kArticles = 2000;
constexpr int kPhotoBytes = 30 * 1024;

struct RunTimes {
    double total = 0;               // seconds
    std::vector<double> perArticle; // seconds, one per article
};

// One upload through the program's windows; raises on anything but a clean run.
RunTimes UploadOnce(UploadSetup& setup) {
    TRecordingAnswerer boxes;
    Application->CreateForm(faccesoqb);
    Application->CreateForm(fdmqb);
    fdmqb->Dorvan->SetParamValue(QStringLiteral("Database"), setup.Erp().Database());
    faccesoqb->Tusua->SetText(TestDatabase::User());
    faccesoqb->TClave->SetText(TestDatabase::Password());
    faccesoqb->Cia->SetText(QStringLiteral("1"));
    faccesoqb->CiaExit(faccesoqb);

    RunTimes times;
    QElapsedTimer clock;
    qint64 last = 0;
    factarticulos = new Tfactarticulos(faccesoqb);
    factarticulos->CArticulos->AfterOpen = [&](TDataSet*) { last = clock.nsecsElapsed(); };
    factarticulos->CArticulos->AfterScroll = [&](TDataSet*) {
        const qint64 now = clock.nsecsElapsed();
        times.perArticle.push_back(double(now - last) * 1e-9);
        last = now;
    };
    Application->OnModalShown = [&](TForm* form) {
        times.total = double(clock.nsecsElapsed()) * 1e-9;
        form->Close();
    };
    clock.start();
    factarticulos->ShowModal();

    Application->OnModalShown = nullptr;
    DestroyProgramWindows();

    if (!boxes.boxes.empty())
        throw std::runtime_error("the run showed: " + boxes.boxes[0].text.toStdString());
    if (int(times.perArticle.size()) != setup.Articles() || setup.PhotoFiles() != setup.Articles())
        throw std::runtime_error("the run did not upload every article");
    return times;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(p * double(values.size())));
    return values[at];
}

void BM_UploadRun(benchmark::State& state) {
    static UploadSetup setup(kArticles, kPhotoBytes);
    std::vector<double> perArticle;
    double total = 0;
    for (auto _ : state) {
        setup.Reset();
        try {
            const RunTimes t = UploadOnce(setup);
            state.SetIterationTime(t.total);
            total += t.total;
            perArticle.insert(perArticle.end(), t.perArticle.begin(), t.perArticle.end());
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
    }
    const double runs = double(state.iterations());
    state.counters["articles"] = kArticles;
    state.counters["total_s"] = total / runs;
    state.counters["article_median_ms"] = Percentile(perArticle, 0.5) * 1e3;
    state.counters["article_p99_ms"] = Percentile(perArticle, 0.99) * 1e3;
    state.counters["article_max_ms"] = Percentile(perArticle, 1.0) * 1e3;
}
BENCHMARK(BM_UploadRun)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    RegisterProgramClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
