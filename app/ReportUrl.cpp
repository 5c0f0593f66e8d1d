#include "app/ReportUrl.h"

#include "app/Protocol.h"
#include "app/TextNumber.h"

namespace vorel {

namespace {
constexpr size_t kReportUrlCapacity = 512;

const wchar_t* PathAndQuery(ReportKind kind) {
    switch (kind) {
        case ReportKind::Install:
            return L"install.htm?tag=tolvvorel&ver=" VOREL_VERSION_STRING;
        case ReportKind::Start:
            return L"active.htm?tag=tolvvorel&ver=" VOREL_VERSION_STRING;
        case ReportKind::PartnerStart:
            return L"active.htm?tag=weboldra&ver=" VOREL_VERSION_STRING;
        case ReportKind::Uninstall:
            return L"uninstall.htm?tag=tolvvorel&ver=" VOREL_VERSION_STRING;
    }
    return L"";
}
}  // namespace

const wchar_t* ReportCounterKey(ReportKind kind) {
    switch (kind) {
        case ReportKind::Install:
            return L"Inst";
        case ReportKind::Start:
            return L"Game";
        case ReportKind::PartnerStart:
            return L"Vorel";
        case ReportKind::Uninstall:
            return L"UnInst";
    }
    return L"";
}

std::wstring ReportUrl(const std::wstring& publisherHost, ReportKind kind, uint32_t count) {
    const std::wstring base = L"http://" + publisherHost + L"/" + PathAndQuery(kind);
    return TruncateToBuffer(base + L"&count=" + FormatUnsigned(count), kReportUrlCapacity);
}

}  // namespace vorel
