#include "mainwnd/Ambrel3Dlg.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "app/SettingsStore.h"
#include "hotkey/HotkeySettings.h"
#include "mainwnd/ForeignWindows.h"
#include "mainwnd/HookDecision.h"
#include "mainwnd/KeyboardHook.h"
#include "mainwnd/MainWindowPosts.h"
#include "mainwnd/MainWindowRules.h"
#include "res/resource.h"
#include "ui/MessageBoxDlg.h"
#include "ui/MessageBoxLayout.h"

namespace vorel {

namespace {
CAmbrel3Dlg* g_mainWindow = nullptr;

const wchar_t kExitQuestion[] = L"窗口即将关闭，确定要退出游戏？";
constexpr int kTooltipDelayMs = 500;
constexpr int kStaleFrameSize = 4;  // the corner that old window frames leave on XP
// The account link's character height in pixels: the dialog font's at 96 DPI.
constexpr int kCaptionLinkFontHeight = -11;
}  // namespace

CAmbrel3Dlg* MainWindow() { return g_mainWindow; }

CAmbrel3Dlg::CAmbrel3Dlg(HWND parent) : CDlgEx(IDD_MAINWND, parent) {
    m_icon = ::LoadIconW(SkinInstance(), MAKEINTRESOURCEW(IDI_APP));
    m_programPath = RunningExePath();
    m_updateSetup = DefaultUpdateCheckSetup();
    g_mainWindow = this;
}

CAmbrel3Dlg::~CAmbrel3Dlg() {
    ReleaseWindow();  // before the tabs, buttons and tooltip that its procedure reads go
    if (m_tooltip && ::IsWindow(m_tooltip)) ::DestroyWindow(m_tooltip);
    if (g_mainWindow == this) g_mainWindow = nullptr;
}

HWND CAmbrel3Dlg::TabWindow(int i) const {
    if (i < 0 || i >= m_tabs.Count()) return nullptr;
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(m_tabs.At(i).window));
}

void CAmbrel3Dlg::DoDataExchange() {
    AttachControl(IDC_HIDE_ALL, m_hideButton);
    AttachControl(IDC_SYSTEM_MENU, m_systemButton);
    AttachControl(IDC_SOUND, m_soundButton);
    AttachControl(IDC_ACCOUNT_LINK, m_accountLink);
}

BOOL CAmbrel3Dlg::OnInitDialog() {
    CDlgEx::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    InstallKeyboardHook(this);
    m_osVersion.dwOSVersionInfoSize = sizeof(m_osVersion);
    ::GetVersionExW(&m_osVersion);
    LayOutAndSkin();
    ListenForTaskbarRestart();
    StartGameProcess();
    ReloadHotkeys();
    SetTimer(kNoticeTimerId, kNoticeTimerMs);
    return TRUE;
}

void CAmbrel3Dlg::LayOutAndSkin() {
    ModifyStyle(0, WS_CLIPCHILDREN);
    SetCaptionText(kProductTitle);
    UseStandardFrame();

    const HINSTANCE skins = SkinInstance();
    // The minimize and close strips are only copied; background, maximize and restore
    // images belong to the dialog from SetSkin on.
    fw::ScopedBitmap minimize(LoadSkinBitmap(skins, IDP_BUTTON_MINIMIZE));
    fw::ScopedBitmap close(LoadSkinBitmap(skins, IDP_BUTTON_CLOSE));
    SkinSpec look;
    look.background = LoadSkinBitmap(skins, IDP_MAIN_BACKGROUND);
    look.fitWindowToImage = FALSE;
    look.stretchBackground = TRUE;
    look.minimizeImage = minimize.get();
    look.maximizeImage = LoadSkinBitmap(skins, IDP_BUTTON_MAXIMIZE);
    look.restoreImage = LoadSkinBitmap(skins, IDP_BUTTON_RESTORE);
    SetSkin(look, close.get());
    m_resizable = TRUE;

    // Practically invisible until the first game frame arrives and maximizes the window.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);

    fw::ScopedBitmap hide(LoadSkinBitmap(skins, IDP_BUTTON_CAPTION));
    fw::ScopedBitmap sound(LoadSkinBitmap(skins, IDP_BUTTON_SOUND_ON));
    fw::ScopedBitmap system(LoadSkinBitmap(skins, IDP_BUTTON_SYSTEM));
    fw::ScopedBitmap link(LoadSkinBitmap(skins, IDP_LINK_ICON));
    m_hideButton.SetStripImage(hide.get(), TRUE);
    m_soundButton.SetStripImage(sound.get(), TRUE);
    m_systemButton.SetStripImage(system.get(), TRUE);
    m_accountLink.SetImage(link.get());
    m_accountLink.m_textColour = RGB(255, 255, 255);
    // Its place in the caption band is pixels of the skin, at every DPI: so is its text.
    m_accountLink.m_fontHeight = kCaptionLinkFontHeight;
    m_accountLink.ModifyStyle(0, SS_NOTIFY);

    fw::ScopedBitmap tabs(LoadSkinBitmap(skins, IDP_TABS));
    fw::ScopedBitmap closeIcons(LoadSkinBitmap(skins, IDP_TAB_CLOSE));
    m_tabImages.Create(tabs.get(), 3);
    m_closeImages.Create(closeIcons.get(), 3);

    m_tooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  m_hWnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (m_tooltip) {
        TOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
        tool.lpszText = LPSTR_TEXTCALLBACKW;  // a tab's caption, set when it is hovered
        ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, kTooltipDelayMs);
        // Active only over a tab (the hover logic switches it).
        ::SendMessageW(m_tooltip, TTM_ACTIVATE, FALSE, 0);
    }
}

void CAmbrel3Dlg::FitPage(int cx, int cy) {
    const BlitBox page = PageBox(cx, cy);
    if (m_hallWindow && ::IsWindowVisible(m_hallWindow)) {
        PlaceAsync(m_hallWindow, page);
    } else if (!m_tabs.Empty()) {
        PlaceAsync(TabWindow(m_tabs.Current()), page);
    }
}

void CAmbrel3Dlg::OnWindowPosChanging(WINDOWPOS* pos) {
    // The iconic placement is the system's business.
    if ((pos->flags & SWP_NOSIZE) || ::IsIconic(m_hWnd)) return;
    int width = pos->cx, height = pos->cy;
    if (RaiseToMinimumSize(m_tabs.Count(), width, height)) {
        pos->cx = width;
        pos->cy = height;
    }
}

void CAmbrel3Dlg::SetSoundImage(bool muted) {
    fw::ScopedBitmap strip(LoadSkinBitmap(SkinInstance(), UINT(SoundButtonImage(muted))));
    m_soundButton.SetStripImage(strip.get(), FALSE);
    m_soundButton.Invalidate(TRUE);
}

void CAmbrel3Dlg::OnMuteTimer() {
    // A post fails only to a window that is gone: a dead tab is dropped then, without
    // asking after every tab's window on each tick. The hall gets no posts; it is asked
    // after while there is one.
    // Costs one IsWindowEnabled while nothing holds the window.
    EnableUnlessADialogHoldsIt();
    const WPARAM state = m_muted ? 1 : 0;
    bool lost = m_hallWindow && !::IsWindow(m_hallWindow);
    for (int i = 0; i < m_tabs.Count(); ++i) {
        if (!::PostMessageW(TabWindow(i), kMsgMuteState, state, 0)) lost = true;
    }
    if (lost) DropLostTabs();
    const bool muted = m_muted != FALSE;
    if (muted != m_soundShownMuted) {
        m_soundShownMuted = muted;
        SetSoundImage(muted);
    }
}

void CAmbrel3Dlg::OnOK() {}

void CAmbrel3Dlg::OnCancel() {
    if (ShowMessageBox(kMessageYesNo, kProductTitle, kExitQuestion, m_hWnd) == IDYES) ExitAll();
}

void CAmbrel3Dlg::ExitAll() {
    if (m_pendingProcess) ::TerminateProcess(m_pendingProcess.get(), 0);
    m_pendingProcess.reset();
    m_pendingProcessId = 0;
    RemoveKeyboardHook();
    // Taken first: waiting for a frame's answer lets sent messages in, which may change the
    // tabs.
    std::vector<HWND> tabs, answering;
    for (int i = 0; i < m_tabs.Count(); ++i) tabs.push_back(TabWindow(i));
    for (HWND tab : tabs) {
        if (Answers(tab, kFrameAnswerMs)) {
            answering.push_back(tab);
        } else if (::IsWindow(tab)) {
            // A hung game would never take its close request, and as a child of this window
            // it would hold this window's end, and (under Wine) every re-parenting of the
            // other frames: it goes first.
            EndProcessOf(tab);
        }
    }
    for (HWND tab : answering) {
        ::SetParent(tab, nullptr);
        ShowAsync(tab, SW_HIDE);
        ::PostMessageW(tab, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    RemoveTrayIcon();
    ::PostQuitMessage(0);
}

void CAmbrel3Dlg::OnHotkeyAction(WPARAM action) {
    switch (static_cast<HookAction>(action)) {
        case HookAction::ToggleHideAll:
            ToggleHideAll();
            break;
        case HookAction::ToggleMute:
            // The button and the game windows follow at the next tick of the mute timer.
            m_muted = !m_muted;
            break;
        case HookAction::None:
            break;
    }
}

void CAmbrel3Dlg::ReloadHotkeys() {
    m_bossKey = ReadBossKeySetting();
    m_switchKey = ReadSwitchKeySetting();
    for (int i = 0; i < m_tabs.Count(); ++i) ::PostMessageW(TabWindow(i), kMsgReloadHotkeys, 0, 0);
    if (m_hallWindow) ::PostMessageW(m_hallWindow, kMsgReloadHotkeys, 0, 0);
    m_soundKey = ReadSoundKeySetting();
}

BOOL CAmbrel3Dlg::AddTrayIcon() {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayNotify;
    data.hIcon = m_icon;
    ::lstrcpynW(data.szTip, kProductTitle, ARRAYSIZE(data.szTip));
    const BOOL added = ::Shell_NotifyIconW(NIM_ADD, &data);
    if (added) m_trayIconAdded = true;
    return added;
}

BOOL CAmbrel3Dlg::RemoveTrayIcon() {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = 1;
    const BOOL removed = ::Shell_NotifyIconW(NIM_DELETE, &data);
    m_trayIconAdded = false;
    return removed;
}

void CAmbrel3Dlg::OnPaint() {
    if (!::IsIconic(m_hWnd)) {
        // The skin and the strip are painted on WM_ERASEBKGND.
        DefWindowProc(WM_PAINT, 0, 0);
        return;
    }
    fw::ScopedPaint paint(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    if (m_icon) ::DrawIcon(paint.get(), x, y, m_icon);
}

BOOL CAmbrel3Dlg::PreTranslateMessage(MSG* msg) {
    FilterInput in;
    in.message = msg->message;
    in.wParam = msg->wParam;
    in.lParam = msg->lParam;
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
        in.modifiers = CurrentModifierBits();
    }
    in.switchKey = m_switchKey;
    in.tabCount = m_tabs.Count();
    switch (ClassifyMainWindowMessage(in)) {
        case FilterRule::SwitchTab:
            SwitchToNextTab();
            return TRUE;
        case FilterRule::Swallow:
            return TRUE;
        case FilterRule::CloseRequest:
            if (OnCloseRequest(msg->lParam)) return TRUE;
            break;
        case FilterRule::ForwardToPage:
            ForwardToPage(*msg);
            return TRUE;
        case FilterRule::Restore:
            ShowWindow(SW_RESTORE);
            break;
        case FilterRule::PassOn:
            break;
    }
    // The tooltip follows the mouse alone; the timer's ticks need not reach it.
    if (m_tooltip && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
        ::SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    }
    return CDlgEx::PreTranslateMessage(msg);
}

POINT CAmbrel3Dlg::ScreenToClientPoint(HWND wnd, LPARAM screenPoint) {
    POINT p = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ::ScreenToClient(wnd, &p);
    return p;
}

LRESULT CAmbrel3Dlg::OnInitDialogMessage(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CDlgEx::WindowProc(WM_INITDIALOG, wParam, lParam);
    // The framework centres a dialog that did not move during its initialisation; ours stays
    // a 1 x 1 pixel window in the screen's corner.
    if (m_hWnd && !m_opened) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return result;
}

LRESULT CAmbrel3Dlg::OnSizeMessage(WPARAM wParam, LPARAM lParam) {
    const int cx = LOWORD(lParam), cy = HIWORD(lParam);
    if (wParam != SIZE_MINIMIZED) FitPage(cx, cy);
    const LRESULT result = CDlgEx::WindowProc(WM_SIZE, wParam, lParam);
    if (wParam == SIZE_MINIMIZED) return result;
    if (cx != m_lastWidth && m_hideButton.m_hWnd) PlaceCaptionControls(cx);
    if (m_osVersion.dwMajorVersion < 6 && cx < m_lastWidth) RepaintStaleFrameCorner();
    m_lastWidth = cx;
    return result;
}

void CAmbrel3Dlg::PlaceCaptionControls(int cx) {
    const CaptionControls c = LayoutCaptionControls(cx);
    auto place = [](fw::Wnd& control, const BlitBox& b) {
        control.MoveWindow(b.x, b.y, b.width, b.height, TRUE);
        control.Invalidate(TRUE);
    };
    place(m_hideButton, c.hide);
    place(m_soundButton, c.sound);
    place(m_systemButton, c.system);
    place(m_accountLink, c.link);
    m_hideButton.RememberWindowRect();
    m_soundButton.RememberWindowRect();
    m_systemButton.RememberWindowRect();
    RepaintCaptionButtons();
}

// XP leaves the old frame's corner on the desktop when the window narrows.
void CAmbrel3Dlg::RepaintStaleFrameCorner() {
    RECT window;
    GetWindowRect(&window);
    RECT corner = {window.right - kStaleFrameSize, window.top, window.right,
                   window.top + kStaleFrameSize};
    ::RedrawWindow(::GetDesktopWindow(), &corner, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CALLBACK CAmbrel3Dlg::MuteTimerProc(HWND wnd, UINT, UINT_PTR, DWORD) {
    CAmbrel3Dlg* main = MainWindow();
    if (!main || main->m_hWnd != wnd) main = dynamic_cast<CAmbrel3Dlg*>(FromHandlePermanent(wnd));
    if (main) main->OnMuteTimer();
}

bool CAmbrel3Dlg::OnTimerMessage(WPARAM id) {
    if (id == kNoticeTimerId) {
        KillTimer(kNoticeTimerId);
        // Fetched on a worker; the popup comes with kMsgNoticeFetched.
        if (!m_popInfo.m_hWnd) m_popInfo.StartFetch(m_hWnd, kMsgNoticeFetched);
        return true;
    }
    return false;
}

bool CAmbrel3Dlg::OnCommandMessage(WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDC_HIDE_ALL:
            ToggleHideAll();
            return true;
        case IDC_SYSTEM_MENU:
            ShowSystemMenu();
            return true;
        case IDC_SOUND:
            m_muted = !m_muted;  // the button's image follows at the next tick
            return true;
        case IDC_ACCOUNT_LINK:
            if (HIWORD(wParam) == STN_CLICKED) ShowNewTabChoice();
            return true;
    }
    return false;
}

// The program's own messages: from its other processes, from the hook and from workers.
bool CAmbrel3Dlg::OnProgramMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kMsgFrameArrived:
            OnFrameArrived(reinterpret_cast<HWND>(wParam), lParam);
            return true;
        case kMsgTrayNotify:
            OnTrayNotify(lParam);
            return true;
        case kMsgShowTrayMenu:
            ShowTrayMenu();
            return true;
        case kMsgHotkeysChanged:
            ReloadHotkeys();
            return true;
        case kMsgNewTabChoice:
            OnNewTabChoice(wParam);
            return true;
        case kMsgHotkeyAction:
            OnHotkeyAction(wParam);
            return true;
        case kMsgUpdateChecked:
            OnUpdateChecked(wParam != 0);
            return true;
        case kMsgNoticeFetched:
            // Owned by this window: its re-showings are seen only while this is visible.
            if (!m_popInfo.m_hWnd) m_popInfo.CreateAndShow(m_hWnd);
            return true;
    }
    return false;
}

// The strip answers the same in the client area and in the caption band, which the hit test
// reports as caption: a non-client message is handled as its client twin, at the same point.
bool CAmbrel3Dlg::OnStripMouse(UINT msg, LPARAM lParam) {
    UINT kind = msg;
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONUP:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCMBUTTONUP:
            kind = msg - WM_NCLBUTTONDOWN + WM_LBUTTONDOWN;
            p = ScreenToClientPoint(m_hWnd, lParam);
            break;
    }
    static_assert(WM_NCMBUTTONUP - WM_NCLBUTTONDOWN == WM_MBUTTONUP - WM_LBUTTONDOWN &&
                      WM_NCLBUTTONDBLCLK - WM_NCLBUTTONDOWN == WM_LBUTTONDBLCLK - WM_LBUTTONDOWN,
                  "the non-client mouse messages keep the client ones' order");
    const bool onTab = TabAtPoint(p.x, p.y, m_tabs.Count()) >= 0;
    switch (kind) {
        case WM_LBUTTONDOWN:
            if (!onTab) return false;
            OnStripPress(p);
            return true;  // not a drag
        case WM_LBUTTONUP:
            OnStripRelease(p);
            return false;
        case WM_LBUTTONDBLCLK:
            return onTab;  // no maximize from a tab
        case WM_MBUTTONUP:
            OnStripMiddleRelease(p);
            return false;
    }
    return false;
}

LRESULT CAmbrel3Dlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (OnTaskbarRestart(msg)) return 0;
    if (OnProgramMessage(msg, wParam, lParam)) return 0;
    switch (msg) {
        case WM_INITDIALOG:
            return OnInitDialogMessage(wParam, lParam);
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(m_icon);
        case WM_ERASEBKGND:
            if (PaintWindow(reinterpret_cast<HDC>(wParam))) return TRUE;
            break;
        case WM_SIZE:
            return OnSizeMessage(wParam, lParam);
        case WM_WINDOWPOSCHANGING:
            OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
            break;
        case WM_TIMER:
            if (OnTimerMessage(wParam)) return 0;
            break;
        case WM_COPYDATA:
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_COMMAND:
            if (OnCommandMessage(wParam)) return 0;
            break;
        case WM_SYSCOMMAND:
            // Posted close requests meet the key filter first; this catches the sent ones
            // (the system menu, Alt+F4) with the same answer.
            if ((wParam & 0xFFF0) == SC_CLOSE && OnCloseRequest(lParam)) return 0;
            break;
        case WM_NCHITTEST:
            return OnNcHitTest(lParam);
        case WM_NCLBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONUP:
        case WM_LBUTTONUP:
        case WM_NCLBUTTONDBLCLK:
        case WM_LBUTTONDBLCLK:
        case WM_NCMBUTTONUP:
        case WM_MBUTTONUP:
            if (OnStripMouse(msg, lParam)) return 0;
            break;
        case WM_MOUSELEAVE:
        case WM_NCMOUSELEAVE:
            OnMouseLeave();
            return 0;
        case WM_DESTROY:
            // Ended some other way than through ExitAll: no icon is left behind in the tray,
            // and no hook watches the keys for a window that is gone.
            if (m_trayIconAdded) RemoveTrayIcon();
            RemoveKeyboardHook();
            break;
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
