// Usage reports: one GET to the statistics server on a short-lived worker thread.
#pragma once
#include <windows.h>

#include "app/ReportUrl.h"

namespace vorel {

// Starts the report thread for url, waits until it has copied the address, resets the
// copied event and returns; the thread signals doneEvent when its request has finished.
// When no thread can be started (or there is no copied event to hand the address over
// with), nothing is sent and doneEvent is signalled here, so that a caller waiting for it
// does not wait for ever. True when a report thread runs.
bool SendReport(const wchar_t* url, HANDLE copiedEvent, HANDLE doneEvent);

// Counts the kind's counter up and reports the new value to this build's statistics server.
bool CountAndReport(ReportKind kind, HANDLE copiedEvent, HANDLE doneEvent);

}  // namespace vorel
