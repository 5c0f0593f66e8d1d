#include "intercept/Relocation.h"

#include <cstring>

namespace vorel::intercept {
namespace {

void WriteLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Bytes a moved instruction takes in the trampoline.
size_t EmittedLength(const X86Instruction& ins) {
    switch (ins.kind) {
        case InstrKind::JumpRel:
            return 5;  // E9 rel32
        case InstrKind::CallRel:
            return 5;  // E8 rel32 or 68 imm32
        case InstrKind::CondJumpRel:
            return 6;  // 0F 8x rel32
        case InstrKind::LoopRel:
            return (ins.addressSize16 ? 1 : 0) + 2 + 2 + 5;
        default:
            return ins.length;
    }
}

// A moved relative branch must keep its meaning with a 32-bit displacement.
bool BranchMovable(const X86Instruction& ins) {
    // 66 cuts the target to 16 bits; lock/rep/segment prefixes on a branch are not ours to keep.
    if (ins.operandSize16 || ins.otherPrefix) return false;
    if (ins.kind == InstrKind::LoopRel) return true;  // 67 selects CX and is kept
    return !ins.addressSize16;
}

// Padding that compilers and linkers put between functions: never executed.
bool IsPadding(const X86Instruction& ins) {
    if (ins.otherPrefix || ins.hintPrefix || ins.addressSize16) return false;
    // int3, nop (also 66 90), nopl
    if (ins.opcode == 0xCC || ins.opcode == 0x90) return true;
    return ins.opcode == 0x0F && ins.opcode2 == 0x1F && ins.modrmReg == 0;
}

bool IsRelative(InstrKind kind) {
    return kind == InstrKind::JumpRel || kind == InstrKind::CallRel ||
           kind == InstrKind::CondJumpRel || kind == InstrKind::LoopRel;
}

}  // namespace

void EncodeJump(uint32_t from, uint32_t to, uint8_t out[kJumpLength]) {
    out[0] = 0xE9;
    WriteLE32(out + 1, to - (from + uint32_t(kJumpLength)));
}

void EncodePatch(uint32_t entryAddress, uint32_t replacementAddress, size_t patchLength,
                 uint8_t* out) {
    EncodeJump(entryAddress, replacementAddress, out);
    for (size_t i = kJumpLength; i < patchLength; ++i) out[i] = 0xCC;
}

InterceptStatus BuildTrampoline(const uint8_t* entry, size_t available, uint32_t entryAddress,
                                uint32_t trampolineAddress, Trampoline* out) {
    Trampoline t;
    X86Instruction moved[kMaxMovedLength];
    size_t count = 0, src = 0, emitted = 0;
    bool ended = false;

    // Pass 1: decide which whole instructions move and where each lands.
    while (src < kJumpLength) {
        X86Instruction ins;
        switch (DecodeInstruction(entry + src, available - src, &ins)) {
            case DecodeStatus::Ok:
                break;
            case DecodeStatus::Truncated:
                return InterceptStatus::UnreadableCode;
            case DecodeStatus::Unsupported:
                return InterceptStatus::UnknownInstruction;
        }
        if (ins.kind == InstrKind::Trap) return InterceptStatus::CannotRelocate;
        if (IsRelative(ins.kind) && !BranchMovable(ins)) return InterceptStatus::CannotRelocate;
        t.entryOffset[count] = uint8_t(src);
        t.codeOffset[count] = uint8_t(emitted);
        moved[count++] = ins;
        src += ins.length;
        emitted += EmittedLength(ins);
        if (EndsFlow(ins.kind)) {
            ended = true;
            break;
        }
    }
    t.movedLength = src;
    t.patchLength = src;
    if (ended && src < kJumpLength) {
        // A function shorter than a jump: the jump may only spill over padding.
        size_t pad = src;
        while (pad < kJumpLength) {
            X86Instruction ins;
            if (DecodeInstruction(entry + pad, available - pad, &ins) != DecodeStatus::Ok ||
                !IsPadding(ins)) {
                return InterceptStatus::FunctionTooShort;
            }
            pad += ins.length;
        }
        t.patchLength = kJumpLength;
    }
    if (!ended) emitted += kJumpLength;
    if (emitted > kMaxTrampolineLength) return InterceptStatus::CannotRelocate;
    t.instructionCount = count;
    t.codeLength = emitted;

    // Pass 2: emit, pointing every relative target at the same code as before. A target
    // among the moved instructions is taken to its moved copy: the original bytes there are
    // about to be overwritten.
    for (size_t i = 0; i < count; ++i) {
        const X86Instruction& ins = moved[i];
        const uint8_t* from = entry + t.entryOffset[i];
        uint8_t* to = t.code + t.codeOffset[i];
        const uint32_t here = trampolineAddress + t.codeOffset[i];
        if (!IsRelative(ins.kind)) {
            std::memcpy(to, from, ins.length);
            continue;
        }
        const uint32_t next = entryAddress + t.entryOffset[i] + ins.length;
        uint32_t target = next + uint32_t(ins.rel);
        const uint32_t targetOffset = target - entryAddress;
        if (targetOffset < t.patchLength) {
            size_t j = 0;
            while (j < count && t.entryOffset[j] != targetOffset) ++j;
            if (j == count) return InterceptStatus::CannotRelocate;  // mid-instruction or padding
            target = trampolineAddress + t.codeOffset[j];
        }
        switch (ins.kind) {
            case InstrKind::JumpRel:
                EncodeJump(here, target, to);
                break;
            case InstrKind::CallRel:
                if (ins.rel == 0) {
                    // call $+5 is how position-independent code learns its own address: push
                    // the address the original call would have pushed.
                    to[0] = 0x68;
                    WriteLE32(to + 1, next);
                } else {
                    to[0] = 0xE8;
                    WriteLE32(to + 1, target - (here + 5));
                }
                break;
            case InstrKind::CondJumpRel: {
                const uint8_t condition =
                    ins.opcode == 0x0F ? uint8_t(ins.opcode2 & 0x0F) : uint8_t(ins.opcode & 0x0F);
                to[0] = 0x0F;
                to[1] = uint8_t(0x80 | condition);
                WriteLE32(to + 2, target - (here + 6));
                break;
            }
            case InstrKind::LoopRel: {
                // loop/jecxz have no long form: "loop taken; jmp short over; taken: jmp target".
                size_t k = 0;
                if (ins.addressSize16) to[k++] = 0x67;
                to[k++] = ins.opcode;
                to[k++] = 0x02;
                to[k++] = 0xEB;
                to[k++] = 0x05;
                EncodeJump(here + uint32_t(k), target, to + k);
                break;
            }
            default:
                break;
        }
    }
    if (!ended) {
        EncodeJump(trampolineAddress + uint32_t(emitted - kJumpLength),
                   entryAddress + uint32_t(t.movedLength), t.code + emitted - kJumpLength);
    }
    *out = t;
    return InterceptStatus::Ok;
}

bool MapIntoTrampoline(const Trampoline& trampoline, size_t offset, size_t* codeOffset) {
    for (size_t i = 1; i < trampoline.instructionCount; ++i) {
        if (trampoline.entryOffset[i] == offset) {
            *codeOffset = trampoline.codeOffset[i];
            return true;
        }
    }
    return false;
}

StubHop ReadForwardingStub(const uint8_t* code, size_t available, uint32_t address) {
    StubHop hop;
    X86Instruction ins;
    if (DecodeInstruction(code, available, &ins) != DecodeStatus::Ok || ins.prefixCount != 0) {
        return hop;
    }
    if (ins.kind == InstrKind::JumpRel) {
        hop.kind = StubHop::Direct;
        hop.address = address + ins.length + uint32_t(ins.rel);
    } else if (ins.opcode == 0xFF && ins.modrmReg == 4 && ins.absoluteMemory) {
        hop.kind = StubHop::ThroughPointer;
        hop.address = ins.memoryAddress;
    }
    return hop;
}

}  // namespace vorel::intercept
