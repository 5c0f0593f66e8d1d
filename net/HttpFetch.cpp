#include "net/HttpFetch.h"

#include <commctrl.h>
#include <wininet.h>

#include <algorithm>
#include <vector>

#include "app/TextNumber.h"
#include "net/DownloadProgress.h"
#include "net/PublisherDomain.h"
#include "net/Url.h"

namespace vorel {

namespace {

const wchar_t kAgent[] = L"RKW";
// The blank before the first CR LF is part of what the publisher's servers have always seen.
const wchar_t kRequestHeaders[] =
    L"Accept-Language: zh-cn \r\nContent-Type: application/x-www-form-urlencoded\r\n";

// A server that takes a request and then says nothing would hold the caller for as long as
// the system's time-outs allow: the start before its main window, the main window while it
// fetches the notice, an install waiting for its report. The system's own time-outs apply,
// except where it has none (Wine's WinINet waits without limit for an answer): there this
// bound is set in their place.
constexpr DWORD kSilentServerLimitMs = 30000;

constexpr size_t kWriteGathering = 64 * 1024;

void BoundUnlimitedTimeouts(HINTERNET request) {
    const DWORD options[] = {INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT};
    for (DWORD option : options) {
        DWORD ms = 0;
        DWORD size = sizeof(ms);
        if (InternetQueryOptionW(request, option, &ms, &size) && ms != 0 && ms != 0xFFFFFFFF)
            continue;
        DWORD bound = kSilentServerLimitMs;
        InternetSetOptionW(request, option, &bound, sizeof(bound));
    }
}

// Opens, connects, opens the request and sends it, each handle held by `handles` from the
// moment it exists so that a cancel can close it. *error gets the code of a failed step.
bool OpenAndSend(const UrlParts& parts, TransferHandles& handles, DWORD* error) {
    *error = 0;
    if (!handles.Hold(TransferHandles::Internet,
                      InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0))) {
        *error = GetLastError();
        return false;
    }
    if (!handles.Hold(
            TransferHandles::Connection,
            InternetConnectW(handles.Get(TransferHandles::Internet), parts.host.c_str(), parts.port,
                             nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0))) {
        *error = GetLastError();
        return false;
    }
    if (!handles.Hold(
            TransferHandles::Request,
            HttpOpenRequestW(handles.Get(TransferHandles::Connection), L"GET", parts.object.c_str(),
                             L"HTTP/1.1", nullptr, nullptr, INTERNET_FLAG_RELOAD, 0))) {
        *error = GetLastError();
        return false;
    }
    BoundUnlimitedTimeouts(handles.Get(TransferHandles::Request));
    if (!HttpSendRequestW(handles.Get(TransferHandles::Request), kRequestHeaders,
                          static_cast<DWORD>(wcslen(kRequestHeaders)), nullptr, 0)) {
        *error = GetLastError();
        return false;
    }
    return true;
}

// Sends a GET for url and reads the answer's length: the request, or nullptr when the
// address is refused, the request fails, the server answers 404 or names no length.
HINTERNET SendForBody(const wchar_t* url, bool publisherDomainsOnly, TransferHandles& handles,
                      DWORD* contentLength) {
    const std::wstring address = url ? url : L"";
    if (publisherDomainsOnly && !NamesPublisherDomain(address)) return nullptr;
    UrlParts parts;
    if (SplitUrl(address, &parts) != UrlSplit::Ok) return nullptr;
    DWORD error = 0;
    if (!OpenAndSend(parts, handles, &error)) return nullptr;
    HINTERNET request = handles.Get(TransferHandles::Request);

    wchar_t status[16] = L"";
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE, status, &size, nullptr)) return nullptr;
    if (WideToInt(status) == 404) return nullptr;
    // A number query offers exactly a DWORD's room: some WinINet implementations refuse a
    // number query into any other size.
    size = sizeof(*contentLength);
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                        contentLength, &size, nullptr) ||
        size != sizeof(*contentLength))
        return nullptr;
    return request;
}

bool Download(const wchar_t* url, const wchar_t* file, DWORD chunkSize, bool publisherDomainsOnly,
              DownloadProgressSink* progress, TransferHandles& handles) {
    DWORD contentLength = 0;
    HINTERNET request = SendForBody(url, publisherDomainsOnly, handles, &contentLength);
    if (!request) return false;

    if (!handles.HoldFile(CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)))
        return false;

    // The chunks are read at their own size but written in large pieces: a write per
    // 512-byte chunk costs more than its read. What has arrived is written before any call
    // that may wait for the network, so that a stalled transfer has it in the file.
    const size_t readSize = chunkSize ? chunkSize : 1;
    std::vector<char> buffer(std::max<size_t>(kWriteGathering, readSize));
    size_t pending = 0;
    // A short write would still count the bytes and call a damaged file complete.
    auto flush = [&] {
        const bool ok = pending == 0 || handles.Write(buffer.data(), DWORD(pending));
        pending = 0;
        return ok;
    };
    DWORD arrived = 0;  // bytes WinINet holds already: reading them does not wait
    uint64_t total = 0;
    bool written = true;
    for (;;) {
        if ((arrived < readSize || buffer.size() - pending < readSize) && !flush()) {
            written = false;
            break;
        }
        if (arrived < readSize && !InternetQueryDataAvailable(request, &arrived, 0, 0)) {
            arrived = 0;
        }
        DWORD got = 0;
        if (!InternetReadFile(request, buffer.data() + pending, chunkSize, &got)) break;
        arrived = got < arrived ? arrived - got : 0;
        pending += got;
        total += got;
        if (progress) progress->OnProgress(DownloadPercent(total, contentLength));
        if (got == 0) break;
    }
    // What arrived before a failed read stays in the file, as the bytes of a short transfer.
    if (!flush()) written = false;
    handles.CloseFile();
    return written && total >= contentLength;
}

}  // namespace

void ProgressBarSink::OnProgress(unsigned percent) { SendMessageW(m_bar, PBM_SETPOS, percent, 0); }

bool HttpDownloadToFile(const wchar_t* url, const wchar_t* file, DWORD chunkSize,
                        bool publisherDomainsOnly, DownloadProgressSink* progress,
                        TransferHandles* holder) {
    TransferHandles own;
    TransferHandles& handles = holder ? *holder : own;
    const bool complete = Download(url, file, chunkSize, publisherDomainsOnly, progress, handles);
    handles.CloseAll();
    // A cancel that came after the last byte still ends the fetch as cancelled.
    return complete && !handles.Cancelled();
}

bool HttpReadToMemory(const wchar_t* url, DWORD limit, bool publisherDomainsOnly,
                      std::string* body) {
    TransferHandles handles;
    DWORD contentLength = 0;
    HINTERNET request = SendForBody(url, publisherDomainsOnly, handles, &contentLength);
    if (!request || contentLength >= limit) return false;

    std::string bytes(contentLength, '\0');
    DWORD got = 0;
    if (contentLength > 0 && !InternetReadFile(request, &bytes[0], contentLength, &got)) {
        return false;
    }
    if (got != contentLength) return false;
    *body = std::move(bytes);
    return true;
}

bool HttpPing(const wchar_t* url) {
    const std::wstring address = url ? url : L"";
    if (!HasHttpScheme(address)) {
        SetLastError(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
        return false;
    }
    UrlParts parts;
    if (SplitUrl(address, &parts) != UrlSplit::Ok) {
        SetLastError(ERROR_INTERNET_INVALID_URL);
        return false;
    }
    TransferHandles handles;
    DWORD error = 0;
    const bool sent = OpenAndSend(parts, handles, &error);
    handles.CloseAll();
    // Closing handles may overwrite the code the caller is to see.
    SetLastError(error);
    return sent;
}

}  // namespace vorel
