// Moving a function's entry instructions into a trampoline, and the jumps that tie an entry,
// its replacement and the trampoline together. Pure arithmetic on bytes and addresses, so that
// it is tested natively with buffers standing for code at any address.
//
// 32-bit: a rel32 reaches the whole address space, so the trampoline may lie anywhere and the
// entry jumps straight to the replacement.
// 64-bit (the test build on machines without 32-bit user mode): the trampoline must lie within
// ±2 GiB of the entry (RIP-relative operands are moved with a new displacement); the entry
// jumps to a relay beside the trampoline, which jumps on through an absolute address; moved
// branches to targets outside the moved bytes use absolute jumps.
#pragma once
#include <cstddef>
#include <cstdint>

#include "intercept/InterceptStatus.h"
#include "intercept/X86Length.h"

namespace vorel::intercept {

constexpr size_t kJumpLength = 5;           // E9 rel32
constexpr size_t kAbsoluteJumpLength = 14;  // FF 25 00000000, then the 64-bit address
// Whole instructions are moved: at most 4 bytes plus one maximal instruction.
constexpr size_t kMaxMovedLength = kJumpLength - 1 + kMaxInstructionLength;
// Bytes read at an entry to plan a trampoline: the moved instructions and any padding behind.
constexpr size_t kEntryWindow = 32;
// Moved branches grow (rel8 -> rel32, a loop -> 10 bytes, 64-bit absolute forms up to 19) and
// a jump back follows.
constexpr size_t kMaxTrampolineLength = 128;

struct Trampoline {
    uint8_t code[kMaxTrampolineLength] = {};
    size_t codeLength = 0;
    // Bytes of whole instructions taken from the entry.
    size_t movedLength = 0;
    // Bytes of the entry that the patch covers: the jump, then int3 up to movedLength, or over
    // the padding behind a function shorter than a jump.
    size_t patchLength = 0;
    // Where each moved instruction starts, in the entry and in code[].
    size_t instructionCount = 0;
    uint8_t entryOffset[kMaxMovedLength] = {};
    uint8_t codeOffset[kMaxMovedLength] = {};
};

// Plans the trampoline for the function at entryAddress, whose first `available` bytes are
// `entry`, to be placed at trampolineAddress. Refuses (leaving *out unusable) what it cannot
// move faithfully.
InterceptStatus BuildTrampoline(const uint8_t* entry, size_t available, uint64_t entryAddress,
                                uint64_t trampolineAddress, CpuMode mode, Trampoline* out);

// Whether a rel32 instruction of `length` bytes at `from` reaches `to`.
bool ReachesRel32(uint64_t from, size_t length, uint64_t to, CpuMode mode);

// E9 rel32 at `from` reaching `to` (which it must reach).
void EncodeJump(uint64_t from, uint64_t to, uint8_t out[kJumpLength]);

// jmp [rip+0] followed by the address: reaches anything, from anywhere (64-bit mode).
void EncodeAbsoluteJump(uint64_t to, uint8_t out[kAbsoluteJumpLength]);

// The bytes that go over the entry: a jump to `destination` (the replacement, or in 64-bit
// mode its relay), int3 for the rest of patchLength (nothing may ever run there; a stray
// branch then stops at once).
void EncodePatch(uint64_t entryAddress, uint64_t destination, size_t patchLength, uint8_t* out);

// Where a thread that stopped at entry + offset goes on in the trampoline. False for the entry
// itself (the thread may as well run the replacement) and for offsets outside the moved
// instructions.
bool MapIntoTrampoline(const Trampoline& trampoline, size_t offset, size_t* codeOffset);

// Import thunks (jmp [pointer]) and jump chains lead from the address a caller sees to the
// code that does the work; that code is what must be patched.
struct StubHop {
    enum Kind { None, Direct, ThroughPointer } kind = None;
    uint64_t address = 0;  // Direct: the next address; ThroughPointer: where it is stored
};
StubHop ReadForwardingStub(const uint8_t* code, size_t available, uint64_t address, CpuMode mode);

}  // namespace vorel::intercept
