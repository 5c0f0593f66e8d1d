// Turns a fuzzer's bytes into the inputs of the core's parsers, and the check that ends a run
// when a property does not hold.
//
// Layout of an input: numbers are taken from its end (four bytes each, little-endian, missing
// bytes read as 0), texts from its front, separated by the byte 0xFF. That keeps the texts of
// the seed files readable. Take every number before the first text, so that the two never
// overlap.
//
// A text is decoded the way the Windows build would hold it: UTF-16 code units in wchar_t,
// whatever wchar_t's width here. UTF-8 sequences give their character (a surrogate pair above
// U+FFFF); encoded surrogates give that code unit, so lone halves are reachable; any other
// byte b becomes the lone low surrogate U+DC00 + b; a NUL byte is an embedded NUL.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

namespace fuzz {

constexpr uint8_t kSeparator = 0xFF;

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_begin(0), m_end(size) {}

    // The last four bytes b0 b1 b2 b3 read as b0 + 256 * b1 + ...; missing ones count as 0.
    uint32_t Number() {
        uint32_t value = 0;
        for (int shift = 24; shift >= 0; shift -= 8) {
            if (m_end > m_begin) value |= uint32_t(m_data[--m_end]) << shift;
        }
        return value;
    }

    // A number in [low, high], both included.
    int64_t NumberIn(int64_t low, int64_t high) {
        const uint64_t span = static_cast<uint64_t>(high - low) + 1;
        return low + static_cast<int64_t>(Number() % span);
    }

    bool Flag() { return (Number() & 1) != 0; }

    bool AtEnd() const { return m_begin >= m_end; }

    // The raw bytes up to the next separator.
    std::string Bytes() {
        std::string bytes;
        while (m_begin < m_end && m_data[m_begin] != kSeparator)
            bytes.push_back(char(m_data[m_begin++]));
        if (m_begin < m_end) ++m_begin;
        return bytes;
    }

    std::wstring Text() { return DecodeText(Bytes()); }

    // Every remaining text.
    std::vector<std::wstring> Texts() {
        std::vector<std::wstring> texts;
        while (!AtEnd()) texts.push_back(Text());
        return texts;
    }

    static std::wstring DecodeText(const std::string& bytes) {
        std::wstring text;
        size_t i = 0;
        while (i < bytes.size()) {
            const uint8_t lead = uint8_t(bytes[i]);
            size_t length = lead < 0x80                    ? 1
                            : lead >= 0xC2 && lead <= 0xDF ? 2
                            : lead >= 0xE0 && lead <= 0xEF ? 3
                            : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                           : 0;
            uint32_t cp = length == 1 ? lead : lead & (0xFFu >> (length + 1));
            for (size_t k = 1; k < length; ++k) {
                if (i + k >= bytes.size() || (uint8_t(bytes[i + k]) & 0xC0) != 0x80) {
                    length = 0;
                    break;
                }
                cp = (cp << 6) | (uint8_t(bytes[i + k]) & 0x3F);
            }
            if (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) length = 0;
            if (length == 0) {
                text.push_back(wchar_t(0xDC00 + lead));
                ++i;
                continue;
            }
            if (cp >= 0x10000) {
                cp -= 0x10000;
                text.push_back(wchar_t(0xD800 + (cp >> 10)));
                text.push_back(wchar_t(0xDC00 + (cp & 0x3FF)));
            } else {
                text.push_back(wchar_t(cp));
            }
            i += length;
        }
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_begin;
    size_t m_end;
};

inline bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

inline bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

inline bool EndsWith(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Well-formed UTF-16: only 16-bit units, every high surrogate followed by a low one and
// every low one preceded by a high one.
inline bool IsWellFormedUtf16(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t c = uint32_t(text[i]);
        if (c > 0xFFFF) return false;
        if (IsHighSurrogate(text[i])) {
            if (i + 1 >= text.size() || !IsLowSurrogate(text[i + 1])) return false;
            ++i;
        } else if (IsLowSurrogate(text[i])) {
            return false;
        }
    }
    return true;
}

// ASCII letters with their case swapped; everything else as it is.
inline std::wstring SwapAsciiCase(std::wstring text) {
    for (auto& c : text) {
        if (c >= L'a' && c <= L'z')
            c = wchar_t(c - L'a' + L'A');
        else if (c >= L'A' && c <= L'Z')
            c = wchar_t(c - L'A' + L'a');
    }
    return text;
}

}  // namespace fuzz
