#include "intercept/ThreadFreeze.h"

#include <tlhelp32.h>

#include "fw/Raii.h"

namespace vorel::intercept {
namespace {

// The ids of the process's other threads, taken before anything is suspended.
struct ThreadList {
    DWORD ids[ThreadFreeze::kMaxThreads];
    size_t count = 0;
    bool overflow = false;
};

void ListOtherThreads(ThreadList* list) {
    fw::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return;
    const DWORD process = GetCurrentProcessId(), self = GetCurrentThreadId();
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != process || entry.th32ThreadID == self) continue;
        if (list->count == ThreadFreeze::kMaxThreads) {
            list->overflow = true;
            return;
        }
        list->ids[list->count++] = entry.th32ThreadID;
    }
}

}  // namespace

InterceptStatus ThreadFreeze::Freeze(const HANDLE* enlisted, const DWORD* enlistedIds,
                                     size_t enlistedCount) {
    // Static: 4 KiB of ids does not belong on the stack of whatever thread commits, and only
    // the owner of the one open transaction gets here.
    static ThreadList list;
    list.count = 0;
    list.overflow = false;
    ListOtherThreads(&list);
    if (list.overflow || list.count + enlistedCount > kMaxThreads)
        return InterceptStatus::TableFull;

    for (size_t i = 0; i < enlistedCount; ++i) {
        if (SuspendThread(enlisted[i]) == DWORD(-1)) continue;
        m_threads[m_count] = enlisted[i];
        m_owned[m_count++] = false;
    }
    for (size_t i = 0; i < list.count; ++i) {
        bool isEnlisted = false;
        for (size_t j = 0; j < enlistedCount; ++j) isEnlisted |= enlistedIds[j] == list.ids[i];
        if (isEnlisted) continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_SET_CONTEXT,
                                   FALSE, list.ids[i]);
        if (!thread) continue;  // ended since the list was taken
        if (SuspendThread(thread) == DWORD(-1)) {
            CloseHandle(thread);
            continue;
        }
        m_threads[m_count] = thread;
        m_owned[m_count++] = true;
    }
    return InterceptStatus::Ok;
}

void ThreadFreeze::Thaw() {
    for (size_t i = 0; i < m_count; ++i) {
        ResumeThread(m_threads[i]);
        if (m_owned[i]) CloseHandle(m_threads[i]);
    }
    m_count = 0;
}

}  // namespace vorel::intercept
