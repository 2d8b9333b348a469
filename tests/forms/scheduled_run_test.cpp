#include "forms/scheduled_run.h"
#include "platform/system/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(ScheduledRun, IsAskedForByAnyTextInPositionTwelveAfterTheUnattendedExport) {
    const QStringList twelve{"articulosmqb", "srv",    "usr", "pwd", "1", "5", "6", "7", "8", "9",
                             "auto",         "export", "fin"};
    const struct {
        const char* name;
        QString commandLine;
        bool requested;
    } cases[] = {
        {"eleven", CommandLineFromArguments(twelve.mid(0, 12)), false},
        {"twelve", CommandLineFromArguments(twelve), true},
        {"thirteen", CommandLineFromArguments(twelve) + " more", true},
        // A bare pair of quotes takes no position: eleven arguments.
        {"twelve with a bare pair", CommandLineFromArguments(twelve.mid(0, 12)) + " \"\"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InitCommandLine(SplitCommandLine(c.commandLine));
        EXPECT_EQ(TScheduledRun::Requested(), c.requested);
    }
    InitCommandLine({});
}

TEST(ScheduledRun, TheExitStatusAndTheSummarySayHowTheRunWent) {
    const struct {
        const char* name;
        TUploadCounts counts;
        bool stamped;
        int status;
        QString summary;
    } cases[] = {
        {"nothing read",
         {},
         false,
         2,
         "Artículos leídos: 0; subidos: 0; rechazados: 0; imágenes escritas: 0; compañía 7 sin "
         "sellar"},
        {"stopped part-way",
         {.read = 300, .done = 120, .refused = 0, .photos = 119},
         false,
         2,
         "Artículos leídos: 300; subidos: 120; rechazados: 0; imágenes escritas: 119; compañía 7 "
         "sin sellar"},
        // A refusal before the stop does not make the run complete.
        {"stopped after a refusal",
         {.read = 300, .done = 120, .refused = 1, .photos = 119},
         false,
         2,
         "Artículos leídos: 300; subidos: 119; rechazados: 1; imágenes escritas: 119; compañía 7 "
         "sin sellar"},
        {"complete",
         {.read = 300, .done = 300, .refused = 0, .photos = 298},
         true,
         0,
         "Artículos leídos: 300; subidos: 300; rechazados: 0; imágenes escritas: 298; compañía 7 "
         "sellada con 11/12/2026 14:05:09"},
        {"complete with refusals",
         {.read = 300, .done = 300, .refused = 2, .photos = 298},
         true,
         1,
         "Artículos leídos: 300; subidos: 298; rechazados: 2; imágenes escritas: 298; compañía 7 "
         "sellada con 11/12/2026 14:05:09"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList lines;
        TScheduledRun run(
            "7", [&](const QString& line) { lines << line; }, [] { return qint64(0); });
        run.UploadStarted({.read = c.counts.read});
        run.ArticleDone(c.counts);
        if (c.stamped)
            run.Stamped("11/12/2026", "14:05:09");
        EXPECT_EQ(run.ExitStatus(), c.status);
        run.WriteSummary();
        EXPECT_EQ(lines, QStringList{c.summary});
    }
}

TEST(ScheduledRun, AProgressLineComesAtMostEveryTenSecondsOfTheUpload) {
    qint64 now = 0;
    QStringList lines;
    TScheduledRun run(
        "1", [&](const QString& line) { lines << line; }, [&] { return now; });
    // Connecting took long: the upload's own time counts.
    now = 15000;
    run.UploadStarted({.read = 2000});
    // The moment of each article done, and the line it brings, if any.
    const std::pair<qint64, const char*> steps[] = {
        {15001, nullptr},
        {24999, nullptr},
        {25000, "Subiendo artículos: 3 de 2000..."},
        {25001, nullptr},
        {34999, nullptr},
        {35000, "Subiendo artículos: 6 de 2000..."},
        // An article that alone takes longer than that.
        {80000, "Subiendo artículos: 7 de 2000..."},
        {89999, nullptr},
    };
    TUploadCounts counts{.read = 2000};
    for (const auto& [at, line] : steps) {
        SCOPED_TRACE(at);
        now = at;
        ++counts.done;
        lines.clear();
        run.ArticleDone(counts);
        EXPECT_EQ(lines, line ? QStringList{QString::fromUtf8(line)} : QStringList());
    }
}

} // namespace
