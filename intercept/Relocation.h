// Moving a function's entry instructions into a trampoline, and the jumps that tie an entry,
// its replacement and the trampoline together. Pure arithmetic on bytes and 32-bit addresses
// (all of the address space is reachable with a rel32 on x86), so that it is tested natively
// with buffers standing for code at any address.
#pragma once
#include <cstddef>
#include <cstdint>

#include "intercept/InterceptStatus.h"
#include "intercept/X86Length.h"

namespace vorel::intercept {

constexpr size_t kJumpLength = 5;  // E9 rel32
// Whole instructions are moved: at most 4 bytes plus one maximal instruction.
constexpr size_t kMaxMovedLength = kJumpLength - 1 + kMaxInstructionLength;
// Bytes read at an entry to plan a trampoline: the moved instructions and any padding behind.
constexpr size_t kEntryWindow = 32;
// Moved branches grow (rel8 -> rel32, a loop -> 10 bytes) and a jump back follows.
constexpr size_t kMaxTrampolineLength = 64;

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
InterceptStatus BuildTrampoline(const uint8_t* entry, size_t available, uint32_t entryAddress,
                                uint32_t trampolineAddress, Trampoline* out);

// E9 rel32 at `from` reaching `to`.
void EncodeJump(uint32_t from, uint32_t to, uint8_t out[kJumpLength]);

// The bytes that go over the entry: a jump to the replacement, int3 for the rest of
// patchLength (nothing may ever run there; a stray branch then stops at once).
void EncodePatch(uint32_t entryAddress, uint32_t replacementAddress, size_t patchLength,
                 uint8_t* out);

// Where a thread that stopped at entry + offset goes on in the trampoline. False for the entry
// itself (the thread may as well run the replacement) and for offsets outside the moved
// instructions.
bool MapIntoTrampoline(const Trampoline& trampoline, size_t offset, size_t* codeOffset);

// Import thunks (jmp [pointer]) and jump chains lead from the address a caller sees to the
// code that does the work; that code is what must be patched.
struct StubHop {
    enum Kind { None, Direct, ThroughPointer } kind = None;
    uint32_t address = 0;  // Direct: the next address; ThroughPointer: where it is stored
};
StubHop ReadForwardingStub(const uint8_t* code, size_t available, uint32_t address);

}  // namespace vorel::intercept
