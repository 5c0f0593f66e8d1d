#include "intercept/X86Length.h"

namespace vorel::intercept {
namespace {

// How the bytes after an opcode are laid out.
enum Form : uint8_t {
    kInvalid,
    kNone,
    kModRM,
    kModRMImm8,
    kModRMImmZ,  // imm16 with 66, else imm32
    kImm8,
    kImm16,
    kImmZ,
    kImm16Imm8,  // enter
    kMoffs,      // A0-A3: the address size (2, 4 or 8 bytes)
    kFarPtr,     // 9A, EA: ptr16:16 with 66, else ptr16:32
    kRel8,
    kRelZ,
    kGroup3,  // F6/F7: /0 and /1 (test) carry an immediate
    kPrefix,
    kEscape0F,
};

// The opcode maps read best as tables.
// clang-format off
Form OneByteForm(uint8_t op) {
    if (op < 0x40) {
        switch (op & 7) {
            case 0: case 1: case 2: case 3: return kModRM;
            case 4: return kImm8;
            case 5: return kImmZ;
            default:  // x6, x7: push/pop segment, segment prefixes, daa/das/aaa/aas
                if (op == 0x0F) return kEscape0F;
                if (op == 0x26 || op == 0x2E || op == 0x36 || op == 0x3E) return kPrefix;
                return kNone;
        }
    }
    if (op < 0x60) return kNone;                 // inc, dec, push, pop of registers
    if (op >= 0x70 && op <= 0x7F) return kRel8;  // jcc
    if (op >= 0x90 && op <= 0x99) return kNone;  // xchg, nop, cbw, cwd
    if (op >= 0xB0 && op <= 0xB7) return kImm8;
    if (op >= 0xB8 && op <= 0xBF) return kImmZ;
    if (op >= 0xD8 && op <= 0xDF) return kModRM;  // x87
    switch (op) {
        case 0x60: case 0x61: return kNone;
        case 0x62: case 0x63: return kModRM;  // bound (EVEX when mod=11), arpl
        case 0x64: case 0x65: case 0x66: case 0x67: return kPrefix;
        case 0x68: return kImmZ;
        case 0x69: return kModRMImmZ;
        case 0x6A: return kImm8;
        case 0x6B: return kModRMImm8;
        case 0x6C: case 0x6D: case 0x6E: case 0x6F: return kNone;
        case 0x80: case 0x82: case 0x83: return kModRMImm8;
        case 0x81: return kModRMImmZ;
        case 0x84: case 0x85: case 0x86: case 0x87: case 0x88: case 0x89: case 0x8A: case 0x8B:
        case 0x8C: case 0x8D: case 0x8E: case 0x8F: return kModRM;
        case 0x9A: return kFarPtr;
        case 0x9B: case 0x9C: case 0x9D: case 0x9E: case 0x9F: return kNone;
        case 0xA0: case 0xA1: case 0xA2: case 0xA3: return kMoffs;
        case 0xA8: return kImm8;
        case 0xA9: return kImmZ;
        case 0xA4: case 0xA5: case 0xA6: case 0xA7: case 0xAA: case 0xAB: case 0xAC: case 0xAD:
        case 0xAE: case 0xAF: return kNone;
        case 0xC0: case 0xC1: return kModRMImm8;
        case 0xC2: return kImm16;
        case 0xC3: return kNone;
        case 0xC4: case 0xC5: return kModRM;  // les/lds (VEX when mod=11)
        case 0xC6: return kModRMImm8;
        case 0xC7: return kModRMImmZ;
        case 0xC8: return kImm16Imm8;
        case 0xC9: return kNone;
        case 0xCA: return kImm16;
        case 0xCB: case 0xCC: return kNone;
        case 0xCD: return kImm8;
        case 0xCE: case 0xCF: return kNone;
        case 0xD0: case 0xD1: case 0xD2: case 0xD3: return kModRM;
        case 0xD4: case 0xD5: return kImm8;
        case 0xD7: return kNone;
        case 0xE0: case 0xE1: case 0xE2: case 0xE3: return kRel8;
        case 0xE4: case 0xE5: case 0xE6: case 0xE7: return kImm8;
        case 0xE8: case 0xE9: return kRelZ;
        case 0xEA: return kFarPtr;
        case 0xEB: return kRel8;
        case 0xEC: case 0xED: case 0xEE: case 0xEF: return kNone;
        case 0xF0: case 0xF2: case 0xF3: return kPrefix;
        case 0xF4: case 0xF5: return kNone;
        case 0xF6: case 0xF7: return kGroup3;
        case 0xF8: case 0xF9: case 0xFA: case 0xFB: case 0xFC: case 0xFD: return kNone;
        case 0xFE: case 0xFF: return kModRM;
        default: return kInvalid;  // D6 (salc), F1 (int1)
    }
}

// 64-bit mode drops some one-byte opcodes and gives C4/C5/62 to VEX/EVEX for good.
Form OneByteForm64(uint8_t op) {
    switch (op) {
        case 0x06: case 0x07: case 0x0E: case 0x16: case 0x17: case 0x1E: case 0x1F:
        case 0x27: case 0x2F: case 0x37: case 0x3F: case 0x60: case 0x61: case 0x62:
        case 0x82: case 0x9A: case 0xC4: case 0xC5: case 0xCE: case 0xD4: case 0xD5:
        case 0xEA:
            return kInvalid;
        case 0x63: return kModRM;  // movsxd
        default: return OneByteForm(op);
    }
}

Form TwoByteForm(uint8_t op) {
    if (op >= 0x40 && op <= 0x4F) return kModRM;  // cmovcc
    if (op >= 0x50 && op <= 0x6F) return kModRM;  // SSE/MMX
    if (op >= 0x80 && op <= 0x8F) return kRelZ;   // jcc rel32
    if (op >= 0x90 && op <= 0x9F) return kModRM;  // setcc
    if (op >= 0xC8 && op <= 0xCF) return kNone;   // bswap
    if (op >= 0xD0 && op <= 0xFE) return kModRM;  // SSE/MMX
    if (op >= 0x10 && op <= 0x1F) return kModRM;  // SSE moves, prefetch, hint nops
    if (op >= 0x28 && op <= 0x2F) return kModRM;
    switch (op) {
        case 0x00: case 0x01: case 0x02: case 0x03: return kModRM;
        case 0x06: case 0x08: case 0x09: return kNone;
        case 0x0D: return kModRM;  // prefetchw
        case 0x20: case 0x21: case 0x22: case 0x23: return kModRM;
        case 0x30: case 0x31: case 0x32: case 0x33: return kNone;
        case 0x70: case 0x71: case 0x72: case 0x73: return kModRMImm8;
        case 0x74: case 0x75: case 0x76: return kModRM;
        case 0x77: return kNone;  // emms
        case 0x7C: case 0x7D: case 0x7E: case 0x7F: return kModRM;
        case 0xA0: case 0xA1: case 0xA2: case 0xA8: case 0xA9: return kNone;
        case 0xA3: case 0xA5: case 0xAB: case 0xAD: case 0xAE: case 0xAF: return kModRM;
        case 0xA4: case 0xAC: return kModRMImm8;
        case 0xB0: case 0xB1: case 0xB2: case 0xB3: case 0xB4: case 0xB5: case 0xB6: case 0xB7:
        case 0xB8: case 0xBB: case 0xBC: case 0xBD: case 0xBE: case 0xBF: return kModRM;
        case 0xBA: return kModRMImm8;
        case 0xC0: case 0xC1: case 0xC3: case 0xC7: return kModRM;
        case 0xC2: case 0xC4: case 0xC5: case 0xC6: return kModRMImm8;
        // 0B ud2, B9 ud1, FF ud0, 34/35 sysenter/sysexit, AA rsm, 0F 3DNow! and the rest
        default: return kInvalid;
    }
}
// clang-format on

uint32_t ReadLE(const uint8_t* p, size_t size) {
    uint32_t v = 0;
    for (size_t i = 0; i < size; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

// Bytes taken by a ModRM byte and what follows it (SIB, displacement); 0 if truncated.
size_t ModRMLength(const uint8_t* p, size_t available, bool address16) {
    if (available < 1) return 0;
    const uint8_t mod = p[0] >> 6, rm = p[0] & 7;
    size_t length = 1;
    if (address16) {
        if (mod == 1)
            length += 1;
        else if (mod == 2 || (mod == 0 && rm == 6))
            length += 2;
    } else if (mod != 3) {
        if (rm == 4) {
            if (available < 2) return 0;
            length += 1;
            if (mod == 0 && (p[1] & 7) == 5) length += 4;  // SIB without base register
        }
        if (mod == 1)
            length += 1;
        else if (mod == 2 || (mod == 0 && rm == 5))
            length += 4;
    }
    return length <= available ? length : 0;
}

}  // namespace

DecodeStatus DecodeInstruction(const uint8_t* code, size_t available, CpuMode mode,
                               X86Instruction* out) {
    const bool x64 = mode == CpuMode::X64;
    X86Instruction ins;
    size_t pos = 0;
    Form form;
    for (;;) {
        if (pos >= available) return DecodeStatus::Truncated;
        if (pos >= kMaxInstructionLength) return DecodeStatus::Unsupported;
        const uint8_t b = code[pos];
        if (x64 && (b & 0xF0) == 0x40) {
            ins.rex = b;
            ++pos;
            continue;
        }
        form = x64 ? OneByteForm64(b) : OneByteForm(b);
        if (form != kPrefix) break;
        ins.rex = 0;  // a REX counts only right before the opcode
        switch (b) {
            case 0x66:
                ins.operandSize16 = true;
                break;
            case 0x67:
                ins.addressSize16 = true;
                break;
            case 0x2E:
            case 0x3E:
                ins.hintPrefix = true;
                break;
            default:
                ins.otherPrefix = true;
                break;
        }
        ++pos;
    }
    ins.prefixCount = uint8_t(pos);
    ins.opcode = code[pos++];
    const uint8_t op = ins.opcode;
    const bool rexW = (ins.rex & 0x08) != 0;

    if (form == kEscape0F) {
        if (pos >= available) return DecodeStatus::Truncated;
        ins.opcode2 = code[pos++];
        if (ins.opcode2 == 0x38 || ins.opcode2 == 0x3A) {
            // Three-byte maps: every instruction has a ModRM byte, those of 0F 3A an imm8 too.
            if (pos >= available) return DecodeStatus::Truncated;
            ++pos;
            form = ins.opcode2 == 0x3A ? kModRMImm8 : kModRM;
        } else {
            form = TwoByteForm(ins.opcode2);
        }
    }
    if (form == kInvalid) return DecodeStatus::Unsupported;

    const size_t immZ = ins.operandSize16 && !rexW ? 2 : 4;
    size_t imm = 0;
    bool hasModRM = false;
    switch (form) {
        case kNone:
            break;
        case kModRM:
            hasModRM = true;
            break;
        case kModRMImm8:
            hasModRM = true;
            imm = 1;
            break;
        case kModRMImmZ:
            hasModRM = true;
            imm = immZ;
            break;
        case kGroup3:
            hasModRM = true;
            break;
        case kImm8:
            imm = 1;
            break;
        case kImm16:
            imm = 2;
            break;
        case kImmZ:
            imm = rexW && op >= 0xB8 && op <= 0xBF ? 8 : immZ;  // mov r64,imm64
            break;
        case kImm16Imm8:
            imm = 3;
            break;
        case kMoffs:  // the address size
            imm = x64 ? (ins.addressSize16 ? 4 : 8) : (ins.addressSize16 ? 2 : 4);
            break;
        case kFarPtr:
            imm = immZ + 2;
            break;
        case kRel8:
            ins.relSize = 1;
            break;
        case kRelZ:
            ins.relSize = ins.operandSize16 ? 2 : 4;
            break;
        default:
            return DecodeStatus::Unsupported;
    }

    if (hasModRM) {
        if (pos >= available) return DecodeStatus::Truncated;
        const uint8_t modrm = code[pos];
        const uint8_t mod = modrm >> 6;
        ins.modrmReg = (modrm >> 3) & 7;
        if (ins.opcode != 0x0F) {
            // With a register operand these opcodes introduce the VEX, EVEX and XOP
            // encodings, whose lengths follow other rules.
            if ((op == 0xC4 || op == 0xC5 || op == 0x62) && mod == 3) {
                return DecodeStatus::Unsupported;
            }
            if (op == 0x8F && ins.modrmReg != 0) return DecodeStatus::Unsupported;
            if (op == 0xFE && ins.modrmReg > 1) return DecodeStatus::Unsupported;
            if (op == 0xFF && ins.modrmReg == 7) return DecodeStatus::Unsupported;
        }
        const bool address16 = ins.addressSize16 && !x64;
        const size_t modrmLength = ModRMLength(code + pos, available - pos, address16);
        if (modrmLength == 0) return DecodeStatus::Truncated;
        if (!address16 && mod == 0 && (modrm & 7) == 5) {
            (x64 ? ins.ripRelative : ins.absoluteMemory) = true;
            ins.dispOffset = uint8_t(pos + 1);
            ins.displacement = int32_t(ReadLE(code + pos + 1, 4));
        }
        pos += modrmLength;
        if (form == kGroup3 && ins.modrmReg < 2) imm = op == 0xF6 ? 1 : immZ;
    }

    if (ins.relSize != 0) {
        ins.relOffset = uint8_t(pos);
        imm = ins.relSize;
    }
    if (pos + imm > available) return DecodeStatus::Truncated;
    if (ins.relSize == 1) {
        ins.rel = int8_t(code[pos]);
    } else if (ins.relSize == 2) {
        ins.rel = int16_t(ReadLE(code + pos, 2));
    } else if (ins.relSize == 4) {
        ins.rel = int32_t(ReadLE(code + pos, 4));
    }
    pos += imm;
    if (pos > kMaxInstructionLength) return DecodeStatus::Unsupported;
    ins.length = uint8_t(pos);

    // Meaning for relocation.
    if (op == 0x0F) {
        if (ins.opcode2 >= 0x80 && ins.opcode2 <= 0x8F) ins.kind = InstrKind::CondJumpRel;
    } else if (op >= 0x70 && op <= 0x7F) {
        ins.kind = InstrKind::CondJumpRel;
    } else if (op >= 0xE0 && op <= 0xE3) {
        ins.kind = InstrKind::LoopRel;
    } else if (op == 0xEB || op == 0xE9) {
        ins.kind = InstrKind::JumpRel;
    } else if (op == 0xE8) {
        ins.kind = InstrKind::CallRel;
    } else if (op == 0xC3 || op == 0xC2 || op == 0xCB || op == 0xCA || op == 0xCF) {
        ins.kind = InstrKind::Return;
    } else if (op == 0xEA || (op == 0xFF && (ins.modrmReg == 4 || ins.modrmReg == 5))) {
        ins.kind = InstrKind::JumpIndirect;
    } else if (op == 0xCC) {
        ins.kind = InstrKind::Trap;
    }
    *out = ins;
    return DecodeStatus::Ok;
}

}  // namespace vorel::intercept
