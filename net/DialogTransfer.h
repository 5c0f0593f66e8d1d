// What the two download dialogs share with their worker threads, and the threads themselves.
//
// A cancel closes the transfer's handles from the user-interface thread and waits a bounded
// time for the worker to end by itself: a thread terminated inside WinINet or the heap could
// leave a lock held for the rest of the process. A worker may therefore outlive its dialog;
// it holds the transfer by shared ownership and reaches the windows only through handles
// that the dialog clears when its window goes.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "net/HttpFetch.h"
#include "net/TransferHandles.h"

namespace vorel {

struct DialogTransfer {
    TransferHandles handles;
    std::atomic<HWND> dialog{nullptr};
    std::atomic<HWND> bar{nullptr};
    std::atomic<bool> succeeded{false};

    // A synchronous call on the dialog while its window lives; 0 once it is gone.
    LRESULT SendToDialog(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // The dialog's window is going: no worker may reach it or its bar from now on.
    void ForgetWindows();
};

// PBM_SETPOS with the percentage to the transfer's bar, and when percentMessage is not 0 the
// same percentage to the dialog as wParam of that message. Both are synchronous sends, made
// only when the whole percentage changes: a chunk of 512 bytes moves it rarely, the bar shows
// the same either way, and every send to the window thread waits for it (about 5 ms each
// under Wine, which held a download with a send per chunk near 100 KB/s).
class DialogProgressSink : public DownloadProgressSink {
public:
    explicit DialogProgressSink(const DialogTransfer& transfer, UINT percentMessage = 0)
        : m_transfer(transfer), m_percentMessage(percentMessage) {}
    void OnProgress(unsigned percent) override;

private:
    const DialogTransfer& m_transfer;
    UINT m_percentMessage;
    unsigned m_shown = ~0u;
};

// Runs body on a thread of its own (the system's thread call); the thread's handle, or null
// when it could not be started (body is then dropped unrun).
HANDLE StartThread(std::function<void()> body);

// Waits until the thread has ended, at most timeoutMs, handling the messages that other
// threads send to this one meanwhile: the worker's progress and its calls on the dialog are
// synchronous sends, so a wait that did not handle them would stop both threads. True when
// the thread ended (a null handle has).
bool WaitForThreadHandlingSends(HANDLE thread, DWORD timeoutMs);

}  // namespace vorel
