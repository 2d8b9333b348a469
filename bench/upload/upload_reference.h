#pragma once
// The upload as a careful hand-written program does it on the Firebird
// client's OO API, to measure the program's run against: the same articles
// read from the ERP's procedure (blobs and all), then per article the
// lookup, the same insert or update with the same values and a commit, and
// the photograph written as the program writes it (temporary file, write,
// fsync, rename, fsync of the folder). Its statements are prepared once.
//
// Also the catalog's forced writes, which the benchmark turns on and off.

#include "bench/upload/upload_timing.h"

#include <QString>

class UploadSetup;

// One upload of every article of `setup` changed after the catalog's stamp,
// whose date and time go to the procedure as `dateText` and `timeText` (the
// texts the program sends), to the catalog at setup.CatalogDatabase(). Tells
// `steps` (started with the run) of each step as it begins. Raises
// std::runtime_error on any failure.
RunTimes ReferenceUpload(UploadSetup& setup, const QString& dateText, const QString& timeText,
                         StepClock& steps);
// The same with the lower bound of the program's runs in this process, 23
// April 2020 at 14:05:09, the date in the short date format, as the results
// window sends it; raises std::runtime_error unless every photograph was
// written, as the program's run does.
RunTimes ReferenceUpload(UploadSetup& setup, StepClock& steps);

// Sets the forced writes of `database` ("host:file") and returns what they
// were.
bool SetForcedWrites(const QString& database, bool on);
