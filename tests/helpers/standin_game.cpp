// A stand-in for the game-window process: it speaks the game window's protocol with a main
// window exactly as the real "/newgm" and "/gmhall" processes do, but without a login page or
// a browser (pages do not load under Wine here), and it does what a test tells it.
//
//   standin_game.exe /newgm /<main window> /<tab>   an account's process, waits at its "login"
//   standin_game.exe /gmhall /<main window>          the hall window, announced at once
//   standin_game.exe                                 started as a new main window: logs, ends
//
// Commands arrive as WM_COPYDATA (dwData kCommand, UTF-16 text) at a hidden control window of
// class "VorelStandInControl" titled "standin <pid>":
//   login <caption>         sends the caption; accepted: the frame arrives; refused: the
//                           login is cancelled, as the real login does after its message
//   login-hidden <caption>  the same, but the frame stays hidden (its page never loads)
//   frame                   a frame arrives without any caption
//   cancel                  the login is cancelled (SC_CLOSE with lParam 7261)
//   show                    the page "loads": the frame fills the page area and shows itself
//   modal                   a dialog owned by the main window disables it, as the login,
//                           favourites and download dialogs do while they are up
//   hang <ms>               stops taking messages for that long, as a hung or starved game
//   quit                    ends the process
// Everything it does and receives is appended to standin-<pid>.log (UTF-8) in the folder named
// by VOREL_STANDIN_DIR, or beside the program.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>

#include "app/Protocol.h"

namespace {

constexpr ULONG_PTR kCommand = 0x5354;  // "ST"
using vorel::kMsgFrameArrived;
using vorel::kMsgMuteState;
using vorel::kMsgReloadHotkeys;
using vorel::kOwnMessageMark;
constexpr UINT kMsgDoCommand = WM_APP + 1;
constexpr UINT_PTR kParentTimer = 2;
constexpr UINT_PTR kShowTimer = 9;

HWND g_main = nullptr;
HWND g_control = nullptr;
HWND g_frame = nullptr;
int g_tab = 0;
bool g_hall = false;
std::wstring g_caption;
std::wstring g_pending;  // the command being carried out
std::wstring g_logPath;
int g_lastMute = -1;

void Log(const std::wstring& line) {
    const std::wstring text = line + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &utf8[0], bytes, nullptr,
                        nullptr);
    HANDLE file =
        CreateFileW(g_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, utf8.data(), DWORD(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring Number(long long value) { return std::to_wstring(value); }

// What the real view does when its first navigation completes.
void FitAndShow() {
    if (!g_frame) return;
    if (IsWindow(g_main)) {
        RECT client;
        GetClientRect(g_main, &client);
        MoveWindow(g_frame, client.left + 4, client.top + 30, client.right - client.left - 8,
                   client.bottom - client.top - 34, TRUE);
    }
    ShowWindow(g_frame, SW_SHOW);
    Log(L"shown");
}

LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kMsgMuteState:
            if (int(wParam) != g_lastMute) Log(L"mute " + Number(LONG_PTR(wParam)));
            g_lastMute = int(wParam);
            return 0;
        case kMsgReloadHotkeys:
            Log(L"hotkeys");
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Log(std::wstring(msg == WM_KEYDOWN ? L"keydown " : L"syskeydown ") +
                Number(LONG_PTR(wParam)) + L" " + Number(LONG_PTR(lParam)));
            return 0;
        case WM_CHAR:
            Log(L"char " + Number(LONG_PTR(wParam)) + L" " + Number(LONG_PTR(lParam)));
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                Log(L"close " + Number(LONG_PTR(lParam)));
                DestroyWindow(wnd);
                return 0;
            }
            break;
        case WM_TIMER:
            if (wParam == kParentTimer && !IsWindow(g_main)) {
                Log(L"parent-gone");
                PostQuitMessage(0);
            }
            if (wParam == kShowTimer) {
                KillTimer(wnd, kShowTimer);
                FitAndShow();
            }
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wnd, &ps);
            RECT r;
            GetClientRect(wnd, &r);
            static const COLORREF kColours[] = {RGB(36, 92, 64), RGB(96, 48, 112), RGB(120, 72, 24),
                                                RGB(40, 64, 128)};
            HBRUSH brush = CreateSolidBrush(g_hall ? RGB(24, 40, 72) : kColours[g_tab & 3]);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 255));
            const std::wstring text =
                g_hall ? L"游戏大厅" : L"游戏画面 " + (g_caption.empty() ? L"(无账号)" : g_caption);
            DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(wnd, &ps);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// The real frame: a borderless topmost tool window, announced and then re-parented.
void CreateFrame(bool showSoon) {
    g_frame = CreateWindowExW(WS_EX_TOOLWINDOW, L"VorelStandInFrame", L"Vorel - Tolv", WS_POPUP, 0,
                              0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!g_frame) return;
    SetWindowPos(g_frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (IsWindow(g_main)) {
        PostMessageW(g_main, kMsgFrameArrived, reinterpret_cast<WPARAM>(g_frame), g_hall ? 1 : 0);
        SetParent(g_frame, g_main);
    }
    SetTimer(g_frame, kParentTimer, 800, nullptr);
    Log(L"arrived " + Number(LONG_PTR(g_frame)));
    if (showSoon) SetTimer(g_frame, kShowTimer, 100, nullptr);
}

void CancelLogin() {
    PostMessageW(g_main, WM_SYSCOMMAND, SC_CLOSE, kOwnMessageMark);
    Log(L"cancel");
    PostQuitMessage(0);
}

void Login(const std::wstring& caption, bool showSoon) {
    COPYDATASTRUCT data = {};
    data.dwData = 0;
    data.cbData = DWORD((caption.size() + 1) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(caption.c_str());
    DWORD_PTR result = 0;
    SendMessageTimeoutW(g_main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000,
                        &result);
    Log(L"copydata " + Number(LONG_PTR(result)));
    if (!result) {
        CancelLogin();
        return;
    }
    g_caption = caption;
    CreateFrame(showSoon);
}

void DoCommand() {
    const std::wstring command = g_pending;
    const size_t space = command.find(L' ');
    const std::wstring word = command.substr(0, space);
    const std::wstring rest = space == std::wstring::npos ? L"" : command.substr(space + 1);
    Log(L"command " + command);
    if (word == L"login") {
        Login(rest, true);
    } else if (word == L"login-hidden") {
        Login(rest, false);
    } else if (word == L"frame") {
        CreateFrame(true);
    } else if (word == L"cancel") {
        CancelLogin();
    } else if (word == L"show") {
        FitAndShow();
    } else if (word == L"modal") {
        // What a modal dialog with a main window of another process as its owner does.
        HWND dialog =
            CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"standin modal", WS_POPUP | WS_VISIBLE, 0,
                            0, 40, 20, g_main, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (dialog) EnableWindow(g_main, FALSE);
        Log(dialog ? L"modal" : L"modal failed");
    } else if (word == L"hang") {
        Log(L"hang");
        Sleep(DWORD(_wtoi(rest.c_str())));
        Log(L"hang over");
    } else if (word == L"quit") {
        PostQuitMessage(0);
    }
}

LRESULT CALLBACK ControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!data || data->dwData != kCommand || !data->lpData) return FALSE;
        // Carried out from this process's own loop, so that the sender is not blocked
        // while this process talks to the main window.
        g_pending.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        while (!g_pending.empty() && g_pending.back() == L'\0') g_pending.pop_back();
        PostMessageW(wnd, kMsgDoCommand, 0, 0);
        return TRUE;
    }
    if (msg == kMsgDoCommand) {
        DoCommand();
        return 0;
    }
    if (msg == WM_TIMER && wParam == kParentTimer && !g_frame && !IsWindow(g_main)) {
        // Still at the "login": a process left behind by its main window ends too.
        Log(L"parent-gone");
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

long long ArgumentNumber(const wchar_t* argument) {
    // As the program itself reads it: the first character (the slash) is skipped.
    return argument && argument[0] ? _wtoi64(argument + 1) : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t dir[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(L"VOREL_STANDIN_DIR", dir, MAX_PATH)) {
        GetModuleFileNameW(nullptr, dir, MAX_PATH);
        if (wchar_t* slash = wcsrchr(dir, L'\\')) *slash = L'\0';
    }
    g_logPath = std::wstring(dir) + L"\\standin-" + Number(GetCurrentProcessId()) + L".log";

    std::wstring mode = argc > 1 ? argv[1] : L"";
    for (auto& c : mode) c = towlower(c);
    if (mode != L"/newgm" && mode != L"/gmhall") {
        Log(L"start main");
        return 0;
    }
    g_hall = mode == L"/gmhall";
    g_main =
        reinterpret_cast<HWND>(static_cast<INT_PTR>(ArgumentNumber(argc > 2 ? argv[2] : nullptr)));
    g_tab = int(ArgumentNumber(argc > 3 ? argv[3] : nullptr));
    Log(L"start " + std::wstring(g_hall ? L"gmhall " : L"newgm ") +
        Number(reinterpret_cast<INT_PTR>(g_main)) + L" " + Number(g_tab));

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW frameClass = {};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frameClass.lpszClassName = L"VorelStandInFrame";
    RegisterClassW(&frameClass);
    WNDCLASSW controlClass = {};
    controlClass.lpfnWndProc = ControlProc;
    controlClass.hInstance = instance;
    controlClass.lpszClassName = L"VorelStandInControl";
    RegisterClassW(&controlClass);
    const std::wstring title = L"standin " + Number(GetCurrentProcessId());
    g_control = CreateWindowExW(WS_EX_TOOLWINDOW, L"VorelStandInControl", title.c_str(), WS_POPUP,
                                0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

    SetTimer(g_control, kParentTimer, 800, nullptr);
    if (g_hall) CreateFrame(true);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Log(L"exit");
    return 0;
}
