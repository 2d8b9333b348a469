// A click on a column title of the results window's grid over a client
// dataset of 100,000 article rows served from memory, until the grid has
// painted the top of the sorted rows: the marker advanced, the index
// "SortIndexEh" dropped and built anew, the first record made current and
// the view repainted. Its reference, measured in the same run and taking
// turns with it, is std::stable_sort of the same column's keys in a vector
// (texts as std::string, compared bytewise; integers as int32), in the same
// direction as the click sorts.
//
// Every click on the same title reverses the order (ascending, descending,
// ascending...), so each one builds a whole index.

#include "bench/grid/grid_bench_support.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "grid/dbgrideh.h"
#include "grid/features/cds_dataset_features_eh.h"
#include "grid/input/grid_mouse_eh.h"
#include "grid/sorting/title_sort_eh.h"
#include "tests/data/engine/engine_fixture.h"
#include "tests/support/memory_query.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;

// Article rows as a catalog has them: codes of 6 to 10 characters,
// descriptions of 3 to 8 words (about 35 characters), 40 categories.
std::vector<std::vector<TValue>> Articles() {
    std::mt19937 rng(1234);
    static const char* words[] = {"TORNILLO", "TUERCA", "ARANDELA", "CLAVO", "BROCA",
                                  "ACERO",    "INOX",   "M8",       "GALV",  "CABEZA",
                                  "HEX",      "PLANA",  "20MM",     "CAJA",  "100U"};
    std::vector<std::vector<TValue>> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        QString description;
        const int n = 3 + static_cast<int>(rng() % 6);
        for (int w = 0; w < n; ++w) {
            if (w)
                description += QLatin1Char(' ');
            description += QLatin1String(words[rng() % 15]);
        }
        rows.push_back(
            {QStringLiteral("A%1").arg(rng() % 100000000), description.left(60),
             QStringLiteral("PZA"), static_cast<int>(rng() % 40), static_cast<int>(rng() % 300),
             TBcd{static_cast<qint64>(rng() % 10000000), 2}, TValue(), QStringLiteral("S")});
    }
    return rows;
}

// The rows, their provider and client dataset, and the results window's
// grid (854 x 406, six fitted columns) on them, sorting by its titles.
struct TSortedView {
    TSortedView() {
        RegisterCDSDatasetFeatures();
        query = new TMemoryQuery(&owner, enginetest::ArticleColumns());
        query->Rows() = Articles();
        cds = ClientDataSetOn(*query, QStringLiteral("Articulos"));
        source = new TDataSource(&owner);
        source->SetDataSet(cds);
        cds->Open();
        grid = new TDBGridEh(&owner);
        if (!grid->Extension<TTitleSortEh>())
            grid->AddExtension(std::make_unique<TTitleSortEh>());
        grid->Widget()->setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
        grid->SetBounds(0, 0, 854, 406);
        grid->SetFooterRowCount(1);
        grid->SetSortLocal(true);
        TDBGridEhOptions options = grid->OptionsEh();
        options.Include(TDBGridEhOption::dghAutoSortMarking);
        options.Include(TDBGridEhOption::dghMultiSortMarking);
        grid->SetOptionsEh(options);
        grid->ColumnDefValues().Title.TitleButton = true;
        ShowArticleColumns(*grid, source);
        image = QImage(grid->ClientWidth(), grid->ClientHeight(), QImage::Format_RGB32);
    }

    // Press and release on the title of the visible column, then a repaint.
    void ClickTitle(int visibleIndex) {
        const TGridGeometryEh& g = grid->Geometry();
        const QPoint centre = g.TitleRect(g.SpanOf(visibleIndex)).center();
        grid->Mouse().Press(centre, Qt::LeftButton, 0, false);
        grid->Mouse().Release(centre, Qt::LeftButton, 0);
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

// The reference: the column's keys copied out of the rows (not timed) and
// stable-sorted.
template <typename Key> double StableSortMs(std::vector<Key> keys, bool descending) {
    const Clock::time_point start = Clock::now();
    if (descending)
        std::stable_sort(keys.begin(), keys.end(), std::greater<Key>());
    else
        std::stable_sort(keys.begin(), keys.end(), std::less<Key>());
    const double ms = Ms(Clock::now() - start);
    benchmark::DoNotOptimize(keys.data());
    return ms;
}

// Arg: the visible column clicked (1 DESCRIPCION, 3 CATEG).
void BM_TitleClickSort(benchmark::State& state) {
    const int column = static_cast<int>(state.range(0));
    TSortedView view;
    std::vector<std::string> texts;
    std::vector<int32_t> numbers;
    for (const std::vector<TValue>& row : view.query->Rows()) {
        if (column == 1)
            texts.push_back(row[1].AsBytes().toStdString());
        else
            numbers.push_back(static_cast<int32_t>(row[3].AsInteger()));
    }
    std::vector<double> clickMs, sortMs;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        view.ClickTitle(column);
        clickMs.push_back(Ms(Clock::now() - start));
        const bool descending =
            view.grid->VisibleColumns()[static_cast<size_t>(column)]->Title().SortMarker() ==
            smUpEh;
        sortMs.push_back(column == 1 ? StableSortMs(texts, descending)
                                     : StableSortMs(numbers, descending));
        if (view.cds->IndexName() != TCDSDatasetFeaturesEh::SortIndexName() ||
            view.cds->RecNo() != 1 || view.grid->Rows().FirstRecNo() != 1) {
            state.SkipWithError("the grid does not show the top of the sorted rows");
            break;
        }
        state.SetIterationTime(clickMs.back() / 1000.0);
    }
    state.counters["click_ms"] = Median(clickMs);
    state.counters["stable_sort_ms"] = Median(sortMs);
    state.counters["vs_stable_sort"] = Median(clickMs) / Median(sortMs);
}
BENCHMARK(BM_TitleClickSort)
    ->ArgName("column")
    ->Arg(1)
    ->Arg(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

} // namespace
