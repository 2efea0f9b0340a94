#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

// The benchmarks' clock, and the best of several rounds measured in turns, so a slow spell of
// the machine hits every figure of a group alike instead of one.

inline double Now()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <class F>
double TimeMs(F f)
{
    const double start = Now();
    f();
    return Now() - start;
}

class CRounds
{
public:
    explicit CRounds(size_t count) : m_best(count, 1e300) {}
    template <class F>
    void Measure(size_t which, F f) { Keep(which, TimeMs(f)); }
    void Keep(size_t which, double ms) { m_best[which] = std::min(m_best[which], ms); }
    double operator[](size_t which) const { return m_best[which]; }

private:
    std::vector<double> m_best;
};
