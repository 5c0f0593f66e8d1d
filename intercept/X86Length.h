// Instruction lengths for x86 code: enough of the instruction set to walk across the entry of
// a compiled function and to know which instructions carry a relative target. It knows the
// one-byte and 0F opcode maps with their ModRM/SIB/displacement and immediate forms, the
// legacy prefixes and, in 64-bit mode, REX and RIP-relative operands; anything else (VEX/EVEX/
// XOP encodings, 3DNow!, privileged oddities) is reported as unsupported so that nobody copies
// bytes it does not understand.
//
// The product is 32-bit; 64-bit mode serves the test build on machines without 32-bit
// user mode.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vorel::intercept {

enum class CpuMode : uint8_t { X86, X64 };

// What an instruction means to someone who moves it elsewhere.
enum class InstrKind : uint8_t {
    Plain,         // position-independent: copy the bytes as they are
    JumpRel,       // EB rel8, E9 rel32
    CallRel,       // E8 rel32
    CondJumpRel,   // 70-7F rel8, 0F 80-8F rel32
    LoopRel,       // E0-E3 (loopne, loope, loop, jecxz): rel8 only, no long form exists
    Return,        // C3, C2 iw, CB, CA iw, CF: the function ends here
    JumpIndirect,  // FF /4, FF /5, EA: the function ends here
    Trap,          // CC: most likely a debugger's breakpoint, not code to move
};

// Kinds after which execution never falls through to the next byte.
inline bool EndsFlow(InstrKind kind) {
    return kind == InstrKind::JumpRel || kind == InstrKind::Return ||
           kind == InstrKind::JumpIndirect;
}

struct X86Instruction {
    uint8_t length = 0;
    uint8_t prefixCount = 0;  // the opcode starts after them
    InstrKind kind = InstrKind::Plain;
    bool operandSize16 = false;  // 66 prefix
    bool addressSize16 = false;  // 67 prefix (32-bit addressing in 64-bit mode)
    uint8_t rex = 0;             // 64-bit mode: the REX prefix, 0 when none
    // Any prefix other than 66/67 and the branch hints 2E/3E (segment, lock, rep, F2).
    bool otherPrefix = false;
    bool hintPrefix = false;  // 2E or 3E
    uint8_t opcode = 0;       // first opcode byte (0x0F for two-byte opcodes)
    uint8_t opcode2 = 0;      // second byte of a 0F opcode
    // For the *Rel kinds: where the displacement sits, its size (1 or 4) and value.
    uint8_t relOffset = 0;
    uint8_t relSize = 0;
    int32_t rel = 0;
    // ModRM with mod=00 rm=101: in 32-bit mode an absolute [disp32] operand, in 64-bit mode
    // [rip+disp32], relative to the end of the instruction.
    bool absoluteMemory = false;
    bool ripRelative = false;
    uint8_t dispOffset = 0;
    int32_t displacement = 0;
    uint8_t modrmReg = 0;  // the reg field, when there is a ModRM byte
};

enum class DecodeStatus : uint8_t {
    Ok,
    Truncated,    // the instruction runs past the bytes available
    Unsupported,  // an opcode or encoding this decoder does not know
};

constexpr size_t kMaxInstructionLength = 15;

// Decodes the instruction at code[0]; `available` bytes may be read.
DecodeStatus DecodeInstruction(const uint8_t* code, size_t available, CpuMode mode,
                               X86Instruction* out);

}  // namespace vorel::intercept
