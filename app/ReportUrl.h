// The usage reports: which counter each one carries and the address it is sent to.
// Platform-free.
#pragma once
#include <cstdint>
#include <string>

namespace vorel {

enum class ReportKind { Install, Start, PartnerStart, Uninstall };

// "Inst", "Game", "Vorel", "UnInst".
const wchar_t* ReportCounterKey(ReportKind kind);

// "http://" + host + "/" + the kind's path and query, then "&count=" and the counter, held
// in 512 characters like the buffer the report thread copies it into.
std::wstring ReportUrl(const std::wstring& publisherHost, ReportKind kind, uint32_t count);

}  // namespace vorel
