#include "intercept/CodeMemory.h"

namespace vorel::intercept {
namespace {

bool Readable(const MEMORY_BASIC_INFORMATION& info) {
    if (info.State != MEM_COMMIT || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) {
        return false;
    }
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return (info.Protect & readable) != 0;
}

// One allocation granule (64 KiB) holds a few hundred trampolines.
constexpr size_t kBlockSize = 64 * 1024;
constexpr size_t kMaxBlocks = 32;
// Slots of a block must stay within rel32 reach of the entries they serve: a block within
// this distance of an entry is near enough, whatever slot of it is used.
constexpr uintptr_t kNearRange = 0x7FF00000;

struct Block {
    uint8_t* base;
    size_t used;
};
Block g_blocks[kMaxBlocks];
size_t g_blockCount = 0;

bool Near(const void* a, const void* b) {
    const uintptr_t x = uintptr_t(a), y = uintptr_t(b);
    return (x > y ? x - y : y - x) < kNearRange;
}

uintptr_t AlignDown(uintptr_t v, uintptr_t granule) { return v - v % granule; }

void* TryReserve(uintptr_t address) {
    return VirtualAlloc(reinterpret_cast<void*>(address), kBlockSize, MEM_RESERVE | MEM_COMMIT,
                        PAGE_EXECUTE_READWRITE);
}

// A free block within reach of `target`: the nearest free region below it, else above it.
void* ReserveNear(const void* target) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const uintptr_t granule = system.dwAllocationGranularity;
    const uintptr_t t = uintptr_t(target);
    const uintptr_t lowest = uintptr_t(system.lpMinimumApplicationAddress);
    const uintptr_t highest = uintptr_t(system.lpMaximumApplicationAddress);
    const uintptr_t low = t > lowest + kNearRange ? t - kNearRange : lowest;
    const uintptr_t high = highest - t > kNearRange ? t + kNearRange : highest;
    MEMORY_BASIC_INFORMATION info;

    for (uintptr_t at = AlignDown(t, granule); at >= low && at >= granule;) {
        if (VirtualQuery(reinterpret_cast<void*>(at), &info, sizeof info) != sizeof info) break;
        const uintptr_t base = uintptr_t(info.BaseAddress), end = base + info.RegionSize;
        if (info.State == MEM_FREE && end - base >= kBlockSize) {
            const uintptr_t candidate =
                AlignDown((at < end - kBlockSize ? at : end - kBlockSize), granule);
            if (candidate >= base && candidate >= low) {
                if (void* block = TryReserve(candidate)) return block;
            }
        }
        if (base < granule) break;
        at = AlignDown(base - 1, granule);
    }
    for (uintptr_t at = AlignDown(t, granule) + granule; at + kBlockSize <= high;) {
        if (VirtualQuery(reinterpret_cast<void*>(at), &info, sizeof info) != sizeof info) break;
        const uintptr_t base = uintptr_t(info.BaseAddress), end = base + info.RegionSize;
        if (info.State == MEM_FREE && at + kBlockSize <= end) {
            if (void* block = TryReserve(at)) return block;
        }
        at = AlignDown(end + granule - 1, granule);
    }
    return nullptr;
}

}  // namespace

size_t ReadableBytes(const void* address, size_t wanted) {
    const uint8_t* p = static_cast<const uint8_t*>(address);
    size_t have = 0;
    while (have < wanted) {
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(p + have, &info, sizeof info) != sizeof info || !Readable(info)) break;
        const uint8_t* end = static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize;
        have = size_t(end - p);  // an entry may straddle two regions
    }
    return have < wanted ? have : wanted;
}

uint8_t* AllocateTrampolineSlot(const void* nearTo) {
    // Only transactions call this, and one transaction is open at a time.
    const bool anywhere = kHostMode == CpuMode::X86;
    Block* block = nullptr;
    for (size_t i = 0; i < g_blockCount && !block; ++i) {
        Block& b = g_blocks[i];
        if (b.used + kTrampolineSlotSize <= kBlockSize && (anywhere || Near(b.base, nearTo))) {
            block = &b;
        }
    }
    if (!block) {
        if (g_blockCount == kMaxBlocks) return nullptr;
        void* memory = anywhere ? VirtualAlloc(nullptr, kBlockSize, MEM_RESERVE | MEM_COMMIT,
                                               PAGE_EXECUTE_READWRITE)
                                : ReserveNear(nearTo);
        if (!memory) return nullptr;
        block = &g_blocks[g_blockCount++];
        block->base = static_cast<uint8_t*>(memory);
        block->used = 0;
    }
    uint8_t* slot = block->base + block->used;
    block->used += kTrampolineSlotSize;
    return slot;
}

}  // namespace vorel::intercept
