// The client rows engine with 100,000 rows shaped like the article query's
// result (no photos): the time to build a two-field index against
// std::stable_sort of the same keys in a vector, the memory the rows take
// against the raw bytes of their values, and a post followed by reading a
// grid's page of cells by position against the former copy of the order.

#include "data/dataset/engine/cursor.h"
#include "data/dataset/engine/local_index.h"
#include "tests/data/engine/engine_fixture.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int RowCount = 100000;

std::vector<TPacketColumn> Columns() {
    return enginetest::ArticleColumns();
}

struct Source {
    std::vector<std::string> codigo, descripcion, unidad;
    std::vector<int32_t> categ, subcateg;
    std::vector<int64_t> precio;
};

// Codes of 6 to 10 characters, descriptions of 3 to 8 words (about 35
// characters), 40 categories: many equal first keys, as a catalog has.
const Source& Data() {
    static const Source source = [] {
        Source s;
        std::mt19937 rng(1234);
        static const char* words[] = {"TORNILLO", "TUERCA", "ARANDELA", "CLAVO", "BROCA",
                                      "ACERO",    "INOX",   "M8",       "GALV",  "CABEZA",
                                      "HEX",      "PLANA",  "20MM",     "CAJA",  "100U"};
        static const char* units[] = {"PZA", "KG", "MTS", "CAJA"};
        for (int i = 0; i < RowCount; ++i) {
            std::string code(1, 'A');
            code += std::to_string(rng() % 100000000);
            s.codigo.push_back(code);
            std::string d;
            const int n = 3 + int(rng() % 6);
            for (int w = 0; w < n; ++w) {
                if (w)
                    d += ' ';
                d += words[rng() % 15];
            }
            s.descripcion.push_back(d.substr(0, 60));
            s.unidad.push_back(units[rng() % 4]);
            s.categ.push_back(int32_t(rng() % 40));
            s.subcateg.push_back(int32_t(rng() % 300));
            s.precio.push_back(int64_t(rng() % 10000000));
        }
        return s;
    }();
    return source;
}

TDataPacket BuildPacket() {
    const Source& s = Data();
    TDataPacket packet(Columns());
    for (int i = 0; i < RowCount; ++i) {
        TRowWriter& row = packet.BeginRow();
        row.SetBytes(0, s.codigo[i]);
        row.SetBytes(1, s.descripcion[i]);
        row.SetBytes(2, s.unidad[i]);
        row.SetInteger(3, s.categ[i]);
        row.SetInteger(4, s.subcateg[i]);
        row.SetBcd(5, TBcd{s.precio[i], 2});
        row.SetBytes(7, i % 5 ? "S" : "N");
        packet.EndRow();
    }
    packet.SetLast(true);
    return packet;
}

struct Key {
    int32_t categ;
    std::string descripcion;
    uint32_t record;
};

std::vector<Key> Keys() {
    const Source& s = Data();
    std::vector<Key> keys;
    keys.reserve(RowCount);
    for (int i = 0; i < RowCount; ++i)
        keys.push_back(Key{s.categ[i], s.descripcion[i], uint32_t(i)});
    return keys;
}

void StableSortKeys(std::vector<Key>& keys) {
    std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.categ != b.categ ? a.categ < b.categ : a.descripcion < b.descripcion;
    });
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The baseline: std::stable_sort of (CATEG, DESCRIPCION) keys in a vector.
void BM_StableSortKeys(benchmark::State& state) {
    const std::vector<Key> source = Keys();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Key> keys = source;
        state.ResumeTiming();
        StableSortKeys(keys);
        benchmark::DoNotOptimize(keys.data());
    }
}
BENCHMARK(BM_StableSortKeys)->Unit(benchmark::kMillisecond);

// The index CATEG;DESCRIPCION on the rows, keys read from the rows each time.
void BM_BuildIndex(benchmark::State& state) {
    const TRowStore store(BuildPacket());
    TLocalIndex index(QStringLiteral("SortIndexEh"), QStringLiteral("CATEG;DESCRIPCION"), {},
                      store.Columns());
    double indexSeconds = 0;
    for (auto _ : state) {
        indexSeconds += Seconds([&] { index.Build(store); });
        benchmark::DoNotOptimize(index.Order().data());
    }
    // The baseline measured in the same run, for the ratio.
    const std::vector<Key> source = Keys();
    double sortSeconds = 0;
    int runs = 0;
    for (; runs < 5; ++runs) {
        std::vector<Key> keys = source;
        sortSeconds += Seconds([&] { StableSortKeys(keys); });
    }
    state.counters["vs_stable_sort"] =
        (indexSeconds / double(state.iterations())) / (sortSeconds / runs);
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

// Writing the packet and taking it into a client's rows.
void BM_PacketIntoRows(benchmark::State& state) {
    Data();
    qint64 memory = 0;
    qint64 raw = 0;
    for (auto _ : state) {
        TEngineCursor cursor;
        cursor.Open(BuildPacket());
        memory = cursor.Store().MemoryBytes();
        raw = cursor.Store().RawValueBytes();
        benchmark::DoNotOptimize(cursor.RecordCount());
    }
    state.counters["row_bytes"] = double(memory);
    state.counters["raw_value_bytes"] = double(raw);
    state.counters["memory_vs_raw"] = double(memory) / double(raw);
}
BENCHMARK(BM_PacketIntoRows)->Unit(benchmark::kMillisecond);

// What a grid does after every edit: post one record (it moves in the index)
// and read one page of cells (40 records, every column) by position. The
// cursor reads through the order it keeps anyway; the former way, measured
// in the same run for the ratio, rebuilt a copy of that order after every
// post before the first read.
void BM_PostThenReadPage(benchmark::State& state) {
    constexpr int PageRows = 40;
    TEngineCursor cursor;
    cursor.Open(BuildPacket());
    cursor.AddIndex(QStringLiteral("SortIndexEh"), QStringLiteral("CATEG;DESCRIPCION"));
    cursor.SelectIndex(QStringLiteral("SortIndexEh"));
    const int columns = cursor.FieldCount();
    int edits = 0;
    const auto post = [&] {
        cursor.SetRecNo(RowCount / 2);
        cursor.Edit();
        cursor.SetCell(enginetest::DESCRIPCION, edits++ % 2 ? "TORNILLO A" : "TUERCA B");
        cursor.Post();
    };
    double seconds = 0;
    for (auto _ : state) {
        seconds += Seconds([&] {
            post();
            for (int r = 1; r <= PageRows; ++r)
                for (int c = 0; c < columns; ++c)
                    benchmark::DoNotOptimize(cursor.CellAt(r, c));
        });
    }
    TLocalIndex copy(QStringLiteral("SortIndexEh"), QStringLiteral("CATEG;DESCRIPCION"), {},
                     cursor.Columns());
    double formerSeconds = 0;
    int runs = 0;
    for (; runs < 5; ++runs) {
        formerSeconds += Seconds([&] {
            post();
            copy.Build(cursor.Store());
            for (int r = 1; r <= PageRows; ++r)
                for (int c = 0; c < columns; ++c)
                    benchmark::DoNotOptimize(
                        cursor.Store().Cell(copy.Order()[static_cast<size_t>(r - 1)], c));
        });
    }
    state.counters["former_ms"] = 1000 * formerSeconds / runs;
    state.counters["vs_rebuilt_copy"] =
        (seconds / double(state.iterations())) / (formerSeconds / runs);
}
BENCHMARK(BM_PostThenReadPage)->Unit(benchmark::kMicrosecond);

} // namespace
