// Memory questions of the interception library: how much code may be read at an address, and
// executable slots for trampolines.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "intercept/Relocation.h"

namespace vorel::intercept {

// The code this program runs as.
constexpr CpuMode kHostMode = sizeof(void*) == 8 ? CpuMode::X64 : CpuMode::X86;

// Bytes from `address` on (at most `wanted`) that lie in committed, readable memory.
size_t ReadableBytes(const void* address, size_t wanted);

// A slot: the trampoline, then (64-bit) the relay that the entry's rel32 jump reaches.
constexpr size_t kRelayOffset = kMaxTrampolineLength;
constexpr size_t kTrampolineSlotSize = kRelayOffset + 16;

// A slot of read-write-execute memory, never given back; in 64-bit mode within rel32 reach
// of `nearTo`. Null when no such memory is left.
uint8_t* AllocateTrampolineSlot(const void* nearTo);

}  // namespace vorel::intercept
