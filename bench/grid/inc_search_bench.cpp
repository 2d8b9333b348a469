// The grid's incremental search: one character typed after Ctrl+F on the
// results window's grid over 100,000 and 1,000,000 article rows, whose only
// match in DESCRIPCION is near the end, with the grid's repaint; side by
// side in the same run with a plain loop that walks the same records,
// compares the same display texts and then has the grid repaint the same
// way. The two take turns going first; medians are compared, so that
// machine load cancels out.

#include "bench/grid/grid_bench_support.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/field.h"
#include "grid/dbgrideh.h"
#include "grid/grid_widget_eh.h"
#include "grid/incsearch/inc_search_eh.h"
#include "grid/input/grid_keys_eh.h"
#include "platform/ui/form.h"
#include "tests/data/engine/engine_fixture.h"
#include "tests/support/memory_query.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

const QString kTyped = QStringLiteral("z");

// The results window's grid with its six columns and the incremental search,
// shown and focused (the highlight is drawn only then), over `rows` article
// rows of which only the one 10 from the end begins with a Z.
struct TIncSearchView {
    explicit TIncSearchView(int rows) : form(nullptr) {
        auto* query = new TMemoryQuery(&form, enginetest::ArticleColumns());
        query->Rows().reserve(static_cast<size_t>(rows));
        for (int i = 1; i <= rows; ++i) {
            std::vector<TValue> row = ArticleRow(i);
            if (i == rows - 10)
                row[1] = QStringLiteral("Zapata de acero");
            query->AppendRow(row);
        }
        cds = ClientDataSetOn(*query, QStringLiteral("Articulos"));
        auto* source = new TDataSource(&form);
        source->SetDataSet(cds);
        cds->Open();
        cds->Last(); // every row fetched before any timing
        cds->First();
        form.SetBounds(0, 0, 880, 450);
        grid = new TDBGridEh(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 854, 406);
        grid->SetOptionsEh({TDBGridEhOption::dghIncSearch, TDBGridEhOption::dghDialogFind});
        ShowArticleColumns(*grid, source);
        search =
            static_cast<TIncSearchEh*>(&grid->AddExtension(std::make_unique<TIncSearchEh>(*grid)));
        form.Show();
        form.Widget()->activateWindow();
        grid->SetFocus();
        QApplication::processEvents();
        description = &cds->FieldByName(QStringLiteral("DESCRIPCION"));
        image = QImage(grid->ClientWidth(), grid->ClientHeight(), QImage::Format_RGB32);
    }

    void Repaint() {
        QPainter painter(&image);
        grid->PaintGrid(painter, image.rect());
    }
    // Back on the first record of DESCRIPCION with the search on and empty.
    void Reset() {
        search->EndSearch();
        cds->First();
        grid->SetSelectedIndex(1);
        QApplication::processEvents();
    }
    void Check() const {
        if (!description->DisplayText().startsWith(QLatin1Char('Z')))
            throw Exception(QStringLiteral("the typed character did not find its row"));
    }

    TForm form;
    TClientDataSet* cds = nullptr;
    TDBGridEh* grid = nullptr;
    TIncSearchEh* search = nullptr;
    TField* description = nullptr;
    QImage image;
};

// Ctrl+F (not timed), then the character through the grid's key handling
// and the repaint.
double TypeOneCharacter(TIncSearchView& view) {
    view.Reset();
    view.grid->KeyDown(GridKeysEh::KeyF, ssCtrl);
    const Clock::time_point start = Clock::now();
    view.grid->KeyPress(kTyped[0]);
    view.Repaint();
    const double ms = Ms(Clock::now() - start);
    view.Check();
    if (view.search->SearchText() != QStringLiteral("Z"))
        throw Exception(QStringLiteral("the search did not keep the found text"));
    return ms;
}

// The reference: the same records walked from the first with the controls
// frozen, the same display texts compared by Qt's case-insensitive
// startsWith, then the same repaint.
double PlainLoop(TIncSearchView& view) {
    view.Reset();
    view.search->EndSearch();
    TClientDataSet& cds = *view.cds;
    const Clock::time_point start = Clock::now();
    cds.DisableControls();
    for (cds.First(); !cds.Eof(); cds.Next())
        if (view.description->DisplayText().startsWith(kTyped, Qt::CaseInsensitive))
            break;
    cds.EnableControls();
    view.Repaint();
    const double ms = Ms(Clock::now() - start);
    view.Check();
    return ms;
}

void BM_TypeOneCharacter(benchmark::State& state) {
    TIncSearchView view(static_cast<int>(state.range(0)));
    std::vector<double> searchMs, referenceMs;
    bool searchFirst = true;
    for (auto _ : state) {
        if (searchFirst)
            searchMs.push_back(TypeOneCharacter(view));
        referenceMs.push_back(PlainLoop(view));
        if (!searchFirst)
            searchMs.push_back(TypeOneCharacter(view));
        searchFirst = !searchFirst;
        state.SetIterationTime(searchMs.back() / 1000.0);
    }
    state.counters["search_ms"] = Median(searchMs);
    state.counters["reference_ms"] = Median(referenceMs);
    state.counters["vs_reference"] = Median(searchMs) / Median(referenceMs);
    state.counters["focused"] = view.grid->GridWidget().hasFocus() ? 1 : 0;
}
BENCHMARK(BM_TypeOneCharacter)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
