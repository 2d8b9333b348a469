// The grid's text search over every column of 100,000 article rows, for a
// text no cell holds, side by side in the same run with a hand-written loop
// that walks the same records and compares the same display texts; and the
// same search when it also looks for an Esc the user may have pressed (the
// incremental search's way).
//
// The two take turns going first; medians are compared, so that machine load
// cancels out.

#include "bench/grid/grid_bench_support.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/field.h"
#include "grid/dbgrideh.h"
#include "grid/search/grid_text_search_eh.h"
#include "tests/data/engine/engine_fixture.h"
#include "tests/support/memory_query.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

constexpr int kRows = 100000;
const QString kMissing = QStringLiteral("no existe");

// The results window's grid, with its six columns, over the article rows.
struct TSearchView {
    TSearchView() {
        auto* query = new TMemoryQuery(&owner, enginetest::ArticleColumns());
        query->Rows().reserve(kRows);
        for (int i = 1; i <= kRows; ++i)
            query->AppendRow(ArticleRow(i));
        cds = ClientDataSetOn(*query, QStringLiteral("Articulos"));
        auto* source = new TDataSource(&owner);
        source->SetDataSet(cds);
        cds->Open();
        cds->Last(); // every row fetched before any timing
        cds->First();
        grid = new TDBGridEh(&owner);
        grid->SetBounds(0, 0, 854, 406);
        ShowArticleColumns(*grid, source);
    }

    TComponent owner;
    TClientDataSet* cds = nullptr;
    TDBGridEh* grid = nullptr;
};

double GridSearch(TSearchView& view, bool stopOnEscape) {
    TGridTextSearchEh search;
    search.text = kMissing;
    search.allColumns = true;
    search.stopOnEscape = stopOnEscape;
    const Clock::time_point start = Clock::now();
    const bool found = SearchGridText(*view.grid, search);
    const double ms = Ms(Clock::now() - start);
    if (found)
        throw Exception(QStringLiteral("the missing text was found"));
    return ms;
}

// The reference: the same records walked with the controls frozen, the same
// six display texts compared by Qt's case-insensitive search.
double HandWrittenLoop(TSearchView& view) {
    TClientDataSet& cds = *view.cds;
    std::vector<TField*> fields;
    for (const TColumnEh* column : view.grid->VisibleColumns())
        fields.push_back(column->Field());
    const Clock::time_point start = Clock::now();
    bool found = false;
    cds.DisableControls();
    for (cds.First(); !cds.Eof() && !found; cds.Next())
        for (TField* field : fields)
            found = found || field->DisplayText().contains(kMissing, Qt::CaseInsensitive);
    cds.First();
    cds.EnableControls();
    const double ms = Ms(Clock::now() - start);
    if (found)
        throw Exception(QStringLiteral("the missing text was found"));
    return ms;
}

void BM_SearchFindsNothing(benchmark::State& state) {
    TSearchView view;
    std::vector<double> searchMs, escapeMs, referenceMs;
    bool searchFirst = true;
    for (auto _ : state) {
        if (searchFirst)
            searchMs.push_back(GridSearch(view, false));
        referenceMs.push_back(HandWrittenLoop(view));
        if (!searchFirst)
            searchMs.push_back(GridSearch(view, false));
        escapeMs.push_back(GridSearch(view, true));
        searchFirst = !searchFirst;
        state.SetIterationTime(searchMs.back() / 1000.0);
    }
    state.counters["search_ms"] = Median(searchMs);
    state.counters["with_esc_probe_ms"] = Median(escapeMs);
    state.counters["reference_ms"] = Median(referenceMs);
    state.counters["vs_reference"] = Median(searchMs) / Median(referenceMs);
    state.counters["esc_probe_vs_reference"] = Median(escapeMs) / Median(referenceMs);
}
BENCHMARK(BM_SearchFindsNothing)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
