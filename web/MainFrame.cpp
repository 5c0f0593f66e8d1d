#include "web/MainFrame.h"

#include "hotkey/HotkeySettings.h"
#include "sound/GameSound.h"
#include "web/FavDlg.h"
#include "web/GameWindow.h"
#include "web/GmWndView.h"
#include "web/WebAddresses.h"

namespace vorel {

namespace {

int ModifiersDown() {
    int mods = 0;
    if (::GetKeyState(VK_CONTROL) & 0x8000) mods |= kModCtrl;
    if (::GetKeyState(VK_SHIFT) & 0x8000) mods |= kModShift;
    if (::GetKeyState(VK_MENU) & 0x8000) mods |= kModAlt;
    return mods;
}

}  // namespace

bool DestroyLeftoverPageBox() {
    static const wchar_t* const kTitles[] = {L"来自网页的消息", L"Windows Internet Explorer",
                                             L"Microsoft Internet Explorer"};
    for (const wchar_t* title : kTitles) {
        if (HWND box = ::FindWindowW(L"#32770", title)) {
            ::DestroyWindow(box);
            return true;
        }
    }
    return false;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!fw::FrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.cx = 10;
    cs.cy = 10;
    return TRUE;
}

void CMainFrame::ReadHotkeys() {
    m_bossKey = ReadBossKeySetting();
    m_switchKey = ReadSwitchKeySetting();
    m_soundKey = ReadSoundKeySetting();
}

int CMainFrame::OnCreate(CREATESTRUCTW* cs) {
    ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    if (fw::FrameWnd::OnCreate(cs) == -1) return -1;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const GameWindowState& state = TheGameWindow();
    if (state.parentMainWindow && ::IsWindow(state.parentMainWindow)) {
        // The handle travels whole in wParam; the main window keeps it as the tab's frame.
        ::PostMessageW(
            state.parentMainWindow, kMsgFrameArrived, reinterpret_cast<WPARAM>(m_hWnd),
            static_cast<LPARAM>(FrameAnnouncementKind(state.gameAddress, kGameHallPageUrl)));
        ::SetParent(m_hWnd, state.parentMainWindow);
    }
    ReadHotkeys();
    SetTimer(kTimerParentWatch, 800);
    return 0;
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg) {
    GameWindowState& state = TheGameWindow();
    FrameKeyInput in;
    in.message = msg->message;
    in.wParam = msg->wParam;
    in.lParam = msg->lParam;
    in.bossKey = m_bossKey;
    in.switchKey = m_switchKey;
    in.soundKey = m_soundKey;
    in.viewExists = state.view != nullptr;
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)
        in.modifiersDown = ModifiersDown();
    switch (DecideFrameKey(in)) {
        case FrameKeyAction::ForwardToParent:
            ::PostMessageW(state.parentMainWindow, msg->message, msg->wParam, msg->lParam);
            return TRUE;
        case FrameKeyAction::OpenFavorites:
            ShowFavorites();
            return TRUE;
        case FrameKeyAction::Swallow:
            return TRUE;
        case FrameKeyAction::Reload:
            state.view->Refresh();
            return TRUE;
        case FrameKeyAction::CloseSeen:
            SetTimer(kTimerPageBoxes, 130);
            break;
        case FrameKeyAction::PassOn:
            break;
    }
    return fw::FrameWnd::PreTranslateMessage(msg);
}

void CMainFrame::ShowFavorites() {
    const GameWindowState& state = TheGameWindow();
    CFavDlg dialog(state.pageTitle, state.pageAddress, state.parentMainWindow);
    dialog.DoModal();
}

void CMainFrame::ApplyMute(bool muted) { SetGameSoundMuted(muted); }

void CMainFrame::OnTimer(UINT_PTR id) {
    switch (id) {
        case kTimerParentWatch:
            if (!::IsWindow(TheGameWindow().parentMainWindow)) ::PostQuitMessage(0);
            break;
        case kTimerPageBoxes:
            KillTimer(kTimerPageBoxes);
            DestroyLeftoverPageBox();
            break;
        case kTimerRaiseParent: {
            KillTimer(kTimerRaiseParent);
            HWND parent = TheGameWindow().parentMainWindow;
            if (!parent) break;
            // Raising a window of another process needs its input attached to the
            // foreground's; undone in the same step.
            HWND foreground = ::GetForegroundWindow();
            const DWORD parentThread = ::GetWindowThreadProcessId(parent, nullptr);
            const DWORD foregroundThread =
                foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
            const bool attached = foregroundThread && parentThread != foregroundThread &&
                                  ::AttachThreadInput(parentThread, foregroundThread, TRUE);
            const UINT flags = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
            ::SetWindowPos(parent, HWND_TOPMOST, 0, 0, 0, 0, flags);
            ::SetWindowPos(parent, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
            if (attached) ::AttachThreadInput(parentThread, foregroundThread, FALSE);
            break;
        }
    }
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER: {
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            OnTimer(wParam);
            return result;
        }
        case kMsgMuteState: {
            const bool muted = wParam != 0;
            if (m_mute.Request(muted)) ApplyMute(muted);
            return 0;
        }
        case kMsgReloadHotkeys:
            ReadHotkeys();
            return 0;
        case WM_MOUSEACTIVATE:
            SetTimer(kTimerRaiseParent, 10);
            break;
    }
    return fw::FrameWnd::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
