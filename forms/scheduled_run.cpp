#include "forms/scheduled_run.h"

#include "platform/system/command_line.h"
#include "platform/ui/form.h"

#include <QTimer>
#include <chrono>
#include <cstdio>

namespace {

// Ten seconds at least between two progress lines.
constexpr qint64 kProgressEveryMs = 10000;

void StandardOutputLine(const QString& line) {
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

qint64 SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

QString UploadProgressLine(const TUploadCounts& counts) {
    return QStringLiteral("Subiendo artículos: %1 de %2...").arg(counts.done).arg(counts.read);
}

QString UploadSummaryLine(const TUploadCounts& counts, const QString& company,
                          const QString& stamp) {
    const QString stampPart =
        stamp.isEmpty() ? QStringLiteral("compañía %1 sin sellar").arg(company)
                        : QStringLiteral("compañía %1 sellada con %2").arg(company, stamp);
    return QStringLiteral("Artículos leídos: %1; subidos: %2; rechazados: %3; imágenes escritas: "
                          "%4; %5")
        .arg(counts.read)
        .arg(counts.Written())
        .arg(counts.refused)
        .arg(counts.photos)
        .arg(stampPart);
}

bool TScheduledRun::Requested() {
    return !ParamStr(10).isEmpty() && !ParamStr(11).isEmpty() && !ParamStr(12).isEmpty();
}

TScheduledRun::TScheduledRun(const QString& company, Output output, Clock clock)
    : company_(company), output_(output ? std::move(output) : StandardOutputLine),
      clock_(clock ? std::move(clock) : SteadyMilliseconds) {
    lastLine_ = clock_();
}

void TScheduledRun::UploadStarted(const TUploadCounts& counts) {
    counts_ = counts;
    lastLine_ = clock_();
}

void TScheduledRun::ArticleDone(const TUploadCounts& counts) {
    counts_ = counts;
    const qint64 now = clock_();
    if (now - lastLine_ < kProgressEveryMs)
        return;
    lastLine_ = now;
    output_(UploadProgressLine(counts_));
}

void TScheduledRun::Stamped(const QString& date, const QString& time) {
    stamp_ = date + u' ' + time;
}

int TScheduledRun::ExitStatus() const {
    if (!IsStamped())
        return kStopped;
    return counts_.refused > 0 ? kCompletedWithRefusals : kCompleted;
}

QString TScheduledRun::Summary() const {
    return UploadSummaryLine(counts_, company_, stamp_);
}

void TScheduledRun::WriteSummary() const {
    output_(Summary());
}

TAfterHandler::TAfterHandler(TForm* window, std::function<void()> action)
    : window_(window), action_(std::move(action)) {}

TAfterHandler::~TAfterHandler() {
    if (!window_)
        return;
    // Queued: the handler returns first, or the exception that ends it
    // reaches the error hook first. Nothing runs once the window is gone.
    QWidget* widget = window_->Widget();
    QTimer::singleShot(0, widget, [widget, action = action_] {
        if (widget->isVisible())
            action();
    });
}
