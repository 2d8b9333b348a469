// Writing the photographs of an upload: 2,000 records of 30 KB in a client
// dataset, the image control loading each record and writing it with
// SaveToFile, side by side with a hand-written loop that makes the same
// system calls (temporary file, write, sync, rename, sync of the folder)
// with the same bytes from memory. The loop without its syncs tells what
// syncing costs per file.

#include "bench/bench_photo.h"
#include "controls/dbimage/edb_image.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/client/dataset_provider.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/field.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPhotos = 2000;
constexpr int kPhotoBytes = 30 * 1024;

// Serves the photographs from memory as one packet of ID and FOTO.
class PhotoProvider : public TDataSetProvider {
public:
    explicit PhotoProvider(TComponent* owner) : TDataSetProvider(owner) {
        for (int i = 0; i < kPhotos; ++i)
            photos.push_back(BenchPhoto(i, kPhotoBytes));
    }
    TRecordsReply AS_GetRecords(const QString&, int count, unsigned, const QString&, const TParams&,
                                QVariant&) override {
        TRecordsReply reply;
        if (count == 0)
            return reply;
        TDataPacket packet({PacketColumn(QStringLiteral("ID"), ftInteger),
                            PacketColumn(QStringLiteral("FOTO"), ftBlob)});
        for (int i = 0; i < kPhotos; ++i) {
            const TValue row[] = {TValue(qint64(i + 1)), TValue(photos[size_t(i)])};
            packet.AppendRow(row);
        }
        reply.recsOut = kPhotos;
        reply.packet = std::move(packet);
        return reply;
    }
    std::vector<QByteArray> photos;
};

struct Window {
    TComponent root;
    PhotoProvider* provider = new PhotoProvider(&root);
    TClientDataSet* cds = new TClientDataSet(&root);
    TDataSource* source = new TDataSource(&root);
    TEDBImage* image = new TEDBImage(&root);
    QTemporaryDir dir;

    Window() {
        provider->SetName(QStringLiteral("PArticulos"));
        cds->SetName(QStringLiteral("CArticulos"));
        cds->SetProviderName(QStringLiteral("PArticulos"));
        source->SetDataSet(cds);
        image->SetDataSource(source);
        image->SetDataField(QStringLiteral("FOTO"));
        cds->Open();
        // Every record must load as a JPEG, as the photographs of an upload do.
        if (!image->Picture().Graphic() ||
            image->Picture().Graphic()->ClassName() != QStringLiteral("TJPEGImage")) {
            std::fprintf(stderr, "the photographs do not load as JPEG images\n");
            std::abort();
        }
    }
    QString FileName(int id) const { return dir.filePath(QStringLiteral("1-%1.jpg").arg(id)); }
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Check(bool ok) {
    if (!ok) {
        std::perror("reference loop");
        std::abort();
    }
}

// One photograph by hand, from memory: temporary, write, sync, close,
// rename, sync of the folder.
void WriteByHand(const QByteArray& target, const QByteArray& temporary, const QByteArray& folder,
                 const QByteArray& bytes, bool sync) {
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    Check(fd >= 0);
    Check(::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size());
    Check(!sync || ::fsync(fd) == 0);
    Check(::close(fd) == 0);
    Check(::rename(temporary.constData(), target.constData()) == 0);
    if (sync) {
        const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        Check(dirFd >= 0 && ::fsync(dirFd) == 0 && ::close(dirFd) == 0);
    }
}

struct RunTimes {
    double control = 0;   // moving to the record and SaveToFile
    double reference = 0; // the same file by hand
    double unsynced = 0;  // by hand without the two syncs
};

// The upload's loop, moving record by record and writing each photograph,
// with the hand-written writes of the same photograph interleaved: the disk
// of a shared machine changes speed from second to second, so the two sides
// take turns file by file (and swap who goes first) to meet the same disk.
RunTimes InterleavedRun(Window& w) {
    std::vector<QByteArray> targets, temporaries;
    for (int i = 0; i < kPhotos; ++i) {
        targets.push_back(QFile::encodeName(w.FileName(i + 1)));
        temporaries.push_back(targets.back() + ".tmp");
    }
    const QByteArray folder = QFile::encodeName(w.dir.path());
    TField& id = w.cds->FieldByName(QStringLiteral("ID"));
    RunTimes t;
    auto start = std::chrono::steady_clock::now();
    w.cds->First();
    t.control += Seconds(start);
    for (int i = 0; !w.cds->Eof(); ++i) {
        const size_t k = size_t(id.AsInteger() - 1);
        const QByteArray& bytes = w.provider->photos[k];
        auto byHand = [&] {
            const auto s = std::chrono::steady_clock::now();
            WriteByHand(targets[k], temporaries[k], folder, bytes, true);
            t.reference += Seconds(s);
        };
        if (i % 2)
            byHand();
        start = std::chrono::steady_clock::now();
        w.image->SaveToFile(w.FileName(int(k) + 1));
        w.cds->Next();
        t.control += Seconds(start);
        if (i % 2 == 0)
            byHand();
        start = std::chrono::steady_clock::now();
        WriteByHand(targets[k], temporaries[k], folder, bytes, false);
        t.unsynced += Seconds(start);
    }
    return t;
}

void BM_SavePhotographs(benchmark::State& state) {
    Window w;
    InterleavedRun(w); // the files exist from here on, as after an earlier upload
    RunTimes sum;
    for (auto _ : state) {
        const RunTimes t = InterleavedRun(w);
        sum.control += t.control;
        sum.reference += t.reference;
        sum.unsynced += t.unsynced;
        state.SetIterationTime(t.control);
    }
    const double n = double(state.iterations());
    state.counters["control_ms"] = sum.control / n * 1e3;
    state.counters["handwritten_ms"] = sum.reference / n * 1e3;
    state.counters["vs_handwritten"] = sum.control / sum.reference;
    state.counters["unsynced_ms"] = sum.unsynced / n * 1e3;
    state.counters["sync_us_per_file"] = (sum.reference - sum.unsynced) / n / kPhotos * 1e6;
}
BENCHMARK(BM_SavePhotographs)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The control's part without the disk: moving record by record and loading
// each picture (copy into the stream, JPEG header), no file written.
void BM_LoadRecords(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        for (w.cds->First(); !w.cds->Eof(); w.cds->Next())
            benchmark::DoNotOptimize(w.image->Picture().Graphic());
    }
    state.SetItemsProcessed(state.iterations() * kPhotos);
}
BENCHMARK(BM_LoadRecords)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
