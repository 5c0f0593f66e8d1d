// What the idle priority class costs a game process when the machine is busy: a stand-in game
// (a thread that does 1 ms of work per step, as a game's script and drawing do between frames)
// runs for a few seconds in a process of its own, started at idle or at normal priority, while
// this process keeps every core busy at normal priority, or leaves them free.
//
//   priority_bench.exe [seconds]          prints one line per case
//   priority_bench.exe game <seconds> <class>   (the child) prints its steps and longest gaps
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

volatile unsigned g_sink = 0;
volatile LONG g_stop = 0;

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// About a millisecond of arithmetic on this machine (calibrated once).
void Work(unsigned rounds) {
    unsigned x = g_sink;
    for (unsigned i = 0; i < rounds; ++i) x = x * 1664525u + 1013904223u;
    g_sink = x;
}

unsigned CalibrateMillisecond() {
    unsigned rounds = 1000;
    for (;;) {
        const double start = Seconds();
        Work(rounds);
        const double took = Seconds() - start;
        if (took > 0.02) return unsigned(rounds * (0.001 / took));
        rounds *= 2;
    }
}

int RunGame(double seconds, DWORD priorityClass) {
    // Also set here: a system that does not take the class from the creation flags may still
    // take it from this call. The class in force is printed.
    SetPriorityClass(GetCurrentProcess(), priorityClass);
    std::printf("(class %lu) ", GetPriorityClass(GetCurrentProcess()));
    const unsigned rounds = CalibrateMillisecond();
    std::vector<double> gaps;
    const double start = Seconds();
    double last = start;
    unsigned steps = 0;
    while (last - start < seconds) {
        Work(rounds);
        ++steps;
        const double now = Seconds();
        gaps.push_back(now - last);
        last = now;
    }
    std::sort(gaps.begin(), gaps.end());
    const double p99 = gaps[size_t(double(gaps.size() - 1) * 0.99)];
    std::printf("%8.0f steps/s  99th percentile step %7.1f ms  longest %7.1f ms\n",
                steps / (last - start), p99 * 1000, gaps.back() * 1000);
    return 0;
}

DWORD WINAPI Spin(LPVOID) {
    while (!g_stop) Work(100000);
    return 0;
}

void RunCase(const wchar_t* self, DWORD priorityClass, int loadThreads, double seconds) {
    std::vector<HANDLE> load;
    g_stop = 0;
    for (int i = 0; i < loadThreads; ++i)
        load.push_back(CreateThread(nullptr, 0, &Spin, nullptr, 0, nullptr));
    std::wstring line = L"\"" + std::wstring(self) + L"\" game " + std::to_wstring(seconds) + L" " +
                        std::to_wstring(priorityClass);
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    std::printf("%-6s game, %d busy threads of normal priority: ",
                priorityClass == IDLE_PRIORITY_CLASS ? "idle" : "normal", loadThreads);
    std::fflush(stdout);
    if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, priorityClass, nullptr,
                       nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        std::printf("not started\n");
    }
    g_stop = 1;
    for (HANDLE h : load) {
        WaitForSingleObject(h, INFINITE);
        CloseHandle(h);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 4 && std::wcscmp(argv[1], L"game") == 0) {
        return RunGame(_wtof(argv[2]), DWORD(_wtoi(argv[3])));
    }
    const double seconds = argc >= 2 ? _wtof(argv[1]) : 3.0;
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const int cores = int(info.dwNumberOfProcessors);
    std::printf("%d cores, %.0f s a case\n", cores, seconds);
    for (int load : {0, cores}) {
        for (DWORD priority : {DWORD(NORMAL_PRIORITY_CLASS), DWORD(IDLE_PRIORITY_CLASS)}) {
            RunCase(argv[0], priority, load, seconds);
        }
    }
    return 0;
}
