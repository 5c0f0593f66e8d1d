#include "net/VersionKey.h"

namespace vorel {

namespace {
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
constexpr size_t kAnnouncedKeyCapacity = 64;
}  // namespace

std::string VersionDigits(const std::wstring& versionText) {
    std::string digits;
    for (wchar_t c : versionText)
        if (c != L'.') digits.push_back(static_cast<char>(c));
    return digits;
}

std::string VersionKeyFromDigest(const uint8_t digest[16], const std::wstring& versionText) {
    static const char kHex[] = "0123456789abcdef";
    std::string key;
    for (int i = 0; i < 16; ++i) {
        key.push_back(kHex[digest[i] >> 4]);
        key.push_back(kHex[digest[i] & 0x0F]);
    }
    key.resize(kDigestHexDigits);
    return key + VersionDigits(versionText);
}

std::string AnnouncedKeyFromConfig(const std::string& text) {
    std::string key = text.substr(0, text.find('\0'));
    if (key.size() > kAnnouncedKeyCapacity - 1) key.resize(kAnnouncedKeyCapacity - 1);
    return key;
}

bool SameVersionKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

DownloadCheck CheckDownloadedBuild(uint64_t size, const std::string& firstBytes,
                                   const std::string& fileKey, const std::string& announcedKey) {
    if (size == 0) return DownloadCheck::Empty;
    if (firstBytes.size() < 2 || firstBytes[0] != 'M' || firstBytes[1] != 'Z')
        return DownloadCheck::NotAnExecutable;
    if (fileKey.size() < kDigestHexDigits || announcedKey.size() < kDigestHexDigits ||
        !SameVersionKey(fileKey.substr(0, kDigestHexDigits),
                        announcedKey.substr(0, kDigestHexDigits)))
        return DownloadCheck::WrongBuild;
    return DownloadCheck::Ok;
}

}  // namespace vorel
