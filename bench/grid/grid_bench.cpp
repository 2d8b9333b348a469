// The grid over a client dataset of article rows served from memory: what
// opening the dataset under the grid, Ctrl+End, PgDn and a repaint cost at
// 1,000 and at 1,000,000 rows, side by side with a hand-written loop that
// reads and draws the visible cells alone; and the memory the grid itself
// holds.
//
// Every figure is measured with both sizes (or both ways) in the same run and
// reported with their ratio, so machine load cancels out.

#include "bench/grid/grid_bench_support.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/field.h"
#include "grid/dbgrideh.h"
#include "grid/input/grid_keys_eh.h"
#include "tests/data/engine/engine_fixture.h"
#include "tests/support/memory_query.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <new>

// ---- Live heap bytes, to see what the grid keeps -----------------------------------

namespace {
std::atomic<long long> gLiveBytes{0};
} // namespace

void* operator new(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    gLiveBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}
void* operator new[](std::size_t n) {
    return operator new(n);
}
void operator delete(void* p) noexcept {
    if (!p)
        return;
    gLiveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

// A window-like owner with the rows in memory, their provider, the client
// dataset, its source and (optionally) the results window's grid on it,
// 854 x 406 with six columns.
struct TArticleView {
    explicit TArticleView(int rows) {
        query = new TMemoryQuery(&owner, enginetest::ArticleColumns());
        query->Rows().reserve(static_cast<size_t>(rows));
        for (int i = 1; i <= rows; ++i)
            query->AppendRow(ArticleRow(i));
        cds = ClientDataSetOn(*query, QStringLiteral("Articulos"));
        source = new TDataSource(&owner);
        source->SetDataSet(cds);
    }
    void AddGrid() {
        grid = new TDBGridEh(&owner);
        grid->Widget()->setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
        grid->SetBounds(0, 0, 854, 406);
        grid->SetFooterRowCount(1);
        ShowArticleColumns(*grid, source);
        image = QImage(grid->ClientWidth(), grid->ClientHeight(), QImage::Format_RGB32);
    }
    void Repaint() {
        QPainter painter(&image);
        grid->PaintGrid(painter, image.rect());
    }

    TComponent owner;
    TMemoryQuery* query = nullptr;
    TClientDataSet* cds = nullptr;
    TDataSource* source = nullptr;
    TDBGridEh* grid = nullptr;
    QImage image;
};

// The reference: what the visible rows cost by themselves. The same 20 rows
// and 6 columns read through the dataset and their display texts drawn into
// an image of the same size, by a loop written for it.
double ReferenceVisibleRows(TArticleView& view, int firstRecNo) {
    TClientDataSet& cds = *view.cds;
    const char* names[] = {"CODIGO", "DESCRIPCION", "UNIDAD", "CATEG", "SUBCATEG", "PRECIO"};
    std::vector<TField*> fields;
    for (const char* n : names)
        fields.push_back(&cds.FieldByName(QLatin1String(n)));
    const Clock::time_point start = Clock::now();
    QPainter painter(&view.image);
    painter.fillRect(view.image.rect(), Qt::white);
    painter.setFont(view.grid->Font());
    const int ascent = QFontMetrics(view.grid->Font()).ascent();
    const int rows = view.grid->VisibleRowCount();
    for (int r = 0; r < rows; ++r) {
        int x = 14;
        for (TField* field : fields) {
            const QString text = field->DisplayTextOf(cds.FieldValueAt(*field, firstRecNo + r));
            painter.drawText(QPoint(x, 20 + r * 18 + ascent), text);
            x += 130;
        }
    }
    painter.end();
    return Ms(Clock::now() - start);
}

// The same grid over 1,000 and over 1,000,000 open rows.
struct TTwoSizes {
    TTwoSizes() {
        for (TArticleView* v : {&small, &large}) {
            v->cds->Open();
            v->AddGrid();
        }
    }
    TArticleView small{1000};
    TArticleView large{1000000};
};

void Key(TDBGridEh& grid, unsigned short key, TShiftState shift = 0) {
    grid.KeyDown(key, shift);
}

// PgDn with its repaint; at the end of the data the view goes back to the top
// (not timed) so every PgDn moves a whole page.
double PageDownAndRepaint(TArticleView& view) {
    if (view.cds->RecNo() + 2 * view.grid->VisibleRowCount() > view.cds->RecordCount())
        view.cds->First();
    const Clock::time_point start = Clock::now();
    Key(*view.grid, GridKeysEh::PageDown);
    view.Repaint();
    return Ms(Clock::now() - start);
}

// ---- Benchmarks -----------------------------------------------------------------------

void BM_PageDownRepaint(benchmark::State& state) {
    TTwoSizes views;
    TArticleView& small = views.small;
    TArticleView& large = views.large;
    double smallMs = 0, largeMs = 0, referenceMs = 0;
    for (auto _ : state) {
        smallMs += PageDownAndRepaint(small);
        const double ms = PageDownAndRepaint(large);
        largeMs += ms;
        referenceMs += ReferenceVisibleRows(large, large.grid->Rows().FirstRecNo());
        state.SetIterationTime(ms / 1000.0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ms_1k"] = smallMs / n;
    state.counters["ms_1M"] = largeMs / n;
    state.counters["ratio_1M_1k"] = largeMs / smallMs;
    state.counters["reference_ms"] = referenceMs / n;
    state.counters["vs_reference"] = largeMs / referenceMs;
}
BENCHMARK(BM_PageDownRepaint)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_CtrlEndRepaint(benchmark::State& state) {
    TTwoSizes views;
    TArticleView& small = views.small;
    TArticleView& large = views.large;
    double smallMs = 0, largeMs = 0, referenceMs = 0;
    for (auto _ : state) {
        double lastLarge = 0;
        for (TArticleView* v : {&small, &large}) {
            v->cds->First();
            const Clock::time_point start = Clock::now();
            Key(*v->grid, GridKeysEh::End, ssCtrl);
            v->Repaint();
            const double ms = Ms(Clock::now() - start);
            (v == &small ? smallMs : largeMs) += ms;
            if (v == &large)
                lastLarge = ms;
        }
        referenceMs += ReferenceVisibleRows(large, large.grid->Rows().FirstRecNo());
        state.SetIterationTime(lastLarge / 1000.0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ms_1k"] = smallMs / n;
    state.counters["ms_1M"] = largeMs / n;
    state.counters["ratio_1M_1k"] = largeMs / smallMs;
    state.counters["vs_reference"] = largeMs / referenceMs;
}
BENCHMARK(BM_CtrlEndRepaint)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Opening the rows with the grid on the dataset and without it: the
// difference is the grid's share (its first layout and paint). The two opens
// take turns going first; the medians are compared.
void BM_OpenUnderGrid(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    TArticleView alone(rows);
    TArticleView shown(rows);
    shown.AddGrid();
    std::vector<double> aloneMs, gridMs;
    auto open = [](TArticleView& view) {
        const Clock::time_point start = Clock::now();
        view.cds->Open();
        if (view.grid)
            view.Repaint();
        return Ms(Clock::now() - start);
    };
    bool gridFirst = false;
    for (auto _ : state) {
        alone.cds->Close();
        shown.cds->Close();
        if (gridFirst)
            gridMs.push_back(open(shown));
        aloneMs.push_back(open(alone));
        if (!gridFirst)
            gridMs.push_back(open(shown));
        gridFirst = !gridFirst;
        state.SetIterationTime(gridMs.back() / 1000.0);
    }
    state.counters["open_ms"] = Median(aloneMs);
    state.counters["open_under_grid_ms"] = Median(gridMs);
    state.counters["ratio"] = Median(gridMs) / Median(aloneMs);
}
BENCHMARK(BM_OpenUnderGrid)
    ->Arg(1000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

// What the grid does when the dataset it shows opens, by itself: binding to
// the open dataset, laying out and painting, at 1,000 and 1,000,000 rows.
void BM_GridTakesOpenDataset(benchmark::State& state) {
    TTwoSizes views;
    std::vector<double> smallMs, largeMs;
    for (auto _ : state) {
        for (TArticleView* v : {&views.small, &views.large}) {
            v->grid->SetDataSource(nullptr);
            const Clock::time_point start = Clock::now();
            v->grid->SetDataSource(v->source);
            v->Repaint();
            (v == &views.small ? smallMs : largeMs).push_back(Ms(Clock::now() - start));
        }
        state.SetIterationTime(largeMs.back() / 1000.0);
    }
    state.counters["ms_1k"] = Median(smallMs);
    state.counters["ms_1M"] = Median(largeMs);
    state.counters["ratio_1M_1k"] = Median(largeMs) / Median(smallMs);
}
BENCHMARK(BM_GridTakesOpenDataset)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The heap the grid holds once it shows the dataset and has been moved to
// the end and down a page: the same at 1,000 and at 1,000,000 rows.
void BM_GridMemory(benchmark::State& state) {
    long long bytes[2] = {0, 0};
    for (auto _ : state) {
        int i = 0;
        for (int rows : {1000, 1000000}) {
            TArticleView view(rows);
            view.cds->Open();
            view.image = QImage(850, 402, QImage::Format_RGB32);
            const long long before = gLiveBytes.load();
            view.AddGrid();
            Key(*view.grid, GridKeysEh::End, ssCtrl);
            Key(*view.grid, GridKeysEh::Home, ssCtrl);
            Key(*view.grid, GridKeysEh::PageDown);
            view.Repaint();
            bytes[i++] = gLiveBytes.load() - before;
        }
    }
    state.counters["grid_bytes_1k"] = static_cast<double>(bytes[0]);
    state.counters["grid_bytes_1M"] = static_cast<double>(bytes[1]);
    state.counters["ratio_1M_1k"] =
        static_cast<double>(bytes[1]) / static_cast<double>(std::max(1LL, bytes[0]));
}
BENCHMARK(BM_GridMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
