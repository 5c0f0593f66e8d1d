#include "net/PublisherDomain.h"

#include "DeployConfig.h"

namespace vorel {

std::vector<std::wstring> ParseDomainList(const std::wstring& list) {
    std::vector<std::wstring> domains;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L';', start);
        if (end == std::wstring::npos) end = list.size();
        if (end > start) domains.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return domains;
}

bool NamesPublisherDomain(const std::wstring& url, const std::vector<std::wstring>& domains) {
    const std::wstring visible = url.substr(0, url.find(L'\0'));
    for (const auto& domain : domains)
        if (!domain.empty() && visible.find(domain) != std::wstring::npos) return true;
    return false;
}

bool NamesPublisherDomain(const std::wstring& url) {
    return NamesPublisherDomain(url, ParseDomainList(VOREL_PUBLISHER_DOMAINS));
}

}  // namespace vorel
