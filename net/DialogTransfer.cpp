#include "net/DialogTransfer.h"

#include <commctrl.h>

namespace vorel {

LRESULT DialogTransfer::SendToDialog(UINT msg, WPARAM wParam, LPARAM lParam) const {
    HWND wnd = dialog.load();
    return wnd ? SendMessageW(wnd, msg, wParam, lParam) : 0;
}

void DialogTransfer::ForgetWindows() {
    dialog.store(nullptr);
    bar.store(nullptr);
}

void DialogProgressSink::OnProgress(unsigned percent) {
    if (percent == m_shown) return;
    m_shown = percent;
    if (HWND wnd = m_transfer.bar.load()) SendMessageW(wnd, PBM_SETPOS, percent, 0);
    if (m_percentMessage) m_transfer.SendToDialog(m_percentMessage, percent, 0);
}

namespace {
DWORD WINAPI RunBody(void* parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}
}  // namespace

HANDLE StartThread(std::function<void()> body) {
    auto* owned = new std::function<void()>(std::move(body));
    HANDLE thread = CreateThread(nullptr, 0, RunBody, owned, 0, nullptr);
    if (!thread) delete owned;
    return thread;
}

bool WaitForThreadHandlingSends(HANDLE thread, DWORD timeoutMs) {
    if (!thread) return true;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        const DWORD left = timeoutMs - elapsed;
        // MWMO_INPUTAVAILABLE: a send that arrived before this call wakes it too.
        const DWORD r =
            MsgWaitForMultipleObjectsEx(1, &thread, left, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;  // timed out or failed
        // Peeking handles the pending sends; posted messages stay for the message loop.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace vorel
