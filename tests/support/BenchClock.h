// The clocks of the benchmarks, in the test executables and in tools/bench alike: header-only,
// since the bench programs link no test support.
#pragma once
#include <windows.h>

namespace testsupport {

// Seconds on the performance counter, from an arbitrary origin.
inline double Now() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

// Kernel and user CPU seconds of a process so far; 0 when they cannot be read.
inline double CpuSeconds(HANDLE process = GetCurrentProcess()) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto seconds = [](const FILETIME& f) {
        return double((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace testsupport
