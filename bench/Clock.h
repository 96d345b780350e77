#pragma once
// The benchmarks' clock: QueryPerformanceCounter in microseconds.
#include <windows.h>

namespace bench {

inline double NowMicroseconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

} // namespace bench
