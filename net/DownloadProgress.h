// The percentage a download reports after every chunk. Platform-free.
#pragma once
#include <cstdint>

namespace vorel {

// received × 100 ÷ contentLength in 64-bit arithmetic, so no 32-bit length overflows it.
// A zero length counts as complete (100) instead of dividing by zero, and bytes beyond
// the announced length do not push the bar past 100.
uint32_t DownloadPercent(uint64_t received, uint32_t contentLength);

}  // namespace vorel
