#include "intercept/Relocation.h"

#include <cstring>

namespace vorel::intercept {
namespace {

void WriteLE(uint8_t* p, uint64_t v, size_t size) {
    for (size_t i = 0; i < size; ++i) p[i] = uint8_t(v >> (8 * i));
}

uint64_t AddressMask(CpuMode mode) {
    return mode == CpuMode::X64 ? ~uint64_t(0) : uint64_t(0xFFFFFFFF);
}

bool IsRelative(InstrKind kind) {
    return kind == InstrKind::JumpRel || kind == InstrKind::CallRel ||
           kind == InstrKind::CondJumpRel || kind == InstrKind::LoopRel;
}

// A moved relative branch must keep its meaning in its new form.
bool BranchMovable(const X86Instruction& ins, CpuMode mode) {
    // 66 cuts the target to 16 bits; lock/rep/segment prefixes on a branch are not ours to
    // keep; a REX on a branch means nothing but is not worth the doubt.
    if (ins.operandSize16 || ins.otherPrefix || ins.rex != 0) return false;
    if (ins.kind == InstrKind::LoopRel) return true;  // 67 selects CX/ECX and is kept
    if (ins.addressSize16) return false;
    // call $+5 learns its own address; in 64-bit mode no push imm32 can hand over an
    // address above 2 GiB, and code there learns addresses with lea [rip] anyway.
    return !(mode == CpuMode::X64 && ins.kind == InstrKind::CallRel && ins.rel == 0);
}

// Padding that compilers and linkers put between functions: never executed.
bool IsPadding(const X86Instruction& ins) {
    if (ins.otherPrefix || ins.hintPrefix || ins.addressSize16 || ins.rex != 0) return false;
    // int3, nop (also 66 90), nopl
    if (ins.opcode == 0xCC || ins.opcode == 0x90) return true;
    return ins.opcode == 0x0F && ins.opcode2 == 0x1F && ins.modrmReg == 0;
}

// Bytes a moved instruction takes in the trampoline. `near` is false for a 64-bit branch to a
// target outside the moved bytes, which then goes through an absolute address.
size_t EmittedLength(const X86Instruction& ins, bool near) {
    const size_t loopHead = (ins.addressSize16 ? 1 : 0) + 2 + 2;  // loop taken; jmp short over
    switch (ins.kind) {
        case InstrKind::JumpRel:
            return near ? kJumpLength : kAbsoluteJumpLength;
        case InstrKind::CallRel:
            // call [rip+2]; jmp short over the address; the address
            return near ? 5 : 6 + 2 + 8;
        case InstrKind::CondJumpRel:
            // the opposite jcc short over an absolute jump
            return near ? 6 : 2 + kAbsoluteJumpLength;
        case InstrKind::LoopRel:
            return loopHead + (near ? kJumpLength : kAbsoluteJumpLength);
        default:
            return ins.length;
    }
}

}  // namespace

bool ReachesRel32(uint64_t from, size_t length, uint64_t to, CpuMode mode) {
    if (mode == CpuMode::X86) return true;
    const int64_t distance = int64_t(to - (from + length));
    return distance >= INT32_MIN && distance <= INT32_MAX;
}

void EncodeJump(uint64_t from, uint64_t to, uint8_t out[kJumpLength]) {
    out[0] = 0xE9;
    WriteLE(out + 1, to - (from + kJumpLength), 4);
}

void EncodeAbsoluteJump(uint64_t to, uint8_t out[kAbsoluteJumpLength]) {
    out[0] = 0xFF;
    out[1] = 0x25;
    WriteLE(out + 2, 0, 4);
    WriteLE(out + 6, to, 8);
}

void EncodePatch(uint64_t entryAddress, uint64_t destination, size_t patchLength, uint8_t* out) {
    EncodeJump(entryAddress, destination, out);
    for (size_t i = kJumpLength; i < patchLength; ++i) out[i] = 0xCC;
}

InterceptStatus BuildTrampoline(const uint8_t* entry, size_t available, uint64_t entryAddress,
                                uint64_t trampolineAddress, CpuMode mode, Trampoline* out) {
    const bool x64 = mode == CpuMode::X64;
    const uint64_t mask = AddressMask(mode);
    Trampoline t;
    X86Instruction moved[kMaxMovedLength];
    uint64_t target[kMaxMovedLength] = {};  // of each relative branch, as the original sees it
    size_t count = 0, src = 0;
    bool ended = false;

    // Pass 1: decide which whole instructions move.
    while (src < kJumpLength) {
        X86Instruction ins;
        switch (DecodeInstruction(entry + src, available - src, mode, &ins)) {
            case DecodeStatus::Ok:
                break;
            case DecodeStatus::Truncated:
                return InterceptStatus::UnreadableCode;
            case DecodeStatus::Unsupported:
                return InterceptStatus::UnknownInstruction;
        }
        if (ins.kind == InstrKind::Trap) return InterceptStatus::CannotRelocate;
        if (IsRelative(ins.kind)) {
            if (!BranchMovable(ins, mode)) return InterceptStatus::CannotRelocate;
            target[count] = (entryAddress + src + ins.length + uint64_t(int64_t(ins.rel))) & mask;
        }
        t.entryOffset[count] = uint8_t(src);
        moved[count++] = ins;
        src += ins.length;
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
            if (DecodeInstruction(entry + pad, available - pad, mode, &ins) != DecodeStatus::Ok ||
                !IsPadding(ins)) {
                return InterceptStatus::FunctionTooShort;
            }
            pad += ins.length;
        }
        t.patchLength = kJumpLength;
    }

    // Where each instruction lands. A branch into the moved bytes is taken to the moved copy
    // (the original bytes there are about to be overwritten); one into the middle of a moved
    // instruction or into padding has nowhere to go.
    int internal[kMaxMovedLength];
    size_t emitted = 0;
    for (size_t i = 0; i < count; ++i) {
        internal[i] = -1;
        if (IsRelative(moved[i].kind)) {
            const uint64_t offset = (target[i] - entryAddress) & mask;
            if (offset < t.patchLength) {
                for (size_t j = 0; j < count; ++j) {
                    if (t.entryOffset[j] == offset) internal[i] = int(j);
                }
                if (internal[i] < 0) return InterceptStatus::CannotRelocate;
            }
        }
        t.codeOffset[i] = uint8_t(emitted);
        emitted += EmittedLength(moved[i], !x64 || internal[i] >= 0);
    }
    const size_t jumpBackLength = x64 ? kAbsoluteJumpLength : kJumpLength;
    if (!ended) emitted += jumpBackLength;
    if (emitted > kMaxTrampolineLength) return InterceptStatus::CannotRelocate;
    t.instructionCount = count;
    t.codeLength = emitted;

    // Pass 2: emit.
    for (size_t i = 0; i < count; ++i) {
        const X86Instruction& ins = moved[i];
        const uint8_t* from = entry + t.entryOffset[i];
        uint8_t* to = t.code + t.codeOffset[i];
        const uint64_t here = trampolineAddress + t.codeOffset[i];
        if (!IsRelative(ins.kind)) {
            std::memcpy(to, from, ins.length);
            if (ins.ripRelative) {
                // The operand stays where it was; the instruction does not.
                const uint64_t operand = entryAddress + t.entryOffset[i] + ins.length +
                                         uint64_t(int64_t(ins.displacement));
                const int64_t displacement = int64_t(operand - (here + ins.length));
                if (displacement < INT32_MIN || displacement > INT32_MAX) {
                    return InterceptStatus::CannotRelocate;
                }
                WriteLE(to + ins.dispOffset, uint64_t(displacement), 4);
            }
            continue;
        }
        const bool near = !x64 || internal[i] >= 0;
        const uint64_t dest =
            internal[i] >= 0 ? trampolineAddress + t.codeOffset[internal[i]] : target[i];
        switch (ins.kind) {
            case InstrKind::JumpRel:
                if (near) {
                    EncodeJump(here, dest, to);
                } else {
                    EncodeAbsoluteJump(dest, to);
                }
                break;
            case InstrKind::CallRel:
                if (!x64 && ins.rel == 0) {
                    // call $+5 is how position-independent code learns its own address: push
                    // the address the original call would have pushed.
                    to[0] = 0x68;
                    WriteLE(to + 1, target[i], 4);
                } else if (near) {
                    to[0] = 0xE8;
                    WriteLE(to + 1, dest - (here + 5), 4);
                } else {
                    const uint8_t call[] = {0xFF, 0x15, 0x02, 0x00, 0x00, 0x00, 0xEB, 0x08};
                    std::memcpy(to, call, sizeof call);
                    WriteLE(to + sizeof call, dest, 8);
                }
                break;
            case InstrKind::CondJumpRel: {
                const uint8_t condition =
                    ins.opcode == 0x0F ? uint8_t(ins.opcode2 & 0x0F) : uint8_t(ins.opcode & 0x0F);
                if (near) {
                    to[0] = 0x0F;
                    to[1] = uint8_t(0x80 | condition);
                    WriteLE(to + 2, dest - (here + 6), 4);
                } else {
                    // Conditions come in pairs that differ in the lowest bit.
                    to[0] = uint8_t(0x70 | (condition ^ 1));
                    to[1] = uint8_t(kAbsoluteJumpLength);
                    EncodeAbsoluteJump(dest, to + 2);
                }
                break;
            }
            case InstrKind::LoopRel: {
                // loop/jecxz have no long form: "loop taken; jmp short over; taken: jmp target".
                size_t k = 0;
                if (ins.addressSize16) to[k++] = 0x67;
                to[k++] = ins.opcode;
                to[k++] = 0x02;
                to[k++] = 0xEB;
                to[k++] = uint8_t(near ? kJumpLength : kAbsoluteJumpLength);
                if (near) {
                    EncodeJump(here + k, dest, to + k);
                } else {
                    EncodeAbsoluteJump(dest, to + k);
                }
                break;
            }
            default:
                break;
        }
    }
    if (!ended) {
        uint8_t* back = t.code + emitted - jumpBackLength;
        const uint64_t resume = entryAddress + t.movedLength;
        if (x64) {
            EncodeAbsoluteJump(resume, back);
        } else {
            EncodeJump(trampolineAddress + emitted - jumpBackLength, resume, back);
        }
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

StubHop ReadForwardingStub(const uint8_t* code, size_t available, uint64_t address, CpuMode mode) {
    StubHop hop;
    X86Instruction ins;
    if (DecodeInstruction(code, available, mode, &ins) != DecodeStatus::Ok) return hop;
    // Only a REX may stand before the opcode (jmp qword [rip+x] is often written 48 FF 25).
    if (ins.prefixCount != (ins.rex != 0 ? 1 : 0)) return hop;
    if (ins.kind == InstrKind::JumpRel && ins.rex == 0) {
        // A short jump forward at an entry is the function's own control flow (a loop entered
        // at its condition), not a way elsewhere; backward it is a hot-patch jump into the
        // padding before the entry.
        if (ins.relSize == 1 && ins.rel >= 0) return hop;
        hop.kind = StubHop::Direct;
        hop.address = (address + ins.length + uint64_t(int64_t(ins.rel))) & AddressMask(mode);
    } else if (ins.opcode == 0xFF && ins.modrmReg == 4) {
        if (ins.absoluteMemory) {
            hop.kind = StubHop::ThroughPointer;
            hop.address = uint32_t(ins.displacement);
        } else if (ins.ripRelative) {
            hop.kind = StubHop::ThroughPointer;
            hop.address = address + ins.length + uint64_t(int64_t(ins.displacement));
        }
    }
    return hop;
}

}  // namespace vorel::intercept
