#include "mainwnd/ForeignWindows.h"

#include "fw/Raii.h"

namespace vorel {

void ShowAsync(HWND wnd, int command) {
    if (wnd) ::ShowWindowAsync(wnd, command);
}

void PlaceAsync(HWND wnd, const BlitBox& box) {
    if (!wnd || !NotHung(wnd)) return;
    ::SetWindowPos(wnd, nullptr, box.x, box.y, box.width, box.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_ASYNCWINDOWPOS);
}

bool NotHung(HWND wnd) { return wnd && !::IsHungAppWindow(wnd); }

bool Answers(HWND wnd, DWORD timeoutMs) {
    if (!NotHung(wnd)) return false;
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

bool ForegroundAnswers() {
    HWND foreground = ::GetForegroundWindow();
    if (!foreground || ::GetWindowThreadProcessId(foreground, nullptr) == ::GetCurrentThreadId()) {
        return true;
    }
    return Answers(foreground, kForegroundAnswerMs);
}

void EndProcessOf(HWND wnd) {
    DWORD id = 0;
    if (!::GetWindowThreadProcessId(wnd, &id) || id == ::GetCurrentProcessId()) return;
    fw::ScopedHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process || !::TerminateProcess(process.get(), 0)) return;
    // Its windows are gone once it has ended.
    ::WaitForSingleObject(process.get(), kProcessEndMs);
}

}  // namespace vorel
