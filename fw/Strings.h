// Bounded copy and format into fixed wide buffers: the result is always NUL-terminated and
// cut at the buffer's end. No <windows.h>: core code may use it too. Use %ls for wide strings
// in formats, which the Windows and the C library's printf families both read the same way.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cwchar>

namespace fw {

// Copies at most size - 1 characters and a NUL; a null source copies as empty.
// Returns false when the source did not fit (the copy is then cut).
inline bool CopyBounded(wchar_t* dst, size_t size, const wchar_t* src) {
    if (!dst || size == 0) return false;
    if (!src) src = L"";
    size_t i = 0;
    for (; i + 1 < size && src[i]; ++i) dst[i] = src[i];
    dst[i] = L'\0';
    return src[i] == L'\0';
}

template <size_t N>
bool CopyBounded(wchar_t (&dst)[N], const wchar_t* src) {
    return CopyBounded(dst, N, src);
}

// Returns false when the text did not fit (the buffer then holds its beginning) or when the
// format failed (the buffer is then empty).
inline bool FormatBoundedV(wchar_t* dst, size_t size, const wchar_t* format, va_list args) {
    if (!dst || size == 0) return false;
    if (!format) {
        dst[0] = L'\0';
        return false;
    }
#ifdef _WIN32
    // Unlike the standard function, this one fills the buffer when the text is too long but
    // leaves the NUL out: we put it in ourselves.
    const int written = _vsnwprintf(dst, size, format, args);
    dst[size - 1] = L'\0';
    if (written < 0) {
        // -1 also means "did not fit"; the buffer then has the cut text.
        return false;
    }
    return static_cast<size_t>(written) < size;
#else
    const int written = std::vswprintf(dst, size, format, args);
    if (written < 0) {
        // glibc reports a too-long text as an error too, leaving the buffer unspecified.
        dst[size - 1] = L'\0';
        return false;
    }
    return true;
#endif
}

inline bool FormatBounded(wchar_t* dst, size_t size, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const bool ok = FormatBoundedV(dst, size, format, args);
    va_end(args);
    return ok;
}

template <size_t N>
bool FormatBounded(wchar_t (&dst)[N], const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const bool ok = FormatBoundedV(dst, N, format, args);
    va_end(args);
    return ok;
}

}  // namespace fw
