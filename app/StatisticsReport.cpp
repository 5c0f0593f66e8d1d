#include "app/StatisticsReport.h"

#include "DeployConfig.h"
#include "app/SettingsStore.h"
#include "fw/Raii.h"
#include "fw/Strings.h"
#include "net/HttpFetch.h"

namespace vorel {

namespace {

constexpr size_t kUrlCapacity = 512;

// Lives on the caller's stack until the thread has signalled `copied`.
struct ReportRecord {
    const wchar_t* url;
    HANDLE copied;
    HANDLE done;
};

DWORD WINAPI ReportThread(void* parameter) {
    const ReportRecord* record = static_cast<const ReportRecord*>(parameter);
    wchar_t url[kUrlCapacity];
    fw::CopyBounded(url, record->url);
    const HANDLE done = record->done;
    SetEvent(record->copied);
    // From here on the record may be gone.
    HttpPing(url);
    SetEvent(done);
    return 0;
}

}  // namespace

bool SendReport(const wchar_t* url, HANDLE copiedEvent, HANDLE doneEvent) {
    if (!copiedEvent) {
        // Without the event the caller could not know when its buffer is free.
        if (doneEvent) SetEvent(doneEvent);
        return false;
    }
    ReportRecord record = {url, copiedEvent, doneEvent};
    fw::ScopedHandle thread(CreateThread(nullptr, 0, ReportThread, &record, 0, nullptr));
    if (!thread) {
        if (doneEvent) SetEvent(doneEvent);
        return false;
    }
    WaitForSingleObject(copiedEvent, INFINITE);
    ResetEvent(copiedEvent);
    // The thread is not joined: closing our handle leaves it running.
    return true;
}

bool CountAndReport(ReportKind kind, HANDLE copiedEvent, HANDLE doneEvent) {
    const unsigned count = IncrementCounter(ReportCounterKey(kind));
    const std::wstring url = ReportUrl(VOREL_PUBLISHER_HOST, kind, count);
    return SendReport(url.c_str(), copiedEvent, doneEvent);
}

}  // namespace vorel
