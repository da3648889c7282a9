// The benchmark's clock and its summary of a series of timings.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

// Milliseconds on the performance counter.
inline double Now()
{
    static const double tickMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1000.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * tickMs;
}

struct Stats {
    double median, min, max, p99;
    size_t count;
};

inline Stats Summarise(std::vector<double> ms)
{
    if (ms.empty())
        return {0.0, 0.0, 0.0, 0.0, 0};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back(), ms[(ms.size() * 99) / 100], ms.size()};
}

// A point of a back-and-forth sweep across [from, to]: consecutive points differ.
inline int Sweep(int i, int from, int to)
{
    const int span = to - from;
    const int k = i % (2 * span);
    return from + (k < span ? k : 2 * span - k);
}

}  // namespace bench
