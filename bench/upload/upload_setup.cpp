#include "bench/upload/upload_setup.h"

#include "bench/bench_photo.h"
#include "data/driver/cursor.h"
#include "data/driver/statement.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <unistd.h>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("Cannot write %s", qPrintable(path));
}

} // namespace

QString UploadSetup::Code(int index) {
    return QStringLiteral("A%1").arg(index + 1, 5, 10, QLatin1Char('0'));
}

UploadSetup::UploadSetup(int articles, int photoBytes, bool oldAddresses)
    : articles_(articles), oldAddresses_(oldAddresses), catalogHost_(TestDatabase::Host()) {
    erp_.RunFixture(QStringLiteral("dorvan.sql"));
    catalog_.RunFixture(QStringLiteral("quelbo.sql"));

    // The ERP's articles, in one transaction.
    Driver::Connection& erp = erp_.Connection();
    erp.StartTransaction(Driver::Isolation::ReadCommitted);
    const auto insert = erp.Prepare(QStringLiteral(
        "insert into ARTICULOS_ERP (CODIGO, DESCRIPCION, UNIDAD, CATEG, SUBCATEG, PRECIO, FOTO, "
        "ACTIVO, CAMBIO) values (?, ?, 'PZA', ?, ?, ?, ?, 'S', ?)"));
    for (int i = 0; i < articles; ++i) {
        insert->SetText(0, Code(i));
        insert->SetText(1, QStringLiteral("Artículo de prueba número %1").arg(i + 1));
        insert->SetInt32(2, i % 40);
        insert->SetInt32(3, i % 400);
        insert->SetDecimal(4, 150 + i, 2);
        insert->SetBlob(5, BenchPhoto(i, photoBytes));
        insert->SetTimestamp(6, QDateTime(QDate(2020, 5, 1), QTime(10, 0)).addSecs(i));
        insert->Execute();
    }
    erp.Commit();

    // The catalog as the login window reaches it: "<folder>/quelbo.fdb".
    catalogFolder_ = QStringLiteral("%1/bench_%2").arg(TestDatabase::DataDir()).arg(getpid());
    QDir(catalogFolder_).removeRecursively();
    if (!QDir().mkpath(catalogFolder_) ||
        !QFile::link(catalog_.File(), catalogFolder_ + QStringLiteral("/quelbo.fdb")))
        qFatal("Cannot prepare %s", qPrintable(catalogFolder_));

    // The registry's key and the server list; drive C holds the web folder.
    oldConfigDirs_ = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_DIRS", config_.path().toLocal8Bit());
    QDir().mkpath(config_.path() + QStringLiteral("/Ostrel"));
    WriteFile(config_.path() + QStringLiteral("/Ostrel/Trevola.conf"),
              "Directorio = " + app_.path().toLocal8Bit() +
                  "\n[Drives]\nC = " + drive_.path().toLocal8Bit() + "\n");
    WriteServerList();
    Reset();
}

UploadSetup::~UploadSetup() {
    QDir(catalogFolder_).removeRecursively();
    qputenv("XDG_CONFIG_DIRS", oldConfigDirs_);
}

void UploadSetup::Reset() {
    catalog_.Run(QStringLiteral("delete from ARTICULOS;"
                                "update COMPANIA set COMP_FECACT = '2020-04-23', "
                                "COMP_HORACT = '14:05:09' where COMP_ID = 1;"));
    // Every second article is in the catalog already, with other values in
    // every column the upload writes: it is updated, the others inserted.
    Driver::Connection& catalog = catalog_.Connection();
    catalog.StartTransaction(Driver::Isolation::ReadCommitted);
    const auto insert = catalog.Prepare(
        QStringLiteral("insert into ARTICULOS (ARTI_COD, ARTI_DES, ARTI_UNIDAD, CATE_ID, SUCA_ID, "
                       "ARTI_FOTO, ARTI_ACTIVO) values (?, 'Descripción anterior', 'CJA', 99, "
                       "999, ?, 'N')"));
    for (int i = 1; i < articles_; i += 2) {
        insert->SetText(0, Code(i));
        if (oldAddresses_)
            insert->SetBlob(1, "http://www.trevola.invalid/trevola/imgarti/1-" +
                                   Code(i).toLatin1() + "-anterior.jpg");
        else
            insert->SetNull(1);
        insert->Execute();
    }
    catalog.Commit();
    QDir(WebFolder()).removeRecursively();
    QDir().mkpath(WebFolder());
}

void UploadSetup::RouteCatalogThrough(const QString& hostAndPort) {
    catalogHost_ = hostAndPort;
    WriteServerList();
}

void UploadSetup::WriteServerList() const {
    WriteFile(app_.path() + QStringLiteral("/SERVIDORES.cfg"), ServerLine().toLocal8Bit() + "\r\n");
}

QString UploadSetup::ServerLine() const {
    return catalogHost_ + u':' + catalogFolder_;
}

QString UploadSetup::CatalogDatabase() const {
    return ServerLine() + QStringLiteral("/quelbo.fdb");
}

QString UploadSetup::WebFolder() const {
    return drive_.path() + QStringLiteral("/wamp/www/trevola/imgarti");
}

int UploadSetup::PhotoFiles(qint64* bytes) const {
    const QFileInfoList files = QDir(WebFolder()).entryInfoList(QDir::Files);
    if (bytes) {
        *bytes = 0;
        for (const QFileInfo& f : files)
            *bytes += f.size();
    }
    return static_cast<int>(files.size());
}
