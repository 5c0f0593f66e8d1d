// The HTTP address splitter every request goes through, and the publisher-domain rule.
// Numbers: a port. Texts: an address; a host and an object to build one from; a domain list.
#include "net/PublisherDomain.h"
#include "net/Url.h"
#include "tests/fuzz/FuzzInput.h"

using namespace vorel;

namespace {

void CheckSplit(const std::wstring& url) {
    UrlParts parts;
    parts.port = 1;
    const UrlSplit split = SplitUrl(url, &parts);
    const std::wstring visible = url.substr(0, url.find(L'\0'));
    FUZZ_CHECK((split == UrlSplit::TooShort) == (visible.size() < 7));
    if (HasHttpScheme(url)) FUZZ_CHECK(split != UrlSplit::TooShort);
    if (split != UrlSplit::Ok) {
        FUZZ_CHECK(parts.host.empty() && parts.object.empty() && parts.port == 80);
        return;
    }
    FUZZ_CHECK(parts.host.size() <= kHostCapacity - 1 &&
               parts.object.size() <= kObjectCapacity - 1);
    FUZZ_CHECK(parts.host.find_first_of(L"/:") == std::wstring::npos);
    // The parts are the address's own text: host right after the scheme, object at its end.
    const std::wstring rest = visible.substr(7);
    FUZZ_CHECK(fuzz::StartsWith(rest, parts.host));
    const size_t slash = rest.find(L'/');
    if (slash == std::wstring::npos) {
        FUZZ_CHECK(parts.object.empty());
    } else {
        FUZZ_CHECK(rest.substr(slash) == L"/" + parts.object);
    }
    const std::wstring authority = rest.substr(0, slash);
    if (authority.find(L':') == std::wstring::npos)
        FUZZ_CHECK(parts.port == 80 && parts.host == authority);
}

// host:port/object comes back as it went in.
void CheckRoundTrip(std::wstring host, std::wstring object, uint16_t port) {
    host = host.substr(0, host.find_first_of(std::wstring(L"/:\0", 3)));
    object = object.substr(0, object.find(L'\0'));
    const std::wstring url = L"http://" + host + L":" + std::to_wstring(port) + L"/" + object;
    UrlParts parts;
    const UrlSplit split = SplitUrl(url, &parts);
    if (host.size() + 1 + std::to_wstring(port).size() > kHostCapacity - 1) {
        FUZZ_CHECK(split == UrlSplit::HostTooLong);
        return;
    }
    if (object.size() > kObjectCapacity - 1) {
        FUZZ_CHECK(split == UrlSplit::ObjectTooLong);
        return;
    }
    FUZZ_CHECK(split == UrlSplit::Ok);
    FUZZ_CHECK(parts.host == host && parts.port == port && parts.object == object);
}

void CheckDomains(const std::wstring& list, const std::wstring& url) {
    const std::vector<std::wstring> domains = ParseDomainList(list);
    std::wstring joined, withoutSeparators;
    for (const auto& d : domains) {
        FUZZ_CHECK(!d.empty() && d.find(L';') == std::wstring::npos);
        joined += d;
    }
    for (wchar_t c : list)
        if (c != L';') withoutSeparators.push_back(c);
    FUZZ_CHECK(joined == withoutSeparators);

    const std::wstring visible = url.substr(0, url.find(L'\0'));
    bool named = false;
    for (const auto& d : domains) named = named || visible.find(d) != std::wstring::npos;
    FUZZ_CHECK(NamesPublisherDomain(url, domains) == named);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const uint16_t port = uint16_t(input.Number());
    const std::wstring url = input.Text();
    const std::wstring host = input.Text();
    const std::wstring object = input.Text();
    const std::wstring list = input.Text();

    CheckSplit(url);
    CheckRoundTrip(host, object, port);
    CheckDomains(list, url);
    return 0;
}
