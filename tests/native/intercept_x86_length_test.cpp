#include "intercept/X86Length.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vorel::intercept;

namespace {

struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    size_t length;
    InstrKind kind = InstrKind::Plain;
};

// Decodes with a window larger than the instruction, as it sits inside a function.
X86Instruction DecodeOk(const std::vector<uint8_t>& bytes, const char* what,
                        CpuMode mode = CpuMode::X86) {
    std::vector<uint8_t> window(bytes);
    window.resize(bytes.size() + 16, 0x90);
    X86Instruction ins;
    EXPECT_EQ(DecodeInstruction(window.data(), window.size(), mode, &ins), DecodeStatus::Ok)
        << what;
    return ins;
}

void ExpectCases(const std::vector<Case>& cases, CpuMode mode = CpuMode::X86) {
    for (const Case& c : cases) {
        const X86Instruction ins = DecodeOk(c.bytes, c.what, mode);
        EXPECT_EQ(ins.length, c.length) << c.what;
        EXPECT_EQ(int(ins.kind), int(c.kind)) << c.what;
    }
}

DecodeStatus Status(const std::vector<uint8_t>& bytes, CpuMode mode = CpuMode::X86) {
    X86Instruction ins;
    return DecodeInstruction(bytes.data(), bytes.size(), mode, &ins);
}

}  // namespace

TEST(X86Length, FrameProloguesAndStackSetup) {
    ExpectCases({
        {"mov edi,edi (hot-patch point)", {0x8B, 0xFF}, 2},
        {"push ebp", {0x55}, 1},
        {"mov ebp,esp", {0x8B, 0xEC}, 2},
        {"mov ebp,esp (other encoding)", {0x89, 0xE5}, 2},
        {"sub esp,imm8", {0x83, 0xEC, 0x20}, 3},
        {"sub esp,imm32", {0x81, 0xEC, 0x00, 0x01, 0x00, 0x00}, 6},
        {"push imm8", {0x6A, 0xFF}, 2},
        {"push imm32", {0x68, 0x78, 0x56, 0x34, 0x12}, 5},
        {"mov eax,fs:[0]", {0x64, 0xA1, 0x00, 0x00, 0x00, 0x00}, 6},
        {"mov eax,[abs] with 67: 16-bit offset", {0x67, 0xA1, 0x34, 0x12}, 4},
        {"enter 0x10,0", {0xC8, 0x10, 0x00, 0x00}, 4},
        {"push esi / pusha", {0x56}, 1},
        {"xor eax,eax", {0x33, 0xC0}, 2},
        {"xor eax,eax (31)", {0x31, 0xC0}, 2},
        {"test ecx,ecx", {0x85, 0xC9}, 2},
        {"cmp ecx,[ebp+8]", {0x3B, 0x4D, 0x08}, 3},
        {"cmp eax,imm32", {0x3D, 0x01, 0x02, 0x03, 0x04}, 5},
        {"cmp al,imm8", {0x3C, 0x7F}, 2},
        {"mov eax,imm32", {0xB8, 0x2A, 0x00, 0x00, 0x00}, 5},
        {"mov cl,imm8", {0xB1, 0x07}, 2},
        {"imul eax,eax,imm32", {0x69, 0xC0, 0x10, 0x27, 0x00, 0x00}, 6},
        {"imul eax,eax,imm8", {0x6B, 0xC0, 0x10}, 3},
        {"shl eax,5", {0xC1, 0xE0, 0x05}, 3},
        {"fldz", {0xD9, 0xEE}, 2},
        {"fld qword [ebp+8]", {0xDD, 0x45, 0x08}, 3},
        {"lds eax,[ebp+8] (not VEX: memory operand)", {0xC5, 0x45, 0x08}, 3},
        {"ret", {0xC3}, 1, InstrKind::Return},
        {"ret 8", {0xC2, 0x08, 0x00}, 3, InstrKind::Return},
        {"rep ret", {0xF3, 0xC3}, 2, InstrKind::Return},
        {"call far ptr16:32", {0x9A, 1, 2, 3, 4, 5, 6}, 7},
        {"jmp far ptr16:32", {0xEA, 1, 2, 3, 4, 5, 6}, 7, InstrKind::JumpIndirect},
        {"call [eax]", {0xFF, 0x10}, 2},
        {"jmp [imm32] (import thunk)",
         {0xFF, 0x25, 0x00, 0x10, 0x40, 0x00},
         6,
         InstrKind::JumpIndirect},
        {"jmp eax", {0xFF, 0xE0}, 2, InstrKind::JumpIndirect},
        {"int3", {0xCC}, 1, InstrKind::Trap},
    });
}

TEST(X86Length, ModRMSibAndDisplacementForms) {
    ExpectCases({
        {"lea ecx,[esp+4] (SIB, disp8)", {0x8D, 0x4C, 0x24, 0x04}, 4},
        {"mov eax,[esp+0x100] (SIB, disp32)", {0x8B, 0x84, 0x24, 0x00, 0x01, 0x00, 0x00}, 7},
        {"lea eax,[eax*4+0x1000] (SIB without base)",
         {0x8D, 0x04, 0x85, 0x00, 0x10, 0x00, 0x00},
         7},
        {"mov eax,[esp] (SIB, no displacement)", {0x8B, 0x04, 0x24}, 3},
        {"mov eax,[ebp+0] (mod 01 with ebp)", {0x8B, 0x45, 0x00}, 3},
        {"mov eax,[abs32]", {0x8B, 0x05, 0x00, 0x20, 0x40, 0x00}, 6},
        {"mov dword [esp+0x100],imm32",
         {0xC7, 0x84, 0x24, 0x00, 0x01, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12},
         11},
        {"mov dword [ebp-4],imm32", {0xC7, 0x45, 0xFC, 1, 2, 3, 4}, 7},
        {"mov byte [abs32],imm8", {0xC6, 0x05, 0x00, 0x20, 0x40, 0x00, 0x01}, 7},
        {"test byte [ebp+8],imm8 (F6 /0)", {0xF6, 0x45, 0x08, 0x01}, 4},
        {"test dword [ebp+8],imm32 (F7 /0)", {0xF7, 0x45, 0x08, 1, 2, 3, 4}, 7},
        {"neg eax (F7 /3 has no immediate)", {0xF7, 0xD8}, 2},
        {"mov eax,[bp+2] (67: 16-bit addressing, disp8)", {0x67, 0x8B, 0x46, 0x02}, 4},
        {"mov eax,[0x1234] (67: mod 00 rm 110 is disp16)", {0x67, 0x8B, 0x06, 0x34, 0x12}, 5},
        {"mov eax,[bx+si+disp16] (67, mod 10)", {0x67, 0x8B, 0x80, 0x34, 0x12}, 5},
    });
    const X86Instruction abs = DecodeOk({0x8B, 0x05, 0x00, 0x20, 0x40, 0x00}, "abs");
    EXPECT_TRUE(abs.absoluteMemory);
    EXPECT_FALSE(abs.ripRelative);
    EXPECT_EQ(abs.dispOffset, 2);
    EXPECT_EQ(abs.displacement, 0x00402000);
    EXPECT_FALSE(DecodeOk({0x8B, 0x45, 0x00}, "ebp").absoluteMemory);
}

TEST(X86Length, PrefixesChangeOperandAndAddressSizes) {
    ExpectCases({
        {"mov ax,imm16", {0x66, 0xB8, 0x34, 0x12}, 4},
        {"cmp word [ebp+8],imm16", {0x66, 0x81, 0x7D, 0x08, 0x34, 0x12}, 6},
        {"mov word [ebp-4],imm16", {0x66, 0xC7, 0x45, 0xFC, 0x34, 0x12}, 6},
        {"push imm16", {0x66, 0x68, 0x34, 0x12}, 4},
        {"rep movsd", {0xF3, 0xA5}, 2},
        {"movsd xmm0,[ebp+8]", {0xF2, 0x0F, 0x10, 0x45, 0x08}, 5},
        {"cs: segment override", {0x2E, 0x8B, 0x00}, 3},
        {"lock cmpxchg [edx],ecx", {0xF0, 0x0F, 0xB1, 0x0A}, 4},
        {"lock xadd with 66 and segment", {0x66, 0x64, 0xF0, 0x0F, 0xC1, 0x01}, 6},
    });
    const X86Instruction ins = DecodeOk({0x66, 0x64, 0xF0, 0x0F, 0xC1, 0x01}, "prefixes");
    EXPECT_EQ(ins.prefixCount, 3);
    EXPECT_TRUE(ins.operandSize16);
    EXPECT_TRUE(ins.otherPrefix);
}

TEST(X86Length, TwoAndThreeByteOpcodes) {
    ExpectCases({
        {"movzx eax,byte [ebp+8]", {0x0F, 0xB6, 0x45, 0x08}, 4},
        {"nopl [eax+eax+0]", {0x0F, 0x1F, 0x44, 0x00, 0x00}, 5},
        {"nopl disp32", {0x0F, 0x1F, 0x84, 0x00, 0x00, 0x00, 0x00, 0x00}, 8},
        {"66 nopl", {0x66, 0x0F, 0x1F, 0x44, 0x00, 0x00}, 6},
        {"cmove eax,ecx", {0x0F, 0x44, 0xC1}, 3},
        {"sete al", {0x0F, 0x94, 0xC0}, 3},
        {"cpuid", {0x0F, 0xA2}, 2},
        {"rdtsc", {0x0F, 0x31}, 2},
        {"bt eax,imm8", {0x0F, 0xBA, 0xE0, 0x03}, 4},
        {"shld eax,edx,imm8", {0x0F, 0xA4, 0xD0, 0x04}, 4},
        {"bswap eax", {0x0F, 0xC8}, 2},
        {"pshufd xmm0,xmm1,imm8", {0x66, 0x0F, 0x70, 0xC1, 0x1B}, 5},
        {"movaps [esp+0x10],xmm6", {0x0F, 0x29, 0x74, 0x24, 0x10}, 5},
        {"pshufb xmm0,xmm1 (0F 38)", {0x66, 0x0F, 0x38, 0x00, 0xC1}, 5},
        {"palignr xmm0,xmm1,8 (0F 3A with imm8)", {0x66, 0x0F, 0x3A, 0x0F, 0xC1, 0x08}, 6},
    });
}

TEST(X86Length, RelativeBranchesReportTheirDisplacement) {
    X86Instruction ins = DecodeOk({0xEB, 0x10}, "jmp short");
    EXPECT_EQ(int(ins.kind), int(InstrKind::JumpRel));
    EXPECT_EQ(ins.relOffset, 1);
    EXPECT_EQ(ins.relSize, 1);
    EXPECT_EQ(ins.rel, 0x10);

    ins = DecodeOk({0xE9, 0xFB, 0xFF, 0xFF, 0xFF}, "jmp rel32 backwards");
    EXPECT_EQ(ins.length, 5);
    EXPECT_EQ(ins.rel, -5);

    ins = DecodeOk({0xE8, 0x00, 0x10, 0x00, 0x00}, "call rel32");
    EXPECT_EQ(int(ins.kind), int(InstrKind::CallRel));
    EXPECT_EQ(ins.rel, 0x1000);

    ins = DecodeOk({0x74, 0xFE}, "je to itself");
    EXPECT_EQ(int(ins.kind), int(InstrKind::CondJumpRel));
    EXPECT_EQ(ins.rel, -2);

    ins = DecodeOk({0x0F, 0x85, 0x00, 0x01, 0x00, 0x00}, "jne rel32");
    EXPECT_EQ(int(ins.kind), int(InstrKind::CondJumpRel));
    EXPECT_EQ(ins.length, 6);
    EXPECT_EQ(ins.relOffset, 2);
    EXPECT_EQ(ins.rel, 0x100);

    ins = DecodeOk({0xE3, 0x05}, "jecxz");
    EXPECT_EQ(int(ins.kind), int(InstrKind::LoopRel));
    ins = DecodeOk({0xE2, 0xFC}, "loop");
    EXPECT_EQ(int(ins.kind), int(InstrKind::LoopRel));
    EXPECT_EQ(ins.rel, -4);

    // With 66 the displacement is 16 bits wide.
    ins = DecodeOk({0x66, 0xE9, 0x34, 0x12}, "jmp rel16");
    EXPECT_EQ(ins.length, 4);
    EXPECT_EQ(ins.relSize, 2);
    EXPECT_EQ(ins.rel, 0x1234);
}

TEST(X86Length, RefusesWhatItDoesNotKnow) {
    EXPECT_EQ(Status({0xC5, 0xF8, 0x77}), DecodeStatus::Unsupported) << "VEX vzeroupper";
    EXPECT_EQ(Status({0xC4, 0xE2, 0x79, 0x18, 0x00}), DecodeStatus::Unsupported) << "VEX3";
    EXPECT_EQ(Status({0x62, 0xF1, 0x7C, 0x48, 0x10, 0x00}), DecodeStatus::Unsupported) << "EVEX";
    EXPECT_EQ(Status({0x8F, 0xE8, 0x78, 0xC0, 0xC1, 0x00}), DecodeStatus::Unsupported) << "XOP";
    EXPECT_EQ(Status({0x0F, 0x0B}), DecodeStatus::Unsupported) << "ud2";
    EXPECT_EQ(Status({0x0F, 0x0F, 0xC1, 0x9E}), DecodeStatus::Unsupported) << "3DNow!";
    EXPECT_EQ(Status({0x0F, 0x34}), DecodeStatus::Unsupported) << "sysenter";
    EXPECT_EQ(Status({0xD6}), DecodeStatus::Unsupported) << "salc";
    EXPECT_EQ(Status({0xF1}), DecodeStatus::Unsupported) << "int1";
    EXPECT_EQ(Status({0xFF, 0xF8}), DecodeStatus::Unsupported) << "FF /7";
    EXPECT_EQ(Status({0xFE, 0xD0}), DecodeStatus::Unsupported) << "FE /2";
    std::vector<uint8_t> prefixes(15, 0x66);
    prefixes.push_back(0x90);
    EXPECT_EQ(Status(prefixes), DecodeStatus::Unsupported) << "longer than 15 bytes";
    std::vector<uint8_t> longest = {0x66, 0x66, 0x66, 0x66, 0x81, 0x84, 0x24,
                                    0,    0,    0,    0,    0x34, 0x12};  // 13 bytes, fine
    EXPECT_EQ(Status(longest), DecodeStatus::Ok);
}

TEST(X86Length, NeverReadsPastTheAvailableBytes) {
    EXPECT_EQ(Status({}), DecodeStatus::Truncated);
    EXPECT_EQ(Status({0x66}), DecodeStatus::Truncated);
    EXPECT_EQ(Status({0x8B}), DecodeStatus::Truncated) << "ModRM missing";
    EXPECT_EQ(Status({0x8B, 0x04}), DecodeStatus::Truncated) << "SIB missing";
    EXPECT_EQ(Status({0x8B, 0x04, 0x85, 0x00}), DecodeStatus::Truncated) << "disp32 cut";
    EXPECT_EQ(Status({0xE9, 0x12, 0x34}), DecodeStatus::Truncated) << "rel32 cut";
    EXPECT_EQ(Status({0x0F}), DecodeStatus::Truncated);
    EXPECT_EQ(Status({0x0F, 0x3A, 0x0F, 0xC1}), DecodeStatus::Truncated) << "imm8 missing";
    EXPECT_EQ(Status({0xC7, 0x45, 0xFC, 1, 2, 3}), DecodeStatus::Truncated) << "imm32 cut";
    EXPECT_EQ(Status({0xE9, 0x12, 0x34, 0x00, 0x00}), DecodeStatus::Ok);
}

TEST(X86Length, SixtyFourBitModeKnowsRexAndRipRelativeOperands) {
    const CpuMode x64 = CpuMode::X64;
    ExpectCases(
        {
            {"mov [rsp+8],rbx", {0x48, 0x89, 0x5C, 0x24, 0x08}, 5},
            {"sub rsp,0x28", {0x48, 0x83, 0xEC, 0x28}, 4},
            {"push rbx (with REX)", {0x40, 0x53}, 2},
            {"push r12", {0x41, 0x54}, 2},
            {"mov rax,imm64", {0x48, 0xB8, 1, 2, 3, 4, 5, 6, 7, 8}, 10},
            {"mov eax,imm32", {0xB8, 1, 2, 3, 4}, 5},
            {"66 with REX.W: the REX wins", {0x66, 0x48, 0xB8, 1, 2, 3, 4, 5, 6, 7, 8}, 11},
            {"a REX before a legacy prefix counts for nothing", {0x48, 0x66, 0xB8, 0x34, 0x12}, 5},
            {"mov rax,imm32 sign-extended (C7)", {0x48, 0xC7, 0xC0, 1, 2, 3, 4}, 7},
            {"test rax,imm32 (F7 /0)", {0x48, 0xF7, 0xC0, 1, 2, 3, 4}, 7},
            {"movsxd rcx,eax", {0x48, 0x63, 0xC8}, 3},
            {"mov eax,[moffs64]", {0xA1, 1, 2, 3, 4, 5, 6, 7, 8}, 9},
            {"mov eax,[moffs32] (67)", {0x67, 0xA1, 1, 2, 3, 4}, 6},
            {"mov eax,[esi] (67: 32-bit addressing, not 16-bit)", {0x67, 0x8B, 0x06}, 3},
            {"call r11", {0x41, 0xFF, 0xD3}, 3},
            {"jmp qword [rip+x]", {0x48, 0xFF, 0x25, 0x10, 0, 0, 0}, 7, InstrKind::JumpIndirect},
        },
        x64);

    X86Instruction ins =
        DecodeOk({0x48, 0x8B, 0x05, 0xF0, 0x0F, 0x00, 0x00}, "mov rax,[rip+x]", x64);
    EXPECT_EQ(ins.length, 7);
    EXPECT_TRUE(ins.ripRelative);
    EXPECT_FALSE(ins.absoluteMemory);
    EXPECT_EQ(ins.dispOffset, 3);
    EXPECT_EQ(ins.displacement, 0xFF0);
    // cmp byte [rip+x],0: the immediate follows the displacement.
    ins = DecodeOk({0x80, 0x3D, 0x00, 0x10, 0x00, 0x00, 0x00}, "cmp byte [rip+x],0", x64);
    EXPECT_EQ(ins.length, 7);
    EXPECT_EQ(ins.dispOffset, 2);

    // Opcodes that 64-bit mode dropped or gave to VEX/EVEX.
    for (uint8_t op : {0x06, 0x1F, 0x27, 0x60, 0x82, 0x9A, 0xCE, 0xD4, 0xD6, 0xEA}) {
        EXPECT_EQ(Status({op, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, x64), DecodeStatus::Unsupported)
            << int(op);
    }
    EXPECT_EQ(Status({0xC5, 0x45, 0x08}, x64), DecodeStatus::Unsupported) << "always VEX";
    EXPECT_EQ(Status({0x62, 0x45, 0x08, 0, 0, 0}, x64), DecodeStatus::Unsupported) << "EVEX";
    EXPECT_EQ(Status({0x48}, x64), DecodeStatus::Truncated);
    // The same bytes in 32-bit mode: dec eax.
    EXPECT_EQ(DecodeOk({0x48, 0x89, 0x5C}, "dec eax").length, 1);
}
