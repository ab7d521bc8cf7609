#pragma once
// What the benches share: the percentiles of their samples, a beep nobody
// hears, and waiting with the event loop running.

#include "core/beeper.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

// Median, 99th percentile and maximum.
struct Stats {
    double median = -1, p99 = -1, max = -1; // -1: no samples
};

inline Stats stats(std::vector<double> v) {
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    const auto pick = [&](double q) {
        return v[std::min(v.size() - 1,
                          static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5))];
    };
    return {pick(0.5), pick(0.99), v.back()};
}

class SilentBeeper : public core::Beeper {
  public:
    void beep() override {}
};

inline void waitMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace bench
