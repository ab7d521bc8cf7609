#pragma once
// Median, 99th percentile and maximum of a bench's samples.

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

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

} // namespace bench
