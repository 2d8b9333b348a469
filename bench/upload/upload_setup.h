#pragma once
// What an upload needs, made once for a benchmark run and reset before each
// upload, for the program's run and for any other way of doing the same
// work: a fresh ERP database on the local server holding `articles`
// articles changed after the catalog's stamp, each with a photograph of
// `photoBytes` bytes (a small JPEG followed by bytes that differ from one
// photograph to the next); a fresh catalog database reachable as
// "<ServerLine()>/quelbo.fdb"; the program's settings (XDG_CONFIG_DIRS) with
// drive C in a temporary folder that holds the web folder.

#include "tests/support/test_database.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class UploadSetup {
public:
    // With `oldAddresses`, the articles already in the catalog hold the
    // address of a photograph, as after an earlier upload; else none.
    UploadSetup(int articles, int photoBytes, bool oldAddresses = false);
    ~UploadSetup();
    UploadSetup(const UploadSetup&) = delete;
    UploadSetup& operator=(const UploadSetup&) = delete;

    // Article `index` (0-based) has the photograph BenchPhoto(index, photoBytes).
    // The code of article `index`: "A00001" and on.
    static QString Code(int index);

    int Articles() const { return articles_; }
    // The catalog before an upload: every second article (index 1, 3, ...)
    // there with other values ('Descripción anterior', 'CJA', 99, 999, no
    // photograph or an old address, 'N'), the others not; company 1 stamped
    // 23 April 2020, 14:05:09 (every article changed after it); the web
    // folder empty.
    void Reset();

    TestDatabase& Erp() { return erp_; }
    TestDatabase& Catalog() { return catalog_; }
    // Where the program and the reference reach the catalog: the server
    // itself, or from now on `hostAndPort` ("127.0.0.1/<port>", a relay in
    // front of it). The server list follows.
    void RouteCatalogThrough(const QString& hostAndPort);
    // A line of the server list that leads to the catalog.
    QString ServerLine() const;
    // The catalog's database name as the reference attaches to it.
    QString CatalogDatabase() const;
    // The local folder of c:\wamp\www\trevola\imgarti.
    QString WebFolder() const;
    // The files now in the web folder, and their bytes in all.
    int PhotoFiles(qint64* bytes = nullptr) const;

private:
    void WriteServerList() const;

    int articles_;
    bool oldAddresses_;
    QString catalogHost_;
    TestDatabase erp_{QStringLiteral("bench_erp")};
    TestDatabase catalog_{QStringLiteral("bench_quelbo")};
    QString catalogFolder_;
    QTemporaryDir config_;
    QTemporaryDir app_;
    QTemporaryDir drive_;
    QByteArray oldConfigDirs_;
};
