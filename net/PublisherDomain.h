// The rule that keeps downloads of programs and pictures on the publisher's own hosts.
// Platform-free.
#pragma once
#include <string>
#include <vector>

namespace vorel {

// The domain names of a ";"-separated list (the deployment value); empty entries are
// dropped, since an empty name would be found in every address.
std::vector<std::wstring> ParseDomainList(const std::wstring& list);

// True when the address contains one of the names anywhere (host, path or query), with
// exact case.
bool NamesPublisherDomain(const std::wstring& url, const std::vector<std::wstring>& domains);

// The same against the domains this build was configured with.
bool NamesPublisherDomain(const std::wstring& url);

}  // namespace vorel
