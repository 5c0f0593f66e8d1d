// Splitting the "http://host[:port]/object" addresses that every request of the program uses.
// Platform-free.
#pragma once
#include <cstdint>
#include <string>

namespace vorel {

// The fixed buffers the request routines hold the parts in, terminator included.
constexpr size_t kHostCapacity = 260;
constexpr size_t kObjectCapacity = 512;

enum class UrlSplit {
    Ok,
    TooShort,      // fewer characters than the scheme takes
    HostTooLong,   // host[:port] needs more than 259 characters
    ObjectTooLong  // object name needs more than 511 characters
};

struct UrlParts {
    std::wstring host;  // without the port
    uint16_t port = 80;
    std::wstring object;  // after the first "/" behind the host, without that slash
};

// True when the address begins with "http://" in any letter case.
bool HasHttpScheme(const std::wstring& url);

// Skips the first seven characters unseen (they are the scheme) and splits the rest. The
// host runs up to the first "/"; a ":" inside it ends the host and starts a decimal port,
// converted by the C library's rules and cut to 16 bits. Parts that would not fit their
// buffers are refused rather than cut: a cut host or object names another resource.
// The address ends at an embedded terminator, as it would in a C buffer.
UrlSplit SplitUrl(const std::wstring& url, UrlParts* parts);

}  // namespace vorel
