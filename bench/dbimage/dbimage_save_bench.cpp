// Writing the photographs of an upload: 2,000 records of 30 KB in a client
// dataset, the image control loading each record and writing it with
// SaveToFile, side by side with a hand-written loop that makes the same
// system calls (temporary file, write, sync, rename, sync of the folder)
// with the same bytes from memory. The loop without its syncs tells what
// syncing costs per file.

#include "controls/dbimage/edb_image.h"
#include "data/dataset/clientdataset.h"
#include "data/dataset/dataset_provider.h"
#include "data/dataset/datasource.h"
#include "data/dataset/field.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
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

// A small JPEG (whose header the control parses on every record) followed
// by bytes that differ from photograph to photograph, 30 KB in all.
QByteArray Photo(int index) {
    static const QByteArray jpeg = [] {
        QImage image(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 4, y * 5, (x + y) * 2));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        return bytes;
    }();
    QByteArray bytes = jpeg;
    bytes.reserve(kPhotoBytes);
    uint32_t seed = 2654435761u * uint32_t(index + 1);
    while (bytes.size() < kPhotoBytes) {
        seed = seed * 1664525u + 1013904223u;
        bytes.append(static_cast<char>(seed >> 24));
    }
    return bytes;
}

// Serves the photographs from memory as one packet of ID and FOTO.
class PhotoProvider : public TDataSetProvider {
public:
    explicit PhotoProvider(TComponent* owner) : TDataSetProvider(owner) {
        for (int i = 0; i < kPhotos; ++i)
            photos.push_back(Photo(i));
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

// The upload's loop: move record by record and write each photograph.
double ControlRun(Window& w) {
    const auto start = std::chrono::steady_clock::now();
    TField& id = w.cds->FieldByName(QStringLiteral("ID"));
    for (w.cds->First(); !w.cds->Eof(); w.cds->Next())
        w.image->SaveToFile(w.FileName(int(id.AsInteger())));
    return Seconds(start);
}

void Check(bool ok) {
    if (!ok) {
        std::perror("reference loop");
        std::abort();
    }
}

// The same files by hand, from memory: temporary, write, sync, close,
// rename, sync of the folder.
double ReferenceRun(const Window& w, bool sync) {
    std::vector<QByteArray> targets, temporaries;
    for (int i = 0; i < kPhotos; ++i) {
        targets.push_back(QFile::encodeName(w.FileName(i + 1)));
        temporaries.push_back(targets.back() + ".tmp");
    }
    const QByteArray folder = QFile::encodeName(w.dir.path());
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPhotos; ++i) {
        const QByteArray& bytes = w.provider->photos[size_t(i)];
        const int fd = ::open(temporaries[size_t(i)].constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        Check(fd >= 0);
        Check(::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size());
        Check(!sync || ::fsync(fd) == 0);
        Check(::close(fd) == 0);
        Check(::rename(temporaries[size_t(i)].constData(), targets[size_t(i)].constData()) == 0);
        if (sync) {
            const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            Check(dirFd >= 0 && ::fsync(dirFd) == 0 && ::close(dirFd) == 0);
        }
    }
    return Seconds(start);
}

void BM_SavePhotographs(benchmark::State& state) {
    Window w;
    ControlRun(w); // the files exist from here on, as after an earlier upload
    double control = 0, reference = 0, unsynced = 0;
    bool controlFirst = true;
    for (auto _ : state) {
        // Alternating the order keeps what one run leaves to the disk from
        // weighing on the same side every time.
        double c = 0, r = 0;
        if (controlFirst) {
            c = ControlRun(w);
            r = ReferenceRun(w, true);
        } else {
            r = ReferenceRun(w, true);
            c = ControlRun(w);
        }
        controlFirst = !controlFirst;
        const double u = ReferenceRun(w, false);
        control += c;
        reference += r;
        unsynced += u;
        state.SetIterationTime(c);
    }
    const double n = double(state.iterations());
    state.counters["control_ms"] = control / n * 1e3;
    state.counters["handwritten_ms"] = reference / n * 1e3;
    state.counters["vs_handwritten"] = control / reference;
    state.counters["unsynced_ms"] = unsynced / n * 1e3;
    state.counters["sync_us_per_file"] = (reference - unsynced) / n / kPhotos * 1e6;
}
BENCHMARK(BM_SavePhotographs)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);

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
