// Version keys: a build's identity as the update configuration announces it. Platform-free.
#pragma once
#include <cstdint>
#include <string>

namespace vorel {

constexpr size_t kDigestHexDigits = 28;  // of the 32 an MD5 digest has

// "3.0.0.1" → "3001".
std::string VersionDigits(const std::wstring& versionText);

// The first 28 lower-case hex digits of an MD5 digest followed by the version's digits.
std::string VersionKeyFromDigest(const uint8_t digest[16], const std::wstring& versionText);

// The announced key read from the configuration (at most 63 characters in a 64-byte buffer).
std::string AnnouncedKeyFromConfig(const std::string& text);

// Keys compare without regard to letter case; there is no order of versions.
bool SameVersionKey(const std::string& a, const std::string& b);

// What a downloaded executable must be before it may replace the running one: complete,
// a Windows executable image ("MZ"), and the very build that was announced: a build's key
// starts with its own MD5 digits, so the file's digits must match the announced ones.
enum class DownloadCheck { Ok, Empty, NotAnExecutable, WrongBuild };
DownloadCheck CheckDownloadedBuild(uint64_t size, const std::string& firstBytes,
                                   const std::string& fileKey, const std::string& announcedKey);

}  // namespace vorel
