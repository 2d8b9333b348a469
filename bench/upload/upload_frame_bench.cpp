// One frame of the results window as the upload paints it: the window read
// from its description and shown on the offscreen platform, its grid over
// 2,000 article rows served from memory, the status panel on view. A frame
// is eight articles (the article list moved on by one and the status
// panel's caption set, eight times over, as about eight articles pass in a
// display frame of a run), then the window's Repaint. Its reference is the
// whole-window repaint that each photograph used to cost.
//
// Reported: the CPU time per frame (the repaint alone; the moves and
// captions are left out of the timing).

#include "bench/grid/grid_bench_support.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dmqb.h"
#include "forms/actarticulos.h"
#include "platform/ui/application.h"
#include "platform/ui/frame_pacing.h"
#include "platform/ui/panel.h"
#include "tests/data/engine/engine_fixture.h"
#include "tests/support/memory_query.h"

#include <benchmark/benchmark.h>
#include <ctime>

namespace {

constexpr int kArticles = 2000;
constexpr int kArticlesPerFrame = 8;

qint64 AFrameLaterEachTime() {
    static qint64 now = 0;
    return now += FramePacing::kFrameMs;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The results window on view with the article rows under its grid.
class ResultsOnView {
public:
    ResultsOnView() {
        Application->CreateForm(fdmqb);
        window_ = new Tfactarticulos(Application);
        rows_ = new TMemoryQuery(&owner_, enginetest::ArticleColumns());
        for (int i = 1; i <= kArticles; ++i)
            rows_->AppendRow(ArticleRow(i));
        articles_ = ClientDataSetOn(*rows_, QStringLiteral("Articulos"));
        articles_->Open();
        window_->DArticulos->SetDataSet(articles_);
        window_->Panel2->Show();
        window_->Show();
        FramePacing::SetClock(&AFrameLaterEachTime);
        window_->Repaint();
    }
    ~ResultsOnView() {
        FramePacing::SetClock(nullptr);
        delete window_;
        delete fdmqb;
    }
    ResultsOnView(const ResultsOnView&) = delete;
    ResultsOnView& operator=(const ResultsOnView&) = delete;

    // The articles of one frame go by.
    void NextArticles() {
        for (int i = 0; i < kArticlesPerFrame; ++i) {
            articles_->Next();
            if (articles_->Eof())
                articles_->First();
            window_->Panel2->SetCaption(
                QStringLiteral("Exportando imagen articulo ") +
                articles_->FieldByName(QStringLiteral("CODIGO")).AsString() +
                QStringLiteral("..."));
        }
    }
    Tfactarticulos& Window() { return *window_; }

private:
    TComponent owner_;
    Tfactarticulos* window_ = nullptr;
    TMemoryQuery* rows_ = nullptr;
    TClientDataSet* articles_ = nullptr;
};

template <typename Paint> void Frames(benchmark::State& state, Paint paint) {
    ResultsOnView view;
    for (auto _ : state) {
        view.NextArticles();
        const double before = ThreadCpuSeconds();
        paint(view.Window());
        state.SetIterationTime(ThreadCpuSeconds() - before);
    }
}

// What the run's repaint paints: the parts of the window that changed.
void BM_UploadFrame(benchmark::State& state) {
    Frames(state, [](Tfactarticulos& w) { w.Repaint(); });
}
BENCHMARK(BM_UploadFrame)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// The reference: the whole window painted anew.
void BM_WholeWindowRepaint(benchmark::State& state) {
    Frames(state, [](Tfactarticulos& w) { w.Widget()->repaint(); });
}
BENCHMARK(BM_WholeWindowRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace
