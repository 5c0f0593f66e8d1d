#include "net/Url.h"

#include "app/TextNumber.h"

namespace vorel {

namespace {
constexpr size_t kSchemeLength = 7;  // "http://"
}

bool HasHttpScheme(const std::wstring& url) {
    const std::wstring visible = url.substr(0, url.find(L'\0'));
    return visible.size() >= kSchemeLength &&
           EqualsIgnoreAsciiCase(visible.substr(0, kSchemeLength), L"http://");
}

UrlSplit SplitUrl(const std::wstring& url, UrlParts* parts) {
    *parts = UrlParts();
    const std::wstring visible = url.substr(0, url.find(L'\0'));
    if (visible.size() < kSchemeLength) return UrlSplit::TooShort;
    const std::wstring rest = visible.substr(kSchemeLength);

    const size_t slash = rest.find(L'/');
    std::wstring authority = rest.substr(0, slash);
    std::wstring object = slash == std::wstring::npos ? std::wstring() : rest.substr(slash + 1);
    if (authority.size() > kHostCapacity - 1) return UrlSplit::HostTooLong;
    if (object.size() > kObjectCapacity - 1) return UrlSplit::ObjectTooLong;

    const size_t colon = authority.find(L':');
    if (colon != std::wstring::npos) {
        // An int cut to its low 16 bits, as a 16-bit port variable takes it.
        parts->port =
            static_cast<uint16_t>(static_cast<uint32_t>(WideToInt(authority.c_str() + colon + 1)));
        authority.resize(colon);
    }
    parts->host = authority;
    parts->object = object;
    return UrlSplit::Ok;
}

}  // namespace vorel
