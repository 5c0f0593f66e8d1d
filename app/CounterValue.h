// The usage counters are decimal texts in "Statistic.ini".
#pragma once
#include <cstdint>
#include <string>

namespace vorel {

// The value that follows a stored counter text: the text is read into 32 characters and
// converted by the C library's rules (not a number counts as 0), then one is added in
// unsigned 32-bit arithmetic.
uint32_t NextCounterValue(const std::wstring& stored);

}  // namespace vorel
