#pragma once
// The times of one upload, by the program or by the hand-written reference,
// and the figures the benchmark reports from them.

#include <QElapsedTimer>
#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

// What an upload is doing, for the time and the waits of each part: one
// article's lookup, its apply (the insert or update and its commit), its
// photograph, and the company's stamp at the end; Other is everything else
// (reading the ERP, the start and the end of the run).
enum class UploadStep { Other, Lookup, Apply, Photo, Stamp };
inline constexpr int kUploadSteps = 5;
inline const char* const kUploadStepNames[kUploadSteps] = {"other", "lookup", "apply", "photo",
                                                           "stamp"};

struct RunTimes {
    double total = 0;               // seconds
    std::vector<double> perArticle; // seconds, one per article
    long long peakHeapBytes = 0;    // heap in use at its highest, above the start of the run
    std::array<double, kUploadSteps> stepSeconds{}; // seconds spent in each step
};

// Tells an upload's steps apart as it runs: the time spent in each, and a
// listener told of every change (the latency proxy, which counts the waits
// of each step): a step, or none when the run is over.
class StepClock {
public:
    using Listener = std::function<void(std::optional<UploadStep>)>;
    explicit StepClock(Listener listener = {}) : listener_(std::move(listener)) {}

    // The run starts, in step Other.
    void Start() {
        clock_.start();
        last_ = 0;
        seconds_ = {};
        current_ = UploadStep::Other;
        Enter(UploadStep::Other);
    }
    void Enter(UploadStep step) {
        Account();
        current_ = step;
        if (listener_)
            listener_(step);
    }
    // The run is over; what follows (freeing, detaching) is no step.
    void Stop() {
        Account();
        if (listener_)
            listener_(std::nullopt);
    }
    UploadStep Current() const { return current_; }
    const std::array<double, kUploadSteps>& Seconds() const { return seconds_; }

private:
    void Account() {
        const qint64 now = clock_.nsecsElapsed();
        seconds_[size_t(current_)] += double(now - last_) * 1e-9;
        last_ = now;
    }

    Listener listener_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    UploadStep current_ = UploadStep::Other;
    std::array<double, kUploadSteps> seconds_{};
};

inline double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(p * double(values.size())));
    return values[at];
}

// Articles that took longer than `seconds`.
inline int Stalls(const std::vector<double>& perArticle, double seconds = 0.040) {
    return static_cast<int>(
        std::count_if(perArticle.begin(), perArticle.end(), [&](double t) { return t > seconds; }));
}
