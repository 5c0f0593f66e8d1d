// Decimal text conversions shared by the command line, the counters and the hotkeys.
// Platform-free: behaves the same with 16- and 32-bit wchar_t.
#pragma once
#include <cstdint>
#include <string>

namespace vorel {

// The C library's wide-text-to-int conversion as the program relies on it: leading blanks
// skipped, an optional sign, decimal digits up to the first non-digit, 0 when there are
// none. Out-of-range values saturate at INT32_MIN/INT32_MAX instead of being undefined.
int32_t WideToInt(const wchar_t* text);
inline int32_t WideToInt(const std::wstring& text) { return WideToInt(text.c_str()); }

// Same rules, as the C library's wcstol with base 10 on a 32-bit long.
int32_t WideToLong(const wchar_t* text);

// "%u" of an unsigned 32-bit value, and "%lld" of a signed 64-bit one. Ours rather than the
// C library's: its formatter would bring floating point and locales into the executable.
std::wstring FormatUnsigned(uint32_t value);
std::wstring FormatInteger(int64_t value);

// Copies text into a buffer of `capacity` characters including the terminator, as a
// bounded copy does: at most capacity - 1 characters survive.
std::wstring TruncateToBuffer(const std::wstring& text, size_t capacity);

// ASCII-only case folding: the switches and paths compared this way are ASCII, and the
// result must not depend on the C library's locale.
std::wstring AsciiUpper(std::wstring text);
bool EqualsIgnoreAsciiCase(const std::wstring& a, const std::wstring& b);

}  // namespace vorel
