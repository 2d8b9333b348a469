#pragma once
// A run that a scheduler owns: the unattended export (positions 10 and 11 of
// the command line) with any text in position 12. The program then needs
// nobody: its boxes show nothing and wait for no one, its windows close by
// themselves when the run ends, its exit status tells how the run went, and
// standard output gets a progress line at most every 10 seconds of a long
// upload and one summary line at the end.

#include <QString>
#include <QtGlobal>
#include <functional>

class TForm;

// What an upload has done so far.
struct TUploadCounts {
    int read = 0;    // articles the ERP gave
    int done = 0;    // articles whose step is over (photograph included), refused ones too
    int refused = 0; // articles the catalog refused
    int photos = 0;  // photograph files written
    int Written() const { return done - refused; }
};

// "Subiendo artículos: <done> de <read>..."
QString UploadProgressLine(const TUploadCounts& counts);
// "Artículos leídos: <read>; subidos: <written>; rechazados: <refused>;
// imágenes escritas: <photos>; compañía <company> sellada con <stamp>", or
// ending in "compañía <company> sin sellar" when `stamp` is empty.
QString UploadSummaryLine(const TUploadCounts& counts, const QString& company,
                          const QString& stamp);

class TScheduledRun {
public:
    // The exit statuses.
    static constexpr int kCompleted = 0;             // stamped, no article refused
    static constexpr int kCompletedWithRefusals = 1; // stamped, some refused (in ERRORES.TXT)
    static constexpr int kStopped = 2; // the connection or the upload stopped on an error

    // Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;
    // Writes one line.
    using Output = std::function<void(const QString& line)>;

    // Whether the command line asks for one: any text in positions 10, 11 and 12.
    static bool Requested();

    // A run for company `company`, writing its lines to standard output
    // (flushed after each) unless told otherwise.
    explicit TScheduledRun(const QString& company, Output output = {}, Clock clock = {});

    // The upload has read its articles; its progress is timed from now.
    void UploadStarted(const TUploadCounts& counts);
    // One more article is done: a progress line when 10 seconds have passed
    // since the last one (or since the upload started).
    void ArticleDone(const TUploadCounts& counts);
    // The company was stamped with this date and time, as the user reads them.
    void Stamped(const QString& date, const QString& time);

    const TUploadCounts& Counts() const { return counts_; }
    bool IsStamped() const { return !stamp_.isEmpty(); }
    int ExitStatus() const;
    QString Summary() const;
    // Writes the summary line.
    void WriteSummary() const;

private:
    QString company_;
    Output output_;
    Clock clock_;
    qint64 lastLine_ = 0;
    TUploadCounts counts_;
    QString stamp_; // "<date> <time>" once stamped
};

// Made at the start of a window's handler: when the handler is over,
// however it ends (an exception included, once the error hook has reported
// it), `action` runs, provided the window is still on view then. With no
// window it does nothing. For the windows of a run a scheduler owns, which
// close by themselves when their part is done.
class TAfterHandler {
public:
    TAfterHandler(TForm* window, std::function<void()> action);
    ~TAfterHandler();
    TAfterHandler(const TAfterHandler&) = delete;
    TAfterHandler& operator=(const TAfterHandler&) = delete;

private:
    TForm* window_;
    std::function<void()> action_;
};
