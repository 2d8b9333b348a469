#include "bench/upload/upload_reference.h"

#include "bench/upload/heap_peak.h"
#include "bench/upload/upload_setup.h"
#include "data/driver/client_library.h"
#include "platform/system/datetime.h"
#include "platform/system/format_settings.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <cstring>
#include <fcntl.h>
#include <firebird/Interface.h>
#include <memory>
#include <stdexcept>
#include <unistd.h>
#include <vector>

using namespace Firebird;

namespace {

IMaster* Master() {
    return Driver::LoadClient(Driver::ClientLibraryFor(QString()));
}

// A status vector that raises on any error.
class Status {
public:
    Status() : status_(Master()->getStatus()), wrapper_(status_) {}
    ~Status() { status_->dispose(); }
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    CheckStatusWrapper* operator&() {
        Check();
        return &wrapper_;
    }
    void Check() {
        if (wrapper_.getState() & IStatus::STATE_ERRORS) {
            char text[1024];
            Master()->getUtilInterface()->formatStatus(text, sizeof text, status_);
            wrapper_.init();
            throw std::runtime_error(text);
        }
    }

private:
    IStatus* status_;
    CheckStatusWrapper wrapper_;
};

IAttachment* Attach(const QString& database, const QByteArray& dpbExtra = {}) {
    Status st;
    IXpbBuilder* dpb =
        Master()->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&st, isc_dpb_user_name, TestDatabase::User().toLatin1().constData());
    dpb->insertString(&st, isc_dpb_password, TestDatabase::Password().toLatin1().constData());
    dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
    for (qsizetype i = 0; i + 1 < dpbExtra.size(); i += 2)
        dpb->insertInt(&st, static_cast<unsigned char>(dpbExtra[i]),
                       static_cast<unsigned char>(dpbExtra[i + 1]));
    IProvider* provider = Master()->getDispatcher();
    IAttachment* att = provider->attachDatabase(&st, database.toLocal8Bit().constData(),
                                                dpb->getBufferLength(&st), dpb->getBuffer(&st));
    st.Check();
    dpb->dispose();
    provider->release();
    return att;
}

void Detach(IAttachment* att) {
    Status st;
    att->detach(&st);
    st.Check();
}

ITransaction* Start(IAttachment* att) {
    // The program's connections: read committed, record versions, waiting on locks.
    static const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                                        isc_tpb_rec_version, isc_tpb_wait};
    Status st;
    return att->startTransaction(&st, sizeof tpb, tpb);
}

// A message laid out by a statement's metadata, written and read by position.
class Message {
public:
    explicit Message(IMessageMetadata* meta) : meta_(meta) {
        Status st;
        data_.assign(meta_->getMessageLength(&st), 0);
        for (unsigned i = 0, n = meta_->getCount(&st); i < n; ++i) {
            offsets_.push_back(meta_->getOffset(&st, i));
            nullOffsets_.push_back(meta_->getNullOffset(&st, i));
            lengths_.push_back(meta_->getLength(&st, i));
        }
    }
    ~Message() { meta_->release(); }
    Message(const Message&) = delete;
    Message& operator=(const Message&) = delete;

    IMessageMetadata* Meta() const { return meta_; }
    unsigned char* Data() { return data_.data(); }

    void SetNull(unsigned i, bool null) {
        const ISC_SHORT flag = null ? -1 : 0;
        std::memcpy(At(nullOffsets_[i]), &flag, sizeof flag);
    }
    bool IsNull(unsigned i) {
        ISC_SHORT flag;
        std::memcpy(&flag, At(nullOffsets_[i]), sizeof flag);
        return flag != 0;
    }
    void SetVarchar(unsigned i, const QByteArray& bytes) {
        SetNull(i, false);
        const auto n = static_cast<ISC_USHORT>(bytes.size());
        std::memcpy(At(offsets_[i]), &n, sizeof n);
        std::memcpy(At(offsets_[i]) + sizeof n, bytes.constData(), n);
    }
    QByteArray Varchar(unsigned i) {
        ISC_USHORT n;
        std::memcpy(&n, At(offsets_[i]), sizeof n);
        return QByteArray(reinterpret_cast<const char*>(At(offsets_[i]) + sizeof n), n);
    }
    void SetChar(unsigned i, char c) {
        SetNull(i, false);
        std::memset(At(offsets_[i]), ' ', lengths_[i]);
        *At(offsets_[i]) = static_cast<unsigned char>(c);
    }
    template <typename T> void Set(unsigned i, T value) {
        SetNull(i, false);
        std::memcpy(At(offsets_[i]), &value, sizeof value);
    }
    template <typename T> T Get(unsigned i) {
        T value;
        std::memcpy(&value, At(offsets_[i]), sizeof value);
        return value;
    }
    // Copies field `from` of `source` (same type and length) into field `to`.
    void CopyFrom(unsigned to, Message& source, unsigned from) {
        std::memcpy(At(offsets_[to]), source.At(source.offsets_[from]), lengths_[to]);
        SetNull(to, source.IsNull(from));
    }

private:
    unsigned char* At(unsigned offset) { return data_.data() + offset; }
    IMessageMetadata* meta_;
    std::vector<unsigned char> data_;
    std::vector<unsigned> offsets_, nullOffsets_, lengths_;
};

struct Prepared {
    IStatement* statement;
    std::unique_ptr<Message> in;
    std::unique_ptr<Message> out;
};

Prepared Prepare(IAttachment* att, ITransaction* tra, const char* sql) {
    Status st;
    Prepared p;
    p.statement = att->prepare(&st, tra, 0, sql, 3, IStatement::PREPARE_PREFETCH_METADATA);
    p.in = std::make_unique<Message>(p.statement->getInputMetadata(&st));
    p.out = std::make_unique<Message>(p.statement->getOutputMetadata(&st));
    return p;
}

void Free(Prepared& p) {
    Status st;
    p.statement->free(&st);
}

// A blob read whole: its size first, then segments of 32 KB.
QByteArray ReadBlob(IAttachment* att, ITransaction* tra, ISC_QUAD id) {
    Status st;
    IBlob* blob = att->openBlob(&st, tra, &id, 0, nullptr);
    const unsigned char items[] = {isc_info_blob_total_length};
    unsigned char info[16] = {};
    blob->getInfo(&st, sizeof items, items, sizeof info, info);
    const unsigned length = info[1] | (info[2] << 8);
    unsigned total = 0;
    for (unsigned i = length; i-- > 0;)
        total = (total << 8) | info[3 + i];
    QByteArray bytes(static_cast<qsizetype>(total), Qt::Uninitialized);
    qsizetype at = 0;
    while (at < bytes.size()) {
        unsigned got = 0;
        const auto want = static_cast<unsigned>(qMin<qsizetype>(bytes.size() - at, 32768));
        if (blob->getSegment(&st, want, bytes.data() + at, &got) == IStatus::RESULT_NO_DATA)
            break;
        at += got;
    }
    blob->close(&st);
    bytes.truncate(at);
    return bytes;
}

ISC_QUAD WriteBlob(IAttachment* att, ITransaction* tra, const QByteArray& bytes) {
    Status st;
    ISC_QUAD id{};
    IBlob* blob = att->createBlob(&st, tra, &id, 0, nullptr);
    blob->putSegment(&st, static_cast<unsigned>(bytes.size()), bytes.constData());
    blob->close(&st);
    return id;
}

void Require(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(what);
}

// The program's way of writing a photograph: a synced temporary renamed
// over the file, then the folder synced.
void WritePhoto(const QByteArray& folder, const QByteArray& name, const QByteArray& bytes) {
    const QByteArray target = folder + '/' + name;
    const QByteArray temporary = target + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    Require(fd >= 0, "open");
    Require(::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size(), "write");
    Require(::fsync(fd) == 0 && ::close(fd) == 0, "fsync");
    Require(::rename(temporary.constData(), target.constData()) == 0, "rename");
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    Require(dir >= 0 && ::fsync(dir) == 0 && ::close(dir) == 0, "fsync folder");
}

struct Article {
    QByteArray code, description, unit;
    qint32 categ = 0, subcateg = 0;
    bool hasPhoto = false;
    QByteArray photo;
};

// Every row of the procedure, photographs included, in one transaction.
std::vector<Article> ReadArticles(IAttachment* erp, const QString& dateText,
                                  const QString& timeText) {
    Status st;
    ITransaction* tra = Start(erp);
    const QByteArray sql = "SELECT * FROM ARTICULOS_MIQUELBO('" + dateText.toLatin1() + "','" +
                           timeText.toLatin1() + "')";
    Prepared select = Prepare(erp, tra, sql.constData());
    IResultSet* rows =
        select.statement->openCursor(&st, tra, nullptr, nullptr, select.out->Meta(), 0);
    std::vector<Article> articles;
    Message& row = *select.out;
    while (rows->fetchNext(&st, row.Data()) == IStatus::RESULT_OK) {
        Article a;
        a.code = row.Varchar(0);
        a.description = row.Varchar(1);
        a.unit = row.Varchar(2);
        a.categ = row.Get<ISC_LONG>(3);
        a.subcateg = row.Get<ISC_LONG>(4);
        a.hasPhoto = !row.IsNull(6);
        if (a.hasPhoto)
            a.photo = ReadBlob(erp, tra, row.Get<ISC_QUAD>(6));
        articles.push_back(std::move(a));
    }
    rows->close(&st);
    Free(select);
    tra->commit(&st);
    return articles;
}

} // namespace

RunTimes ReferenceUpload(UploadSetup& setup, const QString& dateText, const QString& timeText,
                         StepClock& steps) {
    RunTimes times;
    QElapsedTimer clock;
    clock.start();
    // The catalog is open before the run, as the login window leaves it; the
    // ERP opens with the run.
    IAttachment* catalog = Attach(setup.CatalogDatabase());
    clock.restart();
    steps.Start();
    HeapPeak::Mark();
    IAttachment* erp = Attach(setup.Erp().Database());
    std::vector<Article> articles = ReadArticles(erp, dateText, timeText);
    qint64 last = clock.nsecsElapsed();

    Status st;
    ITransaction* prepareTra = Start(catalog);
    Prepared lookup = Prepare(catalog, prepareTra, "SELECT * FROM ARTICULOS WHERE ARTI_COD = ?");
    Prepared insert = Prepare(catalog, prepareTra,
                              "insert into ARTICULOS (ARTI_COD, ARTI_DES, ARTI_UNIDAD, CATE_ID, "
                              "SUCA_ID, ARTI_FOTO, ARTI_ACTIVO) values (?, ?, ?, ?, ?, ?, ?)");
    Prepared update = Prepare(catalog, prepareTra,
                              "update ARTICULOS set ARTI_DES = ?, ARTI_UNIDAD = ?, CATE_ID = ?, "
                              "SUCA_ID = ?, ARTI_FOTO = ?, ARTI_ACTIVO = ? where ARTI_COD = ? and "
                              "ARTI_DES = ? and ARTI_UNIDAD = ? and CATE_ID = ? and SUCA_ID = ? "
                              "and ARTI_ACTIVO = ?");
    prepareTra->commit(&st);

    const QByteArray folder = setup.WebFolder().toLocal8Bit();
    for (const Article& a : articles) {
        const QByteArray name = "1-" + a.code + ".jpg";
        const QByteArray address = "http://www.trevola.invalid/trevola/imgarti/" + name;
        steps.Enter(UploadStep::Lookup);
        ITransaction* tra = Start(catalog);
        lookup.in->SetVarchar(0, a.code);
        IResultSet* found = lookup.statement->openCursor(&st, tra, lookup.in->Meta(),
                                                         lookup.in->Data(), lookup.out->Meta(), 0);
        const bool exists = found->fetchNext(&st, lookup.out->Data()) == IStatus::RESULT_OK;
        while (exists && found->fetchNext(&st, lookup.out->Data()) == IStatus::RESULT_OK) {
        }
        found->close(&st);

        steps.Enter(UploadStep::Apply);
        Prepared& write = exists ? update : insert;
        Message& in = *write.in;
        const unsigned at = exists ? 0 : 1; // the insert's first value is the code
        if (!exists)
            in.SetVarchar(0, a.code);
        in.SetVarchar(at, a.description);
        in.SetVarchar(at + 1, a.unit);
        in.Set<ISC_SHORT>(at + 2, static_cast<ISC_SHORT>(a.categ));
        in.Set<ISC_SHORT>(at + 3, static_cast<ISC_SHORT>(a.subcateg));
        in.Set<ISC_QUAD>(at + 4, WriteBlob(catalog, tra, address));
        in.SetChar(at + 5, 'S');
        if (exists) {
            // The row as it was read: every column but the photograph.
            const unsigned columns[] = {0, 1, 2, 3, 4, 6};
            for (unsigned i = 0; i < 6; ++i)
                in.CopyFrom(6 + i, *lookup.out, columns[i]);
        }
        write.statement->execute(&st, tra, in.Meta(), in.Data(), nullptr, nullptr);
        Require(write.statement->getAffectedRecords(&st) == 1, "no row written");
        tra->commit(&st);

        steps.Enter(UploadStep::Photo);
        if (a.hasPhoto)
            WritePhoto(folder, name, a.photo);
        const qint64 now = clock.nsecsElapsed();
        times.perArticle.push_back(double(now - last) * 1e-9);
        last = now;
    }
    // The company's stamp.
    steps.Enter(UploadStep::Stamp);
    ITransaction* tra = Start(catalog);
    catalog->execute(&st, tra, 0,
                     ("UPDATE COMPANIA SET COMP_FECACT = '2020-04-23', COMP_HORACT = '" +
                      timeText.toLatin1() + "' WHERE COMP_ID = 1")
                         .constData(),
                     3, nullptr, nullptr, nullptr, nullptr);
    tra->commit(&st);
    st.Check();
    times.total = double(clock.nsecsElapsed()) * 1e-9;
    times.peakHeapBytes = HeapPeak::PeakSinceMark();
    steps.Stop();
    times.stepSeconds = steps.Seconds();

    Free(lookup);
    Free(insert);
    Free(update);
    Detach(erp);
    Detach(catalog);
    return times;
}

bool SetForcedWrites(const QString& database, bool on) {
    Status st;
    IAttachment* att = Attach(database);
    const unsigned char items[] = {isc_info_forced_writes, isc_info_end};
    unsigned char info[16] = {};
    att->getInfo(&st, sizeof items, items, sizeof info, info);
    const bool was = info[0] == isc_info_forced_writes && info[3] != 0;
    Detach(att);
    const char dpb[] = {char(isc_dpb_force_write), char(on ? 1 : 0)};
    Detach(Attach(database, QByteArray(dpb, 2)));
    return was;
}

RunTimes ReferenceUpload(UploadSetup& setup, StepClock& steps) {
    const QString dateText =
        FormatDateTime(FormatSettings().ShortDateFormat, TDateTime::FromQDate(QDate(2020, 4, 23)));
    const RunTimes times = ReferenceUpload(setup, dateText, QStringLiteral("14:05:09"), steps);
    if (setup.PhotoFiles() != setup.Articles())
        throw std::runtime_error("the reference did not write every photograph");
    return times;
}
