#include "support/KeyInput.h"

#include <vector>

namespace testsupport {

namespace {

INPUT KeyEvent(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    // F10 and the like are no extended keys; the arrows and their block would be, but no
    // test presses them.
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

struct PressJob {
    std::vector<WORD> modifiers;
    WORD key = 0;
    bool result = false;
};

bool Press(const std::vector<WORD>& modifiers, WORD key) {
    std::vector<INPUT> events;
    for (WORD m : modifiers) events.push_back(KeyEvent(m, false));
    events.push_back(KeyEvent(key, false));
    events.push_back(KeyEvent(key, true));
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
        events.push_back(KeyEvent(*m, true));
    const UINT sent = SendInput(UINT(events.size()), events.data(), sizeof(INPUT));
    return sent == events.size();
}

DWORD WINAPI PressThread(LPVOID param) {
    auto* job = static_cast<PressJob*>(param);
    job->result = Press(job->modifiers, job->key);
    return 0;
}

LRESULT CALLBACK SinkProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
            break;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

HWND FocusKeySink() {
    static HWND sink = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &SinkProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VorelTestKeySink";
        RegisterClassW(&wc);
        return CreateWindowExW(WS_EX_TOOLWINDOW, L"VorelTestKeySink", L"key sink",
                               WS_POPUP | WS_VISIBLE, 0, 0, 8, 8, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }();
    if (!sink) return nullptr;
    ShowWindow(sink, SW_SHOW);
    SetForegroundWindow(sink);
    SetFocus(sink);
    return sink;
}

bool PressKeys(std::initializer_list<WORD> modifiers, WORD key) {
    return Press(std::vector<WORD>(modifiers), key);
}

bool PressKeysWhilePumping(std::initializer_list<WORD> modifiers, WORD key,
                           const std::function<void()>& idle) {
    PressJob job{std::vector<WORD>(modifiers), key, false};
    HANDLE thread = CreateThread(nullptr, 0, &PressThread, &job, 0, nullptr);
    if (!thread) return false;
    // SendInput returns once the events are queued; the hooks run while this thread pumps.
    while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) idle();
    CloseHandle(thread);
    return job.result;
}

}  // namespace testsupport
