#pragma once

// Timing figures shared by the benchmarks: a run of measurements in milliseconds.

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace srk::bench {

struct Figure {
    double sum = 0;
    double worst = 0;
    double best = 1e18;
    int runs = 0;

    void add(double ms) {
        sum += ms;
        worst = std::max(worst, ms);
        best = std::min(best, ms);
        ++runs;
    }
    double mean() const { return runs ? sum / runs : 0; }
    void print(const char* what) const {
        std::printf("%-44s mean %8.3f ms  best %8.3f ms  worst %8.3f ms  (%d)\n", what, mean(), best, worst, runs);
    }
};

// How long one step took, in milliseconds.
inline double timed(const std::function<void()>& step) {
    QElapsedTimer t;
    t.start();
    step();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace srk::bench
