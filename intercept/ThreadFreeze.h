// Holds every other thread of the process still while code is being rewritten.
//
// Nothing here allocates from a heap once the first thread is suspended: a frozen thread may
// hold the heap's lock, and the next allocation would then wait for ever. The thread list is
// read (toolhelp allocates) into a fixed table before anything is suspended.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "intercept/InterceptStatus.h"

namespace vorel::intercept {

class ThreadFreeze {
public:
    static constexpr size_t kMaxThreads = 1024;

    ThreadFreeze() = default;
    ~ThreadFreeze() { Thaw(); }
    ThreadFreeze(const ThreadFreeze&) = delete;
    ThreadFreeze& operator=(const ThreadFreeze&) = delete;

    // Suspends the enlisted threads (handles with suspend and context rights; `enlistedIds`
    // their ids) and every other thread of the process except the calling one. TableFull, with
    // nothing left suspended, when the process has more threads than the table holds.
    InterceptStatus Freeze(const HANDLE* enlisted, const DWORD* enlistedIds, size_t enlistedCount);

    // Calls `move(ip)` for every frozen thread; a different answer becomes its new
    // instruction pointer.
    template <class Move>
    void MoveInstructionPointers(Move move) {
        for (size_t i = 0; i < m_count; ++i) {
            CONTEXT context;
            context.ContextFlags = CONTEXT_CONTROL;
            if (!GetThreadContext(m_threads[i], &context)) continue;
#ifdef _WIN64
            DWORD64& ip = context.Rip;
#else
            DWORD& ip = context.Eip;
#endif
            const uintptr_t moved = move(uintptr_t(ip));
            if (moved == ip) continue;
            ip = moved;
            SetThreadContext(m_threads[i], &context);
        }
    }

    void Thaw();

private:
    HANDLE m_threads[kMaxThreads];
    bool m_owned[kMaxThreads];  // opened here, closed at the thaw
    size_t m_count = 0;
};

}  // namespace vorel::intercept
