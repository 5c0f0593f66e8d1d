// Every HTTP request of the program: one GET through WinINet, either stored into a file or
// sent and forgotten. Both run synchronously on the calling thread and show nothing.
#pragma once
#include <windows.h>

#include <string>

#include "net/TransferHandles.h"

namespace vorel {

// Told the whole percentage after every chunk, on the fetching thread.
class DownloadProgressSink {
public:
    virtual void OnProgress(unsigned percent) = 0;

protected:
    ~DownloadProgressSink() = default;
};

// Sends PBM_SETPOS (percent, 0) to a progress bar. The send is synchronous: a window thread
// that waits for the fetching thread must keep handling sent messages while it waits
// (MsgWaitForMultipleObjects with QS_SENDMESSAGE), or both stop.
class ProgressBarSink : public DownloadProgressSink {
public:
    explicit ProgressBarSink(HWND bar) : m_bar(bar) {}
    void OnProgress(unsigned percent) override;

private:
    HWND m_bar;
};

// Fetches url into file. True only when at least the announced Content-Length arrived and
// was written. Fails before any network call when the domain rule is on and the address
// names no publisher domain, or when the address does not fit its buffers; fails on status
// 404 (any other status is stored as the resource), without a Content-Length, when the
// file cannot be opened or written, and after a cancel. A short transfer leaves its partial
// file. holder (may be null) keeps the handles while the fetch runs and is empty after it.
bool HttpDownloadToFile(const wchar_t* url, const wchar_t* file, DWORD chunkSize,
                        bool publisherDomainsOnly, DownloadProgressSink* progress,
                        TransferHandles* holder);

// Reads a short resource into memory with the same request: the status must not be 404, the
// Content-Length must be present and below `limit`, and the body is read with one read of
// that length. A body shorter than announced (a cut transfer) fails too: what arrived is not
// the resource. Same domain rule and address limits as HttpDownloadToFile.
bool HttpReadToMemory(const wchar_t* url, DWORD limit, bool publisherDomainsOnly,
                      std::string* body);

// Sends one GET to an "http://" address (any letter case) and does not read the answer.
// True when the request was sent and answered; after a failure the thread's last error is
// the system error code of the failing call.
bool HttpPing(const wchar_t* url);

}  // namespace vorel
