// In-process interception of x86 functions: a function's entry is overwritten with a jump to
// a replacement, and the caller's pointer to the function is turned into a trampoline that
// runs the moved entry instructions and continues in the original code.
//
//   DetourTransactionBegin();
//   DetourUpdateThread(GetCurrentThread());
//   DetourAttach(&realWaveOutWrite, MutingWaveOutWrite);   // realWaveOutWrite -> trampoline
//   DetourTransactionCommit();                              // entry patched
//
// A transaction belongs to the thread that began it; only one is open at a time. Attach and
// detach do their planning (decoding, trampoline memory) at once and report refusals at once;
// the commit freezes every other thread of the process, patches, moves any thread that stood
// inside the overwritten bytes into the trampoline, and lets them go. A refused operation is
// simply not part of the commit; the others still go in.
//
// Trampolines are never freed: a replacement running on another thread may still call through
// one after the detach. Re-attaching the same unchanged function reuses its trampoline.
#pragma once
#include <windows.h>

#include "intercept/InterceptStatus.h"

namespace vorel::intercept {

// Undoes the import-table change of a process started with an injected library. This program
// never starts processes that way, so there is nothing to do: always NothingToRestore.
InterceptStatus DetourRestoreAfterWith();

InterceptStatus DetourTransactionBegin();
// Drops the pending operations; nothing is patched.
InterceptStatus DetourTransactionAbort();
// Applies the pending operations; returns the first failure (the others are still applied).
InterceptStatus DetourTransactionCommit();

// Enlists a thread to be frozen during the commit. Every other thread of the process is frozen
// anyway; an enlisted one is frozen even if it started after the commit listed the threads.
// The current thread is accepted and ignored.
InterceptStatus DetourUpdateThread(HANDLE thread);

// *pointer: the function (an import thunk or jump chain in front of it is followed to the code
// that does the work). After the commit *pointer is the trampoline. A function attached
// already leads to its replacement, which is then the function attached: the new replacement
// runs first and calls on through the earlier one.
InterceptStatus DetourAttach(void** pointer, void* replacement);
// *pointer: the trampoline set by the attach. After the commit the entry bytes are restored and
// *pointer is the function's real entry.
InterceptStatus DetourDetach(void** pointer, void* replacement);

template <class Fn>
InterceptStatus DetourAttach(Fn* pointer, Fn replacement) {
    return DetourAttach(reinterpret_cast<void**>(pointer), reinterpret_cast<void*>(replacement));
}
template <class Fn>
InterceptStatus DetourDetach(Fn* pointer, Fn replacement) {
    return DetourDetach(reinterpret_cast<void**>(pointer), reinterpret_cast<void*>(replacement));
}

}  // namespace vorel::intercept
