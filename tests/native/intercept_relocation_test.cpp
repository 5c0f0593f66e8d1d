#include "intercept/Relocation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vorel::intercept;

namespace {

constexpr uint32_t kEntry = 0x10000000;
constexpr uint32_t kTramp = 0x20000000;

std::vector<uint8_t> Padded(std::vector<uint8_t> bytes, uint8_t filler = 0x90) {
    bytes.resize(kEntryWindow, filler);
    return bytes;
}

InterceptStatus Build(const std::vector<uint8_t>& bytes, Trampoline* t, uint64_t entry = kEntry,
                      uint64_t tramp = kTramp, CpuMode mode = CpuMode::X86) {
    return BuildTrampoline(bytes.data(), bytes.size(), entry, tramp, mode, t);
}

std::vector<uint8_t> Code(const Trampoline& t) {
    return std::vector<uint8_t>(t.code, t.code + t.codeLength);
}

// The absolute target of the relative instruction at code[offset] of a trampoline at `base`.
uint64_t TargetAt(const Trampoline& t, size_t offset, uint64_t base = kTramp,
                  CpuMode mode = CpuMode::X86) {
    X86Instruction ins;
    EXPECT_EQ(DecodeInstruction(t.code + offset, t.codeLength - offset, mode, &ins),
              DecodeStatus::Ok);
    EXPECT_NE(ins.relSize, 0) << "offset " << offset;
    const uint64_t target = base + offset + ins.length + uint64_t(int64_t(ins.rel));
    return mode == CpuMode::X86 ? uint32_t(target) : target;
}

// The 64-bit address of an absolute jump (FF 25 00000000 address) at code[offset].
uint64_t AbsoluteTargetAt(const Trampoline& t, size_t offset) {
    EXPECT_EQ(std::vector<uint8_t>(t.code + offset, t.code + offset + 6),
              (std::vector<uint8_t>{0xFF, 0x25, 0, 0, 0, 0}));
    uint64_t to = 0;
    for (int i = 7; i >= 0; --i) to = (to << 8) | t.code[offset + 6 + i];
    return to;
}

// A trampoline ending in the jump back: what follows the moved bytes in the original.
void ExpectJumpBack(const Trampoline& t, uint32_t entry = kEntry, uint32_t base = kTramp) {
    ASSERT_GE(t.codeLength, kJumpLength);
    EXPECT_EQ(t.code[t.codeLength - 5], 0xE9);
    EXPECT_EQ(TargetAt(t, t.codeLength - 5, base), entry + t.movedLength);
}

}  // namespace

TEST(Relocation, PlainProloguesMoveWholeInstructionsVerbatim) {
    Trampoline t;
    // mov edi,edi; push ebp; mov ebp,esp | sub esp,0x10
    ASSERT_EQ(Build(Padded({0x8B, 0xFF, 0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10}), &t),
              InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 5u);
    EXPECT_EQ(t.patchLength, 5u);
    EXPECT_EQ(t.codeLength, 10u);
    EXPECT_EQ(std::vector<uint8_t>(t.code, t.code + 5),
              (std::vector<uint8_t>{0x8B, 0xFF, 0x55, 0x8B, 0xEC}));
    ExpectJumpBack(t);

    // push ebp; mov ebp,esp; sub esp,0x10: the third instruction crosses byte 5.
    ASSERT_EQ(Build(Padded({0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10, 0x53}), &t), InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 6u);
    EXPECT_EQ(t.patchLength, 6u);
    ExpectJumpBack(t);

    // A long second instruction: 4 + 11 bytes move.
    ASSERT_EQ(Build(Padded({0x83, 0xEC, 0x10, 0x90, 0xC7, 0x84, 0x24, 0x00, 0x01, 0x00, 0x00, 0x78,
                            0x56, 0x34, 0x12}),
                    &t),
              InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 15u);
    EXPECT_EQ(t.instructionCount, 3u);
    ExpectJumpBack(t);
}

TEST(Relocation, RelativeCallsAndJumpsKeepTheirTargets) {
    Trampoline t;
    // call 0x10001000 at the entry.
    ASSERT_EQ(Build(Padded({0xE8, 0xFB, 0x0F, 0x00, 0x00, 0x03, 0x44, 0x24, 0x04}), &t),
              InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 5u);
    EXPECT_EQ(t.code[0], 0xE8);
    EXPECT_EQ(TargetAt(t, 0), 0x10001000u);
    ExpectJumpBack(t);

    // test ecx,ecx; jne +0x10; mov eax,42: the short branch becomes jne rel32.
    ASSERT_EQ(Build(Padded({0x85, 0xC9, 0x75, 0x10, 0xB8, 0x2A, 0x00, 0x00, 0x00, 0xC3}), &t),
              InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 9u);
    EXPECT_EQ(t.code[2], 0x0F);
    EXPECT_EQ(t.code[3], 0x85);
    EXPECT_EQ(TargetAt(t, 2), kEntry + 4 + 0x10);
    EXPECT_EQ(std::vector<uint8_t>(t.code + 8, t.code + 13),
              (std::vector<uint8_t>{0xB8, 0x2A, 0x00, 0x00, 0x00}));
    ExpectJumpBack(t);

    // jle rel32 keeps its condition and gets a new displacement.
    ASSERT_EQ(Build(Padded({0x0F, 0x8E, 0x00, 0x02, 0x00, 0x00}), &t), InterceptStatus::Ok);
    EXPECT_EQ(t.code[1], 0x8E);
    EXPECT_EQ(TargetAt(t, 0), kEntry + 6 + 0x200);
    ExpectJumpBack(t);
}

TEST(Relocation, AnUnconditionalJumpEndsTheMovedCode) {
    Trampoline t;
    // jmp short +0x10 followed by padding: no jump back is needed or wanted.
    ASSERT_EQ(Build(Padded({0xEB, 0x10}, 0xCC), &t), InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 2u);
    EXPECT_EQ(t.patchLength, 5u);
    EXPECT_EQ(t.codeLength, 5u);
    EXPECT_EQ(t.code[0], 0xE9);
    EXPECT_EQ(TargetAt(t, 0), kEntry + 2 + 0x10);

    // xor eax,eax; ret; nop padding (also the multi-byte nop).
    ASSERT_EQ(Build(Padded({0x33, 0xC0, 0xC3, 0x0F, 0x1F, 0x00}), &t), InterceptStatus::Ok);
    EXPECT_EQ(Code(t), (std::vector<uint8_t>{0x33, 0xC0, 0xC3}));
    EXPECT_EQ(t.patchLength, 5u);
}

TEST(Relocation, FunctionsShorterThanAJumpAreRefusedUnlessPaddingFollows) {
    Trampoline t;
    // xor eax,eax; ret; and the next function starts at once.
    EXPECT_EQ(Build(Padded({0x33, 0xC0, 0xC3, 0x55, 0x8B, 0xEC}), &t),
              InterceptStatus::FunctionTooShort);
    EXPECT_EQ(Build(Padded({0xC3, 0x90, 0x90, 0x8B, 0xFF}), &t), InterceptStatus::FunctionTooShort);
    EXPECT_EQ(Build(Padded({0xFF, 0xE0, 0x90, 0x90, 0x90}), &t), InterceptStatus::Ok) << "jmp eax";
    // lea esi,[esi] does nothing too, but it is as likely to be the next function's code.
    EXPECT_EQ(Build(Padded({0xC3, 0x8D, 0x76, 0x00}), &t), InterceptStatus::FunctionTooShort);
}

TEST(Relocation, ShortBranchesBecomeLongOnes) {
    Trampoline t;
    // jecxz +5 at the entry, then mov eax,[esp+4]
    ASSERT_EQ(Build(Padded({0xE3, 0x05, 0x8B, 0x44, 0x24, 0x04}), &t), InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 6u);
    // jecxz taken; jmp short over; taken: jmp target
    EXPECT_EQ(std::vector<uint8_t>(t.code, t.code + 5),
              (std::vector<uint8_t>{0xE3, 0x02, 0xEB, 0x05, 0xE9}));
    EXPECT_EQ(TargetAt(t, 0), kTramp + 4) << "the short branch stays inside the trampoline";
    EXPECT_EQ(TargetAt(t, 2), kTramp + 9) << "not taken: on to the next moved instruction";
    EXPECT_EQ(TargetAt(t, 4), kEntry + 2 + 5);
    EXPECT_EQ(t.codeOffset[1], 9u);
    ExpectJumpBack(t);

    // jcxz (67) keeps its prefix: it tests CX, not ECX.
    ASSERT_EQ(Build(Padded({0x67, 0xE3, 0x05, 0x90, 0x90}), &t), InterceptStatus::Ok);
    EXPECT_EQ(std::vector<uint8_t>(t.code, t.code + 3), (std::vector<uint8_t>{0x67, 0xE3, 0x02}));
    EXPECT_EQ(TargetAt(t, 5), kEntry + 3 + 5);
}

TEST(Relocation, BranchesAmongTheMovedBytesFollowThemIntoTheTrampoline) {
    Trampoline t;
    // xor eax,eax; top: add eax,ecx; loop top; ret
    ASSERT_EQ(Build(Padded({0x31, 0xC0, 0x01, 0xC8, 0xE2, 0xFC, 0xC3}), &t), InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 6u);
    EXPECT_EQ(t.codeOffset[1], 2u);
    EXPECT_EQ(TargetAt(t, 8), kTramp + 2) << "the loop runs in the trampoline";
    ExpectJumpBack(t);

    // jmp $ at the entry: the loop stays in the trampoline.
    ASSERT_EQ(Build(Padded({0xEB, 0xFE}), &t), InterceptStatus::Ok);
    EXPECT_EQ(TargetAt(t, 0), kTramp);

    // A branch into the middle of a moved instruction has no place to go.
    EXPECT_EQ(Build(Padded({0x74, 0xFF, 0x90, 0x90, 0x90}), &t), InterceptStatus::CannotRelocate);
    // Nor one into the padding behind a short function.
    EXPECT_EQ(Build(Padded({0x74, 0x01, 0xC3, 0x90, 0x90, 0x90}), &t),
              InterceptStatus::CannotRelocate);
}

TEST(Relocation, CallToTheNextInstructionPushesTheOriginalAddress) {
    Trampoline t;
    // call $+5; pop eax: position-independent code learning where it is.
    ASSERT_EQ(Build(Padded({0xE8, 0x00, 0x00, 0x00, 0x00, 0x58}), &t), InterceptStatus::Ok);
    EXPECT_EQ(std::vector<uint8_t>(t.code, t.code + 5),
              (std::vector<uint8_t>{0x68, 0x05, 0x00, 0x00, 0x10}));
    ExpectJumpBack(t);
}

TEST(Relocation, TargetsAreComputedAcrossTheWholeAddressSpace) {
    Trampoline t;
    // The trampoline 2.25 GiB above the entry and below it: rel32 wraps around.
    const uint32_t entry = 0x70000000, high = 0xF0001000, low = 0x00010000;
    const std::vector<uint8_t> bytes = Padded({0xE8, 0x00, 0x10, 0x00, 0x00, 0x74, 0x10});
    ASSERT_EQ(Build(bytes, &t, entry, high), InterceptStatus::Ok);
    EXPECT_EQ(TargetAt(t, 0, high), entry + 5 + 0x1000);
    ExpectJumpBack(t, entry, high);
    ASSERT_EQ(Build(bytes, &t, entry, low), InterceptStatus::Ok);
    EXPECT_EQ(TargetAt(t, 0, low), entry + 5 + 0x1000);
    ExpectJumpBack(t, entry, low);

    // A call near the top of memory to a target near the bottom.
    ASSERT_EQ(Build(Padded({0xE8, 0x00, 0x20, 0x00, 0x00}), &t, 0xFFFFF000, 0x00100000),
              InterceptStatus::Ok);
    EXPECT_EQ(TargetAt(t, 0, 0x00100000), 0x00001005u);
}

TEST(Relocation, RefusesWhatCannotRunElsewhere) {
    Trampoline t;
    EXPECT_EQ(Build(Padded({0x66, 0xE9, 0x34, 0x12, 0x90}), &t), InterceptStatus::CannotRelocate)
        << "jmp rel16 truncates EIP";
    EXPECT_EQ(Build(Padded({0x66, 0x74, 0x10, 0x90, 0x90}), &t), InterceptStatus::CannotRelocate)
        << "66 jcc truncates EIP";
    EXPECT_EQ(Build(Padded({0x64, 0xEB, 0x10}), &t), InterceptStatus::CannotRelocate)
        << "segment-prefixed branch";
    EXPECT_EQ(Build(Padded({0xCC, 0x55, 0x8B, 0xEC}), &t), InterceptStatus::CannotRelocate)
        << "a breakpoint at the entry";
    EXPECT_EQ(Build(Padded({0x55, 0xC5, 0xF8, 0x77}), &t), InterceptStatus::UnknownInstruction);
    EXPECT_EQ(Build({0x55, 0x8B, 0xEC}, &t), InterceptStatus::UnreadableCode)
        << "the readable bytes end inside the entry";
    // Branch hints are dropped; the branch itself moves.
    ASSERT_EQ(Build(Padded({0x3E, 0x74, 0x10, 0x90, 0x90}), &t), InterceptStatus::Ok);
    EXPECT_EQ(TargetAt(t, 0), kEntry + 3 + 0x10);
}

TEST(Relocation, ThreadsInsideTheMovedBytesMapToTheirCopies) {
    Trampoline t;
    // test ecx,ecx; jne; mov eax,42: the jne grows by 4 bytes.
    ASSERT_EQ(Build(Padded({0x85, 0xC9, 0x75, 0x10, 0xB8, 0x2A, 0x00, 0x00, 0x00}), &t),
              InterceptStatus::Ok);
    size_t at = 99;
    EXPECT_FALSE(MapIntoTrampoline(t, 0, &at)) << "the entry itself runs the replacement";
    EXPECT_TRUE(MapIntoTrampoline(t, 2, &at));
    EXPECT_EQ(at, 2u);
    EXPECT_TRUE(MapIntoTrampoline(t, 4, &at));
    EXPECT_EQ(at, 8u);
    EXPECT_FALSE(MapIntoTrampoline(t, 3, &at)) << "not an instruction boundary";
    EXPECT_FALSE(MapIntoTrampoline(t, 9, &at)) << "not moved";
}

TEST(Relocation, PatchIsAJumpThenBreakpoints) {
    uint8_t patch[8];
    EncodePatch(0x00401000, 0x00402000, sizeof patch, patch);
    EXPECT_EQ(std::vector<uint8_t>(patch, patch + 8),
              (std::vector<uint8_t>{0xE9, 0xFB, 0x0F, 0x00, 0x00, 0xCC, 0xCC, 0xCC}));
    uint8_t jump[5];
    EncodeJump(0x00402000, 0x00401000, jump);
    EXPECT_EQ(std::vector<uint8_t>(jump, jump + 5),
              (std::vector<uint8_t>{0xE9, 0xFB, 0xEF, 0xFF, 0xFF}));
}

TEST(Relocation, ForwardingStubsLeadToTheRealEntry) {
    const CpuMode x86 = CpuMode::X86;
    const std::vector<uint8_t> thunk = {0xFF, 0x25, 0x38, 0x61, 0x40, 0x00};
    StubHop hop = ReadForwardingStub(thunk.data(), thunk.size(), 0x00401000, x86);
    EXPECT_EQ(hop.kind, StubHop::ThroughPointer);
    EXPECT_EQ(hop.address, 0x00406138u);

    const std::vector<uint8_t> jmp = {0xE9, 0x00, 0x01, 0x00, 0x00};
    hop = ReadForwardingStub(jmp.data(), jmp.size(), 0x00401000, x86);
    EXPECT_EQ(hop.kind, StubHop::Direct);
    EXPECT_EQ(hop.address, 0x00401105u);

    const std::vector<uint8_t> shortJmp = {0xEB, 0xF9};  // back into a hot-patch area
    hop = ReadForwardingStub(shortJmp.data(), shortJmp.size(), 0x00401005, x86);
    EXPECT_EQ(hop.kind, StubHop::Direct);
    EXPECT_EQ(hop.address, 0x00401000u);

    for (const std::vector<uint8_t>& code :
         {std::vector<uint8_t>{0x8B, 0xFF, 0x55}, std::vector<uint8_t>{0xFF, 0x20},
          std::vector<uint8_t>{0xEB, 0x10},  // forward: a loop entered at its condition
          std::vector<uint8_t>{0x3E, 0xFF, 0x25, 0, 0, 0, 0}, std::vector<uint8_t>{0xFF}}) {
        EXPECT_EQ(ReadForwardingStub(code.data(), code.size(), 0x1000, x86).kind, StubHop::None);
    }

    // 64-bit import thunks address their pointer relative to the next instruction.
    const uint64_t at = 0x7FF612340000;
    const std::vector<uint8_t> thunk64 = {0xFF, 0x25, 0x00, 0x01, 0x00, 0x00};
    hop = ReadForwardingStub(thunk64.data(), thunk64.size(), at, CpuMode::X64);
    EXPECT_EQ(hop.kind, StubHop::ThroughPointer);
    EXPECT_EQ(hop.address, at + 6 + 0x100);
    const std::vector<uint8_t> rexThunk = {0x48, 0xFF, 0x25, 0x00, 0x01, 0x00, 0x00};
    hop = ReadForwardingStub(rexThunk.data(), rexThunk.size(), at, CpuMode::X64);
    EXPECT_EQ(hop.kind, StubHop::ThroughPointer);
    EXPECT_EQ(hop.address, at + 7 + 0x100);
    hop = ReadForwardingStub(jmp.data(), jmp.size(), at, CpuMode::X64);
    EXPECT_EQ(hop.address, at + 5 + 0x100);
}

namespace {
constexpr uint64_t kEntry64 = 0x00007FF610000000;
constexpr uint64_t kTramp64 = kEntry64 + 0x10000;

InterceptStatus Build64(const std::vector<uint8_t>& bytes, Trampoline* t,
                        uint64_t tramp = kTramp64) {
    return Build(bytes, t, kEntry64, tramp, CpuMode::X64);
}
}  // namespace

TEST(Relocation64, TheJumpBackIsAbsolute) {
    Trampoline t;
    // mov [rsp+8],rbx | push rdi; sub rsp,0x20
    ASSERT_EQ(Build64(Padded({0x48, 0x89, 0x5C, 0x24, 0x08, 0x57, 0x48, 0x83, 0xEC, 0x20}), &t),
              InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 5u);
    EXPECT_EQ(t.codeLength, 5u + kAbsoluteJumpLength);
    EXPECT_EQ(AbsoluteTargetAt(t, 5), kEntry64 + 5);
}

TEST(Relocation64, RipRelativeOperandsKeepPointingAtTheSameData) {
    Trampoline t;
    // mov eax,[rip+0xFF0]; add eax,ecx; ret
    const std::vector<uint8_t> code =
        Padded({0x8B, 0x05, 0xF0, 0x0F, 0x00, 0x00, 0x01, 0xC8, 0xC3});
    ASSERT_EQ(Build64(code, &t), InterceptStatus::Ok);
    EXPECT_EQ(t.movedLength, 6u);
    X86Instruction ins;
    ASSERT_EQ(DecodeInstruction(t.code, t.codeLength, CpuMode::X64, &ins), DecodeStatus::Ok);
    ASSERT_TRUE(ins.ripRelative);
    EXPECT_EQ(kTramp64 + 6 + uint64_t(int64_t(ins.displacement)), kEntry64 + 6 + 0xFF0);
    // Below the entry too.
    ASSERT_EQ(Build64(code, &t, kEntry64 - 0x70000000), InterceptStatus::Ok);
    ASSERT_EQ(DecodeInstruction(t.code, t.codeLength, CpuMode::X64, &ins), DecodeStatus::Ok);
    EXPECT_EQ(kEntry64 - 0x70000000 + 6 + uint64_t(int64_t(ins.displacement)),
              kEntry64 + 6 + 0xFF0);
    // A trampoline beyond 2 GiB cannot reach the operand.
    EXPECT_EQ(Build64(code, &t, kEntry64 + 0x90000000), InterceptStatus::CannotRelocate);
}

TEST(Relocation64, BranchesOutOfTheMovedBytesGoThroughAbsoluteAddresses) {
    Trampoline t;
    // call rel32 at the entry: call [rip+2]; jmp short over; the address.
    ASSERT_EQ(Build64(Padded({0xE8, 0xFB, 0x0F, 0x00, 0x00, 0x01, 0xC8}), &t), InterceptStatus::Ok);
    EXPECT_EQ(std::vector<uint8_t>(t.code, t.code + 8),
              (std::vector<uint8_t>{0xFF, 0x15, 0x02, 0x00, 0x00, 0x00, 0xEB, 0x08}));
    uint64_t callee = 0;
    for (int i = 7; i >= 0; --i) callee = (callee << 8) | t.code[8 + i];
    EXPECT_EQ(callee, kEntry64 + 0x1000);
    EXPECT_EQ(AbsoluteTargetAt(t, 16), kEntry64 + 5);

    // test ecx,ecx; jne +0x10; mov eax,42: "je over; jmp [target]".
    ASSERT_EQ(Build64(Padded({0x85, 0xC9, 0x75, 0x10, 0xB8, 0x2A, 0x00, 0x00, 0x00}), &t),
              InterceptStatus::Ok);
    EXPECT_EQ(t.code[2], 0x74);
    EXPECT_EQ(t.code[3], kAbsoluteJumpLength);
    EXPECT_EQ(AbsoluteTargetAt(t, 4), kEntry64 + 4 + 0x10);
    EXPECT_EQ(t.codeOffset[2], 2u + 2u + kAbsoluteJumpLength);
    EXPECT_EQ(AbsoluteTargetAt(t, t.codeLength - kAbsoluteJumpLength), kEntry64 + 9);

    // jrcxz +5: "jrcxz taken; jmp short over; taken: jmp [target]".
    ASSERT_EQ(Build64(Padded({0xE3, 0x05, 0x8B, 0x44, 0x24, 0x04}), &t), InterceptStatus::Ok);
    EXPECT_EQ(std::vector<uint8_t>(t.code, t.code + 4),
              (std::vector<uint8_t>{0xE3, 0x02, 0xEB, 14}));
    EXPECT_EQ(AbsoluteTargetAt(t, 4), kEntry64 + 2 + 5);

    // A loop among the moved bytes stays a near jump inside the trampoline.
    ASSERT_EQ(Build64(Padded({0x31, 0xC0, 0x01, 0xC8, 0xE2, 0xFC, 0xC3}), &t), InterceptStatus::Ok);
    EXPECT_EQ(TargetAt(t, 8, kTramp64, CpuMode::X64), kTramp64 + 2);

    // jmp rel32 ends the moved code with an absolute jump.
    ASSERT_EQ(Build64(Padded({0xE9, 0x00, 0x01, 0x00, 0x00}), &t), InterceptStatus::Ok);
    EXPECT_EQ(t.codeLength, kAbsoluteJumpLength);
    EXPECT_EQ(AbsoluteTargetAt(t, 0), kEntry64 + 5 + 0x100);
}

TEST(Relocation64, RefusesWhatCannotRunElsewhere) {
    Trampoline t;
    EXPECT_EQ(Build64(Padded({0xE8, 0x00, 0x00, 0x00, 0x00, 0x58}), &t),
              InterceptStatus::CannotRelocate)
        << "call $+5: no push can carry a 64-bit address";
    EXPECT_EQ(Build64(Padded({0x40, 0xEB, 0x10}), &t), InterceptStatus::CannotRelocate)
        << "REX on a branch";
    EXPECT_EQ(Build64(Padded({0x55, 0xC5, 0xF8, 0x77}), &t), InterceptStatus::UnknownInstruction);
}

TEST(Relocation64, Rel32ReachIsTwoGibibytes) {
    EXPECT_TRUE(ReachesRel32(kEntry64, 5, kEntry64 + 5 + 0x7FFFFFFF, CpuMode::X64));
    EXPECT_FALSE(ReachesRel32(kEntry64, 5, kEntry64 + 5 + 0x80000000ull, CpuMode::X64));
    EXPECT_TRUE(ReachesRel32(kEntry64, 5, kEntry64 + 5 - 0x80000000ull, CpuMode::X64));
    EXPECT_FALSE(ReachesRel32(kEntry64, 5, kEntry64 + 4 - 0x80000000ull, CpuMode::X64));
    EXPECT_TRUE(ReachesRel32(0x10000000, 5, 0xF0000000, CpuMode::X86));
    uint8_t jump[kAbsoluteJumpLength];
    EncodeAbsoluteJump(0x1122334455667788ull, jump);
    EXPECT_EQ(std::vector<uint8_t>(jump, jump + kAbsoluteJumpLength),
              (std::vector<uint8_t>{0xFF, 0x25, 0, 0, 0, 0, 0x88, 0x77, 0x66, 0x55, 0x44, 0x33,
                                    0x22, 0x11}));
}
