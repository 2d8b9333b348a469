#pragma once
// The times of one upload, by the program or by the hand-written reference,
// and the figures the benchmark reports from them.

#include <algorithm>
#include <cstddef>
#include <vector>

struct RunTimes {
    double total = 0;               // seconds
    std::vector<double> perArticle; // seconds, one per article
    long long peakHeapBytes = 0;    // heap in use at its highest, above the start of the run
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
