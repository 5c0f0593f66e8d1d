#include "intercept/Intercept.h"

#include <cstring>

#include "intercept/CodeMemory.h"
#include "intercept/Relocation.h"
#include "intercept/ThreadFreeze.h"

namespace vorel::intercept {
namespace {

constexpr size_t kMaxHooks = 64;
constexpr size_t kMaxOperations = 32;
constexpr size_t kMaxEnlisted = 16;
constexpr int kMaxStubHops = 8;

// One function we have a trampoline for. Kept after a detach, so that attaching the same
// unchanged function again finds its trampoline.
struct Hook {
    bool inUse = false;
    bool attached = false;
    bool pending = false;  // an operation of the open transaction refers to it
    uint8_t* target = nullptr;
    void* replacement = nullptr;
    uint8_t* slot = nullptr;
    Trampoline plan;
    uint8_t original[kEntryWindow] = {};
};

struct Operation {
    bool attach = false;
    void** pointer = nullptr;
    void* pointerBefore = nullptr;
    Hook* hook = nullptr;
};

// Everything lives in static tables: the commit must not touch a heap, and attach/detach
// stay cheap and cannot fail half-way for lack of memory.
Hook g_hooks[kMaxHooks];

struct Transaction {
    volatile LONG owner = 0;  // thread id of the thread that began it, 0 when none is open
    Operation operations[kMaxOperations];
    size_t operationCount = 0;
    HANDLE enlisted[kMaxEnlisted] = {};
    DWORD enlistedIds[kMaxEnlisted] = {};
    size_t enlistedCount = 0;
};
Transaction g_tx;

bool OwnsTransaction() { return g_tx.owner != 0 && DWORD(g_tx.owner) == GetCurrentThreadId(); }

Hook* FreeHook() {
    for (Hook& hook : g_hooks) {
        if (!hook.inUse) return &hook;
    }
    return nullptr;
}

// A slot whose planning failed: never executed, good for the next function.
uint8_t* g_spareSlot = nullptr;

uint8_t* TakeSlot(const void* nearTo) {
    uint8_t* slot = nullptr;
    if (g_spareSlot && (kHostMode == CpuMode::X86 ||
                        ReachesRel32(uintptr_t(nearTo), kJumpLength,
                                     uintptr_t(g_spareSlot) + kRelayOffset, kHostMode))) {
        slot = g_spareSlot;
        g_spareSlot = nullptr;
    }
    return slot ? slot : AllocateTrampolineSlot(nearTo);
}

// Where the entry's jump goes: the replacement itself, or in 64-bit mode the relay in the
// slot, which jumps on through the replacement's full address.
uint8_t* JumpDestination(const Hook& hook) {
    return kHostMode == CpuMode::X86 ? static_cast<uint8_t*>(hook.replacement)
                                     : hook.slot + kRelayOffset;
}

Hook* FindHookAt(const uint8_t* target) {
    for (Hook& hook : g_hooks) {
        if (hook.inUse && hook.target == target) return &hook;
    }
    return nullptr;
}

// Import thunks and jump chains lead to the code that does the work. An entry that carries
// our own jump leads on to its replacement: a second replacement of the same function is
// stacked in front of the first.
uint8_t* FollowForwardingStubs(uint8_t* code) {
    for (int hop = 0; hop < kMaxStubHops; ++hop) {
        const size_t readable = ReadableBytes(code, kMaxInstructionLength);
        const StubHop next = ReadForwardingStub(code, readable, uintptr_t(code), kHostMode);
        if (next.kind == StubHop::Direct) {
            code = reinterpret_cast<uint8_t*>(uintptr_t(next.address));
        } else if (next.kind == StubHop::ThroughPointer) {
            const void* cell = reinterpret_cast<const void*>(uintptr_t(next.address));
            if (ReadableBytes(cell, sizeof(void*)) != sizeof(void*)) break;
            uint8_t* stored = *static_cast<uint8_t* const*>(cell);
            if (!stored) break;
            code = stored;
        } else {
            break;
        }
    }
    return code;
}

// DWORD thread id of a handle; 0 when it cannot be asked. GetThreadId is missing on XP, the
// native call is everywhere.
DWORD ThreadIdOf(HANDLE thread, DWORD* processId) {
    struct BasicInformation {
        LONG exitStatus;
        void* teb;
        HANDLE uniqueProcess;
        HANDLE uniqueThread;
        ULONG_PTR affinity;
        LONG priority;
        LONG basePriority;
    };
    static_assert(sizeof(BasicInformation) == (sizeof(void*) == 8 ? 48 : 28),
                  "the system's thread basic information record");
    using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const QueryFn query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    BasicInformation info = {};
    if (!query || query(thread, 0 /* ThreadBasicInformation */, &info, sizeof info, nullptr) < 0) {
        return 0;
    }
    *processId = DWORD(uintptr_t(info.uniqueProcess));
    return DWORD(uintptr_t(info.uniqueThread));
}

void EndTransaction() {
    for (size_t i = 0; i < g_tx.operationCount; ++i) g_tx.operations[i].hook->pending = false;
    for (size_t i = 0; i < g_tx.enlistedCount; ++i) CloseHandle(g_tx.enlisted[i]);
    g_tx.operationCount = 0;
    g_tx.enlistedCount = 0;
    InterlockedExchange(&g_tx.owner, 0);
}

// Writes `bytes` over code, when the code still holds `expected`.
InterceptStatus Rewrite(uint8_t* code, const uint8_t* expected, const uint8_t* bytes,
                        size_t length) {
    if (std::memcmp(code, expected, length) != 0) return InterceptStatus::TargetChanged;
    DWORD before;
    if (!VirtualProtect(code, length, PAGE_EXECUTE_READWRITE, &before)) {
        return InterceptStatus::ProtectFailed;
    }
    std::memcpy(code, bytes, length);
    DWORD ignored;
    VirtualProtect(code, length, before, &ignored);
    FlushInstructionCache(GetCurrentProcess(), code, length);
    return InterceptStatus::Ok;
}

InterceptStatus Apply(Operation& op) {
    Hook& hook = *op.hook;
    const size_t length = hook.plan.patchLength;
    uint8_t patch[kEntryWindow];
    EncodePatch(uintptr_t(hook.target), uintptr_t(JumpDestination(hook)), length, patch);
    if (op.attach) {
        // The pointer first: a replacement that runs the moment the jump is in place must
        // already find the trampoline.
        *op.pointer = hook.slot;
        const InterceptStatus status = Rewrite(hook.target, hook.original, patch, length);
        if (status != InterceptStatus::Ok) {
            *op.pointer = op.pointerBefore;
            return status;
        }
        hook.attached = true;
        return status;
    }
    const InterceptStatus status = Rewrite(hook.target, patch, hook.original, length);
    if (status != InterceptStatus::Ok) return status;
    *op.pointer = hook.target;
    hook.attached = false;
    return status;
}

}  // namespace

InterceptStatus DetourRestoreAfterWith() { return InterceptStatus::NothingToRestore; }

InterceptStatus DetourTransactionBegin() {
    if (InterlockedCompareExchange(&g_tx.owner, LONG(GetCurrentThreadId()), 0) != 0) {
        return InterceptStatus::TransactionBusy;
    }
    g_tx.operationCount = 0;
    g_tx.enlistedCount = 0;
    return InterceptStatus::Ok;
}

InterceptStatus DetourTransactionAbort() {
    if (!OwnsTransaction()) return InterceptStatus::NoTransaction;
    EndTransaction();
    return InterceptStatus::Ok;
}

InterceptStatus DetourUpdateThread(HANDLE thread) {
    if (!OwnsTransaction()) return InterceptStatus::NoTransaction;
    if (!thread) return InterceptStatus::InvalidArgument;
    if (thread == GetCurrentThread()) return InterceptStatus::Ok;
    DWORD process = 0;
    const DWORD id = ThreadIdOf(thread, &process);
    if (id == 0 || process != GetCurrentProcessId()) return InterceptStatus::InvalidArgument;
    if (id == GetCurrentThreadId()) return InterceptStatus::Ok;
    for (size_t i = 0; i < g_tx.enlistedCount; ++i) {
        if (g_tx.enlistedIds[i] == id) return InterceptStatus::Ok;
    }
    if (g_tx.enlistedCount == kMaxEnlisted) return InterceptStatus::TableFull;
    HANDLE own;
    if (!DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &own,
                         THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE,
                         0)) {
        return InterceptStatus::InvalidArgument;
    }
    g_tx.enlisted[g_tx.enlistedCount] = own;
    g_tx.enlistedIds[g_tx.enlistedCount++] = id;
    return InterceptStatus::Ok;
}

InterceptStatus DetourAttach(void** pointer, void* replacement) {
    if (!OwnsTransaction()) return InterceptStatus::NoTransaction;
    if (!pointer || !*pointer || !replacement) return InterceptStatus::InvalidArgument;
    if (g_tx.operationCount == kMaxOperations) return InterceptStatus::TableFull;
    uint8_t* target = FollowForwardingStubs(static_cast<uint8_t*>(*pointer));
    if (target == replacement) return InterceptStatus::InvalidArgument;

    // The planning reads a copy, so that the plan and the saved bytes agree even if the code
    // changes meanwhile; the commit checks that it did not.
    uint8_t entry[kEntryWindow];
    const size_t readable = ReadableBytes(target, kEntryWindow);
    if (readable == 0) return InterceptStatus::UnreadableCode;
    std::memcpy(entry, target, readable);

    Hook* hook = FindHookAt(target);
    if (hook && (hook->attached || hook->pending)) return InterceptStatus::AlreadyAttached;
    const bool reuse = hook && readable >= hook->plan.patchLength &&
                       std::memcmp(entry, hook->original, hook->plan.patchLength) == 0;
    if (!reuse) {
        // A function whose entry changed since its detach gets a new trampoline: the old one
        // may still be in use by a replacement that was running at the detach.
        if (!hook) hook = FreeHook();
        if (!hook) return InterceptStatus::TableFull;
        uint8_t* slot = TakeSlot(target);
        if (!slot) return InterceptStatus::OutOfMemory;
        Trampoline plan;
        const InterceptStatus status =
            BuildTrampoline(entry, readable, uintptr_t(target), uintptr_t(slot), kHostMode, &plan);
        if (status != InterceptStatus::Ok) {
            g_spareSlot = slot;
            return status;
        }
        // Nobody runs this slot yet.
        std::memcpy(slot, plan.code, plan.codeLength);
        FlushInstructionCache(GetCurrentProcess(), slot, plan.codeLength);
        hook->slot = slot;
        hook->plan = plan;
        std::memcpy(hook->original, entry, plan.patchLength);
        hook->target = target;
        hook->inUse = true;
    }
    hook->replacement = replacement;
    if (kHostMode == CpuMode::X64) {
        // The entry is not jumping here now (detached or never attached).
        EncodeAbsoluteJump(uintptr_t(replacement), hook->slot + kRelayOffset);
        FlushInstructionCache(GetCurrentProcess(), hook->slot + kRelayOffset, kAbsoluteJumpLength);
    }
    hook->pending = true;
    Operation& op = g_tx.operations[g_tx.operationCount++];
    op.attach = true;
    op.pointer = pointer;
    op.pointerBefore = *pointer;
    op.hook = hook;
    return InterceptStatus::Ok;
}

InterceptStatus DetourDetach(void** pointer, void* replacement) {
    if (!OwnsTransaction()) return InterceptStatus::NoTransaction;
    if (!pointer || !*pointer || !replacement) return InterceptStatus::InvalidArgument;
    if (g_tx.operationCount == kMaxOperations) return InterceptStatus::TableFull;
    for (Hook& hook : g_hooks) {
        if (hook.inUse && hook.attached && !hook.pending && hook.slot == *pointer &&
            hook.replacement == replacement) {
            hook.pending = true;
            Operation& op = g_tx.operations[g_tx.operationCount++];
            op.attach = false;
            op.pointer = pointer;
            op.pointerBefore = *pointer;
            op.hook = &hook;
            return InterceptStatus::Ok;
        }
    }
    return InterceptStatus::NotAttached;
}

InterceptStatus DetourTransactionCommit() {
    if (!OwnsTransaction()) return InterceptStatus::NoTransaction;
    InterceptStatus first = InterceptStatus::Ok;
    if (g_tx.operationCount > 0) {
        ThreadFreeze freeze;
        first = freeze.Freeze(g_tx.enlisted, g_tx.enlistedIds, g_tx.enlistedCount);
        if (first == InterceptStatus::Ok) {
            bool applied[kMaxOperations] = {};
            for (size_t i = 0; i < g_tx.operationCount; ++i) {
                const InterceptStatus status = Apply(g_tx.operations[i]);
                applied[i] = status == InterceptStatus::Ok;
                if (!applied[i] && first == InterceptStatus::Ok) first = status;
            }
            // A thread stopped inside the bytes just overwritten would resume in the middle of
            // our jump: it goes on from the same instruction in the trampoline instead. After
            // a detach nothing needs moving: the trampoline stays valid and only the first
            // byte of the jump was ever an instruction boundary.
            freeze.MoveInstructionPointers([&](uintptr_t ip) -> uintptr_t {
                for (size_t i = 0; i < g_tx.operationCount; ++i) {
                    const Operation& op = g_tx.operations[i];
                    if (!applied[i] || !op.attach) continue;
                    const Hook& hook = *op.hook;
                    size_t at;
                    if (MapIntoTrampoline(hook.plan, ip - uintptr_t(hook.target), &at)) {
                        return uintptr_t(hook.slot + at);
                    }
                }
                return ip;
            });
        }
        freeze.Thaw();
    }
    EndTransaction();
    return first;
}

}  // namespace vorel::intercept
