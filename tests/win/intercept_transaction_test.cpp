// The interception library on functions whose every byte we know (written in assembly below)
// and on system functions reached through their real entries.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "intercept/Intercept.h"

using namespace vorel::intercept;

// Every test function takes its argument in ECX/RCX: fastcall on x86, the only convention on x64.
#ifdef _WIN64
#define VT_REG
#else
#define VT_REG __attribute__((fastcall))
#endif

extern "C" {
int VT_REG VtFramePrologue(uintptr_t) __asm__("vt_frame_prologue");
int VT_REG VtStackLocals(uintptr_t) __asm__("vt_stack_locals");
int VT_REG VtDataOperand(uintptr_t) __asm__("vt_data_operand");
int VT_REG VtPick(uintptr_t) __asm__("vt_pick");
int VT_REG VtCountOrMinus(uintptr_t) __asm__("vt_count_or_minus");
int VT_REG VtTriangle(uintptr_t) __asm__("vt_triangle");
int VT_REG VtCallFirst(uintptr_t) __asm__("vt_call_first");
int VT_REG VtShortPadded(uintptr_t) __asm__("vt_short_padded");
int VT_REG VtJumpFirst(uintptr_t) __asm__("vt_jump_first");
uintptr_t VT_REG VtWhereAmI(uintptr_t) __asm__("vt_where_am_i");
int VT_REG VtTooShort(uintptr_t) __asm__("vt_too_short");
int VT_REG VtUnknownStart(uintptr_t) __asm__("vt_unknown_start");
int VT_REG VtSlowPrologue(uintptr_t) __asm__("vt_slow_prologue");
}

// The functions whose bytes differ between the two instruction sets.
#ifdef _WIN64
__asm__(R"(
.intel_syntax noprefix
.data
.p2align 2
vt_constant: .long 5000
.text
.p2align 4, 0xCC
vt_frame_prologue:            # x + 100
    mov [rsp+8], rcx
    push rbp
    mov rbp, rsp
    lea eax, [rcx+100]
    pop rbp
    ret
.p2align 4, 0xCC
vt_stack_locals:              # x * x + 7
    sub rsp, 24
    mov dword ptr [rsp+4], 7
    mov eax, ecx
    imul eax, eax
    add eax, [rsp+4]
    add rsp, 24
    ret
.p2align 4, 0xCC
vt_data_operand:              # 5000 + x, read RIP-relative
    mov eax, dword ptr [rip+vt_constant]
    add eax, ecx
    ret
.p2align 4, 0xCC
vt_pick:                      # x ? 3x : 42
    test ecx, ecx
    jnz 1f
    mov eax, 42
    ret
1:  lea eax, [rcx+rcx*2]
    ret
.p2align 4, 0xCC
vt_count_or_minus:            # x ? 3x : -1
    jrcxz 1f
    lea eax, [rcx+rcx*2]
    ret
1:  mov eax, -1
    ret
.p2align 4, 0xCC
vt_where_am_i:                # its own address + 5
    call 1f
1:  pop rax
    ret
.p2align 4, 0xCC
vt_slow_prologue:             # x + 1, slowly at first
    pause
    pause
    pause
    lea eax, [rcx+1]
    ret
.att_syntax prefix
)");
#else
__asm__(R"(
.intel_syntax noprefix
.data
.p2align 2
vt_constant: .long 5000
.text
.p2align 4, 0xCC
vt_frame_prologue:            # x + 100, with the hot-patch point
    .byte 0x8B, 0xFF          # mov edi,edi as the system's libraries encode it
    push ebp
    mov ebp, esp
    lea eax, [ecx+100]
    pop ebp
    ret
.p2align 4, 0xCC
vt_stack_locals:              # x * x + 7
    sub esp, 16
    mov dword ptr [esp+4], 7
    mov eax, ecx
    imul eax, eax
    add eax, [esp+4]
    add esp, 16
    ret
.p2align 4, 0xCC
vt_data_operand:              # 5000 + x, read from an absolute address
    mov eax, dword ptr [vt_constant]
    add eax, ecx
    ret
.p2align 4, 0xCC
vt_pick:                      # x ? 3x : 42
    test ecx, ecx
    jnz 1f
    mov eax, 42
    ret
1:  lea eax, [ecx+ecx*2]
    ret
.p2align 4, 0xCC
vt_count_or_minus:            # x ? 3x : -1
    jecxz 1f
    lea eax, [ecx+ecx*2]
    ret
1:  mov eax, -1
    ret
.p2align 4, 0xCC
vt_where_am_i:                # its own address + 5
    call 1f
1:  pop eax
    ret
.p2align 4, 0xCC
vt_slow_prologue:             # x + 1, slowly at first
    pause
    pause
    pause
    lea eax, [ecx+1]
    ret
.att_syntax prefix
)");
#endif

// The same bytes on both. Each function is aligned with int3 padding, except vt_after_short,
// which follows vt_too_short directly, so that nothing but code lies behind the short one.
__asm__(R"(
.intel_syntax noprefix
.text
.p2align 4, 0xCC
vt_triangle:                  # 1 + 2 + ... + x, for x > 0
    xor eax, eax
1:  add eax, ecx
    loop 1b
    ret
.p2align 4, 0xCC
vt_thousand:
    mov eax, 1000
    ret
.p2align 4, 0xCC
vt_call_first:                # x + 1000
    .byte 0xE8
    .long vt_thousand - . - 4
    add eax, ecx
    ret
.p2align 4, 0xCC
vt_short_padded:              # 0
    xor eax, eax
    ret
.p2align 4, 0xCC
vt_jump_first:                # the same as vt_frame_prologue
    .byte 0xE9
    .long vt_frame_prologue - . - 4
.p2align 4, 0xCC
vt_too_short:                 # 0
    xor eax, eax
    ret
vt_after_short:
    mov eax, 5
    ret
.p2align 4, 0xCC
vt_unknown_start:
    .byte 0xC5, 0xF8, 0x77    # vzeroupper
    mov eax, 1
    ret
.att_syntax prefix
)");

namespace {

using RegFn = int(VT_REG*)(uintptr_t);
constexpr int kMark = 1000000;

RegFn g_original[16];
volatile LONG g_replacementCalls = 0;

template <int N>
int VT_REG Replacement(uintptr_t x) {
    InterlockedIncrement(&g_replacementCalls);
    return g_original[N](x) + kMark;
}

InterceptStatus AttachOne(void** pointer, void* replacement, HANDLE enlist = GetCurrentThread()) {
    DetourTransactionBegin();
    DetourUpdateThread(enlist);
    const InterceptStatus attach = DetourAttach(pointer, replacement);
    const InterceptStatus commit = DetourTransactionCommit();
    return attach != InterceptStatus::Ok ? attach : commit;
}

InterceptStatus DetachOne(void** pointer, void* replacement, HANDLE enlist = GetCurrentThread()) {
    DetourTransactionBegin();
    DetourUpdateThread(enlist);
    const InterceptStatus detach = DetourDetach(pointer, replacement);
    const InterceptStatus commit = DetourTransactionCommit();
    return detach != InterceptStatus::Ok ? detach : commit;
}

template <class Fn>
InterceptStatus AttachOne(Fn* pointer, Fn replacement, HANDLE enlist = GetCurrentThread()) {
    return AttachOne(reinterpret_cast<void**>(pointer), reinterpret_cast<void*>(replacement),
                     enlist);
}
template <class Fn>
InterceptStatus DetachOne(Fn* pointer, Fn replacement, HANDLE enlist = GetCurrentThread()) {
    return DetachOne(reinterpret_cast<void**>(pointer), reinterpret_cast<void*>(replacement),
                     enlist);
}

struct Bytes {
    uint8_t b[24];
    explicit Bytes(const void* code) { std::memcpy(b, code, sizeof b); }
    bool operator==(const Bytes& o) const { return std::memcmp(b, o.b, sizeof b) == 0; }
};

const uint8_t* CodeOf(RegFn fn) { return reinterpret_cast<const uint8_t*>(fn); }

struct Shape {
    const char* name;
    RegFn function;
    RegFn replacement;
    uintptr_t input;
    int expected;
};

}  // namespace

TEST(Interception, PrologueShapesRunTheReplacementAndTheOriginalThroughTheTrampoline) {
    const Shape shapes[] = {
        {"frame prologue", VtFramePrologue, Replacement<0>, 5, 105},
        {"stack locals (SIB forms)", VtStackLocals, Replacement<1>, 6, 43},
        {"data operand (absolute / RIP-relative)", VtDataOperand, Replacement<2>, 7, 5007},
        {"short conditional jump, taken", VtPick, Replacement<3>, 4, 12},
        {"jecxz/jrcxz, not taken", VtCountOrMinus, Replacement<4>, 5, 15},
        {"loop back into the moved bytes", VtTriangle, Replacement<5>, 10, 55},
        {"call rel32 at the entry", VtCallFirst, Replacement<6>, 3, 1003},
        {"shorter than a jump, padding behind", VtShortPadded, Replacement<7>, 9, 0},
    };
    int index = 0;
    for (const Shape& s : shapes) {
        SCOPED_TRACE(s.name);
        const Bytes before(CodeOf(s.function));
        RegFn& original = g_original[index++];
        original = s.function;
        ASSERT_EQ(AttachOne(&original, s.replacement), InterceptStatus::Ok);
        EXPECT_NE(original, s.function) << "the pointer is now the trampoline";
        EXPECT_FALSE(Bytes(CodeOf(s.function)) == before);

        const LONG calls = g_replacementCalls;
        EXPECT_EQ(s.function(s.input), s.expected + kMark);
        EXPECT_EQ(g_replacementCalls, calls + 1);
        EXPECT_EQ(original(s.input), s.expected) << "through the trampoline";
        EXPECT_EQ(g_replacementCalls, calls + 1);

        ASSERT_EQ(DetachOne(&original, s.replacement), InterceptStatus::Ok);
        EXPECT_EQ(original, s.function);
        EXPECT_TRUE(Bytes(CodeOf(s.function)) == before) << "every byte restored";
        EXPECT_EQ(s.function(s.input), s.expected);
        EXPECT_EQ(g_replacementCalls, calls + 1);
    }
    // The other ways through the moved branches.
    g_original[3] = VtPick;
    g_original[4] = VtCountOrMinus;
    ASSERT_EQ(AttachOne(&g_original[3], Replacement<3>), InterceptStatus::Ok);
    ASSERT_EQ(AttachOne(&g_original[4], Replacement<4>), InterceptStatus::Ok);
    EXPECT_EQ(g_original[3](0), 42);
    EXPECT_EQ(g_original[4](0), -1);
    EXPECT_EQ(VtPick(0), 42 + kMark);
    EXPECT_EQ(VtCountOrMinus(0), -1 + kMark);
    EXPECT_EQ(DetachOne(&g_original[3], Replacement<3>), InterceptStatus::Ok);
    EXPECT_EQ(DetachOne(&g_original[4], Replacement<4>), InterceptStatus::Ok);
}

TEST(Interception, AttachAndDetachTwiceReusesTheTrampoline) {
    const Bytes before(CodeOf(VtStackLocals));
    RegFn& original = g_original[8];
    RegFn first = nullptr;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        original = VtStackLocals;
        ASSERT_EQ(AttachOne(&original, Replacement<8>), InterceptStatus::Ok);
        if (round == 0) first = original;
        EXPECT_EQ(original, first);
        EXPECT_EQ(VtStackLocals(3), 16 + kMark);
        EXPECT_EQ(original(3), 16);
        ASSERT_EQ(DetachOne(&original, Replacement<8>), InterceptStatus::Ok);
        EXPECT_TRUE(Bytes(CodeOf(VtStackLocals)) == before);
        EXPECT_EQ(VtStackLocals(3), 16);
    }
    // A trampoline handed out earlier still works after the detach: a replacement that was
    // running at that moment may still call it.
    EXPECT_EQ(first(4), 23);
}

TEST(Interception, AJumpAtTheEntryIsFollowedToTheFunctionItLeadsTo) {
    const Bytes jumpBefore(CodeOf(VtJumpFirst));
    RegFn& original = g_original[9];
    original = VtJumpFirst;
    ASSERT_EQ(AttachOne(&original, Replacement<9>), InterceptStatus::Ok);
    EXPECT_TRUE(Bytes(CodeOf(VtJumpFirst)) == jumpBefore) << "the jump itself is left alone";
    EXPECT_EQ(CodeOf(VtFramePrologue)[0], 0xE9) << "its destination carries the patch";
    EXPECT_EQ(VtJumpFirst(1), 101 + kMark);
    EXPECT_EQ(VtFramePrologue(1), 101 + kMark);
    EXPECT_EQ(original(1), 101);
    ASSERT_EQ(DetachOne(&original, Replacement<9>), InterceptStatus::Ok);
    EXPECT_EQ(original, VtFramePrologue) << "after the detach: the real entry";
    EXPECT_EQ(VtJumpFirst(1), 101);
}

TEST(Interception, CallToTheNextInstructionStillLearnsTheOriginalAddress) {
    using AddrFn = uintptr_t(VT_REG*)(uintptr_t);
    static AddrFn original;
    struct R {
        static uintptr_t VT_REG Replacement(uintptr_t x) { return original(x); }
    };
    original = VtWhereAmI;
    const Bytes before(reinterpret_cast<const void*>(VtWhereAmI));
    const uintptr_t expected = uintptr_t(VtWhereAmI) + 5;
    ASSERT_EQ(VtWhereAmI(0), expected);
#ifdef _WIN64
    // No push can hand over a 64-bit address: refused, untouched.
    EXPECT_EQ(AttachOne(&original, &R::Replacement), InterceptStatus::CannotRelocate);
    EXPECT_EQ(original, VtWhereAmI);
    EXPECT_TRUE(Bytes(reinterpret_cast<const void*>(VtWhereAmI)) == before);
#else
    ASSERT_EQ(AttachOne(&original, &R::Replacement), InterceptStatus::Ok);
    EXPECT_EQ(original(0), expected);
    EXPECT_EQ(VtWhereAmI(0), expected);
    ASSERT_EQ(DetachOne(&original, &R::Replacement), InterceptStatus::Ok);
    EXPECT_TRUE(Bytes(reinterpret_cast<const void*>(VtWhereAmI)) == before);
#endif
}

TEST(Interception, WhatCannotBeMovedIsRefusedAndLeftUntouched) {
    const Bytes shortBefore(CodeOf(VtTooShort));
    const Bytes unknownBefore(CodeOf(VtUnknownStart));
    RegFn& shortFn = g_original[10];
    RegFn& unknownFn = g_original[11];
    shortFn = VtTooShort;
    unknownFn = VtUnknownStart;
    ASSERT_EQ(DetourTransactionBegin(), InterceptStatus::Ok);
    EXPECT_EQ(DetourAttach(&shortFn, &Replacement<10>), InterceptStatus::FunctionTooShort);
    EXPECT_EQ(DetourAttach(&unknownFn, &Replacement<11>), InterceptStatus::UnknownInstruction);
    EXPECT_EQ(DetourTransactionCommit(), InterceptStatus::Ok) << "nothing left to do";
    EXPECT_EQ(shortFn, VtTooShort);
    EXPECT_EQ(unknownFn, VtUnknownStart);
    EXPECT_TRUE(Bytes(CodeOf(VtTooShort)) == shortBefore);
    EXPECT_TRUE(Bytes(CodeOf(VtUnknownStart)) == unknownBefore);
    EXPECT_EQ(VtTooShort(0), 0);
}

TEST(Interception, TransactionsAreCheckedAbortableAndStackable) {
    RegFn& original = g_original[12];
    original = VtFramePrologue;
    const Bytes before(CodeOf(VtFramePrologue));
    EXPECT_EQ(DetourAttach(&original, &Replacement<12>), InterceptStatus::NoTransaction);
    EXPECT_EQ(DetourTransactionCommit(), InterceptStatus::NoTransaction);

    ASSERT_EQ(DetourTransactionBegin(), InterceptStatus::Ok);
    EXPECT_EQ(DetourTransactionBegin(), InterceptStatus::TransactionBusy);
    struct Other {
        static DWORD WINAPI Run(void*) {
            // Not the owner: may neither begin nor use the open transaction.
            const bool busy = DetourTransactionBegin() == InterceptStatus::TransactionBusy;
            const bool foreign = DetourTransactionCommit() == InterceptStatus::NoTransaction;
            return busy && foreign ? 1 : 0;
        }
    };
    HANDLE other = CreateThread(nullptr, 0, &Other::Run, nullptr, 0, nullptr);
    ASSERT_TRUE(other);
    WaitForSingleObject(other, 10000);
    DWORD otherResult = 0;
    GetExitCodeThread(other, &otherResult);
    CloseHandle(other);
    EXPECT_EQ(otherResult, 1u);

    EXPECT_EQ(DetourAttach(&original, &Replacement<12>), InterceptStatus::Ok);
    EXPECT_EQ(DetourAttach(&original, &Replacement<12>), InterceptStatus::AlreadyAttached)
        << "already pending";
    EXPECT_EQ(DetourTransactionAbort(), InterceptStatus::Ok);
    EXPECT_EQ(original, VtFramePrologue);
    EXPECT_TRUE(Bytes(CodeOf(VtFramePrologue)) == before);

    // The current thread, even under a real handle, is never frozen: this commit would not
    // return.
    HANDLE self = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self,
                                0, FALSE, DUPLICATE_SAME_ACCESS));
    ASSERT_EQ(DetourTransactionBegin(), InterceptStatus::Ok);
    EXPECT_EQ(DetourUpdateThread(nullptr), InterceptStatus::InvalidArgument);
    EXPECT_EQ(DetourUpdateThread(self), InterceptStatus::Ok);
    EXPECT_EQ(DetourAttach(&original, &Replacement<12>), InterceptStatus::Ok);
    ASSERT_EQ(DetourTransactionCommit(), InterceptStatus::Ok);
    CloseHandle(self);
    // A second replacement of the same function stacks in front of the first.
    RegFn& second = g_original[13];
    second = VtFramePrologue;
    ASSERT_EQ(AttachOne(&second, &Replacement<13>), InterceptStatus::Ok);
    EXPECT_EQ(VtFramePrologue(0), 100 + 2 * kMark);
    EXPECT_EQ(second(0), 100 + kMark) << "the earlier replacement, then the function";
    EXPECT_EQ(DetachOne(&original, &Replacement<13>), InterceptStatus::NotAttached)
        << "another replacement";
    EXPECT_EQ(DetachOne(&second, &Replacement<12>), InterceptStatus::NotAttached)
        << "not the trampoline of that replacement";
    ASSERT_EQ(DetachOne(&second, &Replacement<13>), InterceptStatus::Ok);
    EXPECT_EQ(VtFramePrologue(0), 100 + kMark);
    ASSERT_EQ(DetachOne(&original, &Replacement<12>), InterceptStatus::Ok);
    EXPECT_EQ(VtFramePrologue(0), 100);
    EXPECT_TRUE(Bytes(CodeOf(VtFramePrologue)) == before);
}

namespace {
int(WINAPI* g_realMulDiv)(int, int, int) = nullptr;
DWORD(WINAPI* g_realGetTickCount)() = nullptr;
void(WINAPI* g_realSleep)(DWORD) = nullptr;
volatile LONG g_sleeps = 0;
volatile LONG g_ticks = 0;

int WINAPI MulDivReplacement(int a, int b, int c) {
    return a == 7261 ? -7261 : g_realMulDiv(a, b, c);
}
DWORD WINAPI GetTickCountReplacement() {
    InterlockedIncrement(&g_ticks);
    return g_realGetTickCount();
}
void WINAPI SleepReplacement(DWORD ms) {
    InterlockedIncrement(&g_sleeps);
    g_realSleep(ms);
}
}  // namespace

TEST(Interception, SystemFunctionsThroughAnImportThunk) {
    // An import thunk of our own, "jmp [cell]", in front of the real MulDiv.
    uint8_t* thunk = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    ASSERT_TRUE(thunk);
    void* realEntry = reinterpret_cast<void*>(&MulDiv);
    std::memcpy(thunk + 8, &realEntry, sizeof realEntry);
    thunk[0] = 0xFF;
    thunk[1] = 0x25;
#ifdef _WIN64
    const uint32_t cell = 2;  // RIP-relative: from the end of the 6-byte jump
#else
    const uint32_t cell = uint32_t(uintptr_t(thunk + 8));
#endif
    std::memcpy(thunk + 2, &cell, 4);
    const Bytes mulDivBefore(realEntry);

    g_realMulDiv = reinterpret_cast<int(WINAPI*)(int, int, int)>(thunk);
    g_realGetTickCount = &GetTickCount;
    g_realSleep = &Sleep;
    ASSERT_EQ(DetourTransactionBegin(), InterceptStatus::Ok);
    DetourUpdateThread(GetCurrentThread());
    EXPECT_EQ(DetourAttach(&g_realMulDiv, &MulDivReplacement), InterceptStatus::Ok);
    EXPECT_EQ(DetourAttach(&g_realGetTickCount, &GetTickCountReplacement), InterceptStatus::Ok);
    EXPECT_EQ(DetourAttach(&g_realSleep, &SleepReplacement), InterceptStatus::Ok);
    ASSERT_EQ(DetourTransactionCommit(), InterceptStatus::Ok);

    EXPECT_FALSE(Bytes(realEntry) == mulDivBefore) << "the real entry is patched, not the thunk";
    EXPECT_EQ(thunk[0], 0xFF);
    // Calls through our import table now reach the replacements.
    EXPECT_EQ(MulDiv(7261, 1, 1), -7261);
    EXPECT_EQ(MulDiv(6, 7, 2), 21);
    EXPECT_EQ(g_realMulDiv(7261, 1, 1), 7261);
    EXPECT_EQ(g_realMulDiv(-9, 4, 3), -12);
    EXPECT_EQ(g_realMulDiv(1, 1, 0), -1) << "the division-by-zero branch of the real code";
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    const DWORD t0 = g_realGetTickCount();
    QueryPerformanceCounter(&before);
    Sleep(20);
    QueryPerformanceCounter(&after);
    const DWORD t1 = GetTickCount();
    EXPECT_EQ(g_sleeps, 1);
    EXPECT_EQ(g_ticks, 1);
    EXPECT_GE((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart, 15)
        << "the real Sleep ran";
    EXPECT_LT(t1 - t0, 5000u) << "the real tick count, through the trampoline and the hook";

    ASSERT_EQ(DetourTransactionBegin(), InterceptStatus::Ok);
    EXPECT_EQ(DetourDetach(&g_realMulDiv, &MulDivReplacement), InterceptStatus::Ok);
    EXPECT_EQ(DetourDetach(&g_realGetTickCount, &GetTickCountReplacement), InterceptStatus::Ok);
    EXPECT_EQ(DetourDetach(&g_realSleep, &SleepReplacement), InterceptStatus::Ok);
    ASSERT_EQ(DetourTransactionCommit(), InterceptStatus::Ok);
    EXPECT_TRUE(Bytes(realEntry) == mulDivBefore);
    EXPECT_EQ(reinterpret_cast<void*>(g_realMulDiv), realEntry);
    EXPECT_EQ(MulDiv(7261, 1, 1), 7261);
    Sleep(0);
    EXPECT_EQ(g_sleeps, 1);
    VirtualFree(thunk, 0, MEM_RELEASE);
}

namespace {
volatile LONG g_spinStop = 0;
volatile LONG g_spinWrong = 0;
volatile LONG g_spinCalls = 0;

DWORD WINAPI CallSlowPrologue(void*) {
    for (uintptr_t i = 0; !g_spinStop; ++i) {
        const int result = VtSlowPrologue(i);
        if (result != int(i + 1) && result != int(i + 1 + kMark))
            InterlockedIncrement(&g_spinWrong);
        InterlockedIncrement(&g_spinCalls);
    }
    return 0;
}
}  // namespace

TEST(Interception, ThreadsStoppedInsideTheEntryGoOnInTheTrampoline) {
    // Another thread spends most of its time in the pause instructions at the entry; a thread
    // frozen there that were left in place would resume inside our jump and crash.
    HANDLE thread = CreateThread(nullptr, 0, &CallSlowPrologue, nullptr, 0, nullptr);
    ASSERT_TRUE(thread);
    while (g_spinCalls < 1000) Sleep(1);
    RegFn& original = g_original[14];
    for (int round = 0; round < 20; ++round) {
        // Every other round the spinning thread is enlisted as well as found.
        const HANDLE enlist = round % 2 ? thread : GetCurrentThread();
        original = VtSlowPrologue;
        ASSERT_EQ(AttachOne(&original, &Replacement<14>, enlist), InterceptStatus::Ok);
        const LONG calls = g_spinCalls;
        while (g_spinCalls < calls + 50) SwitchToThread();
        ASSERT_EQ(DetachOne(&original, &Replacement<14>, enlist), InterceptStatus::Ok);
    }
    g_spinStop = 1;
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(g_spinWrong, 0);
    EXPECT_GT(g_replacementCalls, 0);
}
