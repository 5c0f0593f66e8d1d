// The main window's tabs: starting an account's process, the frames and captions that arrive
// from those processes, showing, switching and closing tabs, and the strip in the caption band.
#include "mainwnd/Ambrel3Dlg.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "app/Processes.h"
#include "fw/Dialog.h"
#include "mainwnd/ForeignWindows.h"
#include "mainwnd/MainWindowRules.h"
#include "ui/MessageBoxDlg.h"
#include "ui/MessageBoxLayout.h"

namespace vorel {

namespace {
const wchar_t kLimitText[] = L"当前窗体只支持3个游戏页";
const wchar_t kAccountQuestion[] = L"确定要退出账号：";
// A caption is a server and an account name; anything longer is cut here.
constexpr size_t kMaxCaptionChars = 260;

WindowId IdOf(HWND wnd) { return static_cast<WindowId>(reinterpret_cast<UINT_PTR>(wnd)); }

bool ProcessEnded(ProcessId id) {
    fw::ScopedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process) return true;
    return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

bool IsVisible(HWND wnd) { return wnd && ::IsWindowVisible(wnd); }

// What may keep the main window disabled: a modal dialog of its own, or a window of another
// process that it owns (the login, favourites and game-hall download dialogs of the game
// processes run modally with the main window as their owner).
struct DisablingDialogs {
    HWND owner = nullptr;
    bool found = false;
    DWORD process = 0;  // of the other process's window found
};

BOOL CALLBACK FindOwnModalDialog(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<DisablingDialogs*>(param);
    if (::GetWindow(wnd, GW_OWNER) != search->owner) return TRUE;
    auto* dialog = dynamic_cast<fw::Dialog*>(fw::Wnd::FromHandlePermanent(wnd));
    if (dialog && dialog->IsModal()) search->found = true;
    return search->found ? FALSE : TRUE;
}

BOOL CALLBACK FindOtherProcessOwnedWindow(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<DisablingDialogs*>(param);
    if (::GetWindow(wnd, GW_OWNER) != search->owner) return TRUE;
    DWORD process = 0;
    ::GetWindowThreadProcessId(wnd, &process);
    if (process != ::GetCurrentProcessId()) {
        search->found = true;
        search->process = process;
    }
    return search->found ? FALSE : TRUE;
}
}  // namespace

void CAmbrel3Dlg::StartGameProcess() {
    const std::wstring line = GameProcessCommandLine(
        m_programPath, static_cast<std::int64_t>(reinterpret_cast<INT_PTR>(m_hWnd)),
        m_tabs.Count());
    if (line.empty()) return;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(m_programPath.c_str(), buffer.data(), nullptr, nullptr, FALSE,
                          IDLE_PRIORITY_CLASS, nullptr, nullptr, &startup, &process)) {
        return;
    }
    fw::ScopedHandle thread(process.hThread);
    m_pendingProcess.reset(process.hProcess);
    m_pendingProcessId = process.dwProcessId;
}

void CAmbrel3Dlg::DropWaitingCaptionsOfEndedProcesses() { m_tabs.DropWaiting(&ProcessEnded); }

BOOL CAmbrel3Dlg::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != 0 || !data->lpData || data->cbData < sizeof(wchar_t)) {
        return FALSE;
    }
    const auto* text = static_cast<const wchar_t*>(data->lpData);
    size_t length = 0;
    const size_t limit = std::min<size_t>(data->cbData / sizeof(wchar_t), kMaxCaptionChars);
    while (length < limit && text[length] != L'\0') ++length;
    // An account whose game process died logs in again before the next tick drops its tab.
    DropLostTabs();
    DropWaitingCaptionsOfEndedProcesses();
    // The pending process is the likely sender; one that has already ended cannot be.
    ProcessId sender = 0;
    if (m_pendingProcess && ::WaitForSingleObject(m_pendingProcess.get(), 0) == WAIT_TIMEOUT) {
        sender = m_pendingProcessId;
    }
    return m_tabs.AnnounceCaption(std::wstring(text, length), sender) ? TRUE : FALSE;
}

void CAmbrel3Dlg::OnFrameArrived(HWND frame, LPARAM isHall) {
    if (!::IsWindow(frame)) return;
    if (!m_opened) {
        m_opened = true;
        if (!m_maximized) ToggleMaximize();
        AddTrayIcon();
        // Dispatched straight to its procedure, past the window's own: the idle program's
        // one periodic work costs no object lookup.
        ::SetTimer(m_hWnd, kMuteTimerId, kMuteTimerMs, &CAmbrel3Dlg::MuteTimerProc);
    }
    if (isHall) {
        m_hallWindow = frame;
        return;
    }
    DropWaitingCaptionsOfEndedProcesses();
    DWORD frameProcess = 0;
    ::GetWindowThreadProcessId(frame, &frameProcess);
    if (m_tabs.IndexOf(IdOf(frame)) >= 0) return;
    for (int i = 0; i < m_tabs.Count(); ++i) ShowAsync(TabWindow(i), SW_HIDE);
    if (::IsWindow(m_hallWindow)) ShowAsync(m_hallWindow, SW_HIDE);
    m_tabs.AddFrame(IdOf(frame), frameProcess);
    m_pendingProcess.reset();
    m_pendingProcessId = 0;
    InvalidateArea(StripRect(m_tabs.Count()));
    // The frame sizes itself into the page area and shows itself once its page has loaded.
}

BOOL CAmbrel3Dlg::OnCloseRequest(LPARAM lParam) {
    // A window whose last game has died closes without asking about it.
    DropLostTabs();
    switch (DecideCloseRequest(lParam, m_tabs.Count())) {
        case CloseAction::ExitAll:
        case CloseAction::TerminatePendingAndExit:
            ExitAll();  // ends the pending process first
            return TRUE;
        case CloseAction::DropPending:
            m_pendingProcess.reset();
            m_pendingProcessId = 0;
            return TRUE;
        case CloseAction::Normal:
            break;
    }
    return FALSE;
}

void CAmbrel3Dlg::ForwardToPage(const MSG& msg) {
    HWND tab = TabWindow(m_tabs.Current());
    if (IsVisible(tab)) {
        ::PostMessageW(tab, msg.message, msg.wParam, msg.lParam);
    } else if (IsVisible(m_hallWindow)) {
        ::PostMessageW(m_hallWindow, msg.message, msg.wParam, msg.lParam);
    }
}

void CAmbrel3Dlg::ShowTab(HWND tab) {
    RECT client;
    GetClientRect(&client);
    const BlitBox page = PageBox(client.right, client.bottom);
    for (int i = 0; i < m_tabs.Count(); ++i) {
        HWND wnd = TabWindow(i);
        if (wnd != tab) {
            ShowAsync(wnd, SW_HIDE);
            continue;
        }
        PlaceAsync(wnd, page);
        ShowAsync(wnd, SW_SHOW);
        if (NotHung(wnd) && ForegroundAnswers()) ::SetForegroundWindow(wnd);
        if (IsVisible(m_hallWindow)) ShowAsync(m_hallWindow, SW_HIDE);
    }
}

void CAmbrel3Dlg::SelectTab(int index) {
    const int old = m_tabs.Current();
    if (m_tabs.Select(index)) {
        ShowTab(TabWindow(index));
        InvalidateTab(old);
        InvalidateTab(index);
    } else if (index == old && IsVisible(m_hallWindow)) {
        ShowTab(TabWindow(index));
    }
}

void CAmbrel3Dlg::CloseTab(int index) {
    if (index < 0 || index >= m_tabs.Count()) return;
    if (m_tabs.Count() == 1) {
        m_hover = StripHover{};
        InvalidateArea(TabCloseIconRect(index));
        OnCancel();
        return;
    }
    HWND closing = TabWindow(index);
    const std::wstring question = kAccountQuestion + m_tabs.At(index).caption + L" ?";
    const INT_PTR answer = ShowMessageBox(kMessageYesNo, kProductTitle, question, m_hWnd);
    // Messages kept flowing while the question was open: find the tab again by its window.
    index = m_tabs.IndexOf(IdOf(closing));
    if (index < 0) return;
    if (answer != IDYES) {
        m_hover.tab = -1;
        m_hover.part = kPartNone;
        InvalidateTab(index);
        return;
    }
    m_tabs.Remove(index);
    ShowTab(TabWindow(m_tabs.Current()));
    // Hidden first, so that it does not show up as a top-level window while it ends. A frame
    // that does not answer stays a child until its process ends: re-parenting waits for it.
    ShowAsync(closing, SW_HIDE);
    if (Answers(closing, kFrameAnswerMs)) ::SetParent(closing, nullptr);
    ::PostMessageW(closing, WM_SYSCOMMAND, SC_CLOSE, 0);
    m_hover.tab = -1;
    m_hover.part = kPartNone;
    InvalidateArea(StripRect(m_tabs.Count() + 1));
}

void CAmbrel3Dlg::SwitchToNextTab() {
    DropLostTabs();
    if (m_tabs.Empty() || !::IsWindowVisible(m_hWnd) || ::IsIconic(m_hWnd)) return;
    if (m_tabs.Count() > 1 && !IsVisible(m_hallWindow)) {
        const int old = m_tabs.Current();
        m_tabs.Advance();
        InvalidateTab(old);
        InvalidateTab(m_tabs.Current());
    }
    ShowTab(TabWindow(m_tabs.Current()));
}

void CAmbrel3Dlg::DropLostTabs() {
    // A game process that died without a word leaves a tab without a window; it goes
    // without a question. The mute timer calls this every tick, and the commands that count
    // or step through the tabs call it first, so that none of them acts on a dead tab.
    EnableUnlessADialogHoldsIt();
    if (m_hallWindow && !::IsWindow(m_hallWindow)) m_hallWindow = nullptr;
    const WindowId shown = m_tabs.CurrentWindow();
    bool dropped = false;
    for (int i = m_tabs.Count() - 1; i >= 0; --i) {
        if (::IsWindow(TabWindow(i))) continue;
        InvalidateArea(StripRect(m_tabs.Count()));
        m_tabs.Remove(i);
        dropped = true;
    }
    if (!dropped) return;
    m_hover = StripHover{};
    if (m_tooltip) ::SendMessageW(m_tooltip, TTM_ACTIVATE, FALSE, 0);
    // The page on the screen stays unless it was the one that died; then the tab that took
    // its place is shown, as when a tab is closed.
    const int stillThere = m_tabs.IndexOf(shown);
    if (stillThere >= 0) {
        m_tabs.Select(stillThere);
    } else if (!m_tabs.Empty() && !IsVisible(m_hallWindow)) {
        ShowTab(TabWindow(m_tabs.Current()));
    }
}

void CAmbrel3Dlg::EnableUnlessADialogHoldsIt() {
    // A modal dialog of a game process disables this window, and only its own end enables it
    // again: when that process dies with the dialog up (killed, or crashed with its page),
    // nothing would, and the caption buttons and every remaining tab would stop taking clicks.
    // A modal loop disables its owner before it creates its dialog, so a disabled window
    // with no dialog yet is a dialog on its way: only a dialog seen holding the window and
    // gone since, with nothing else holding it, counts as dead.
    if (!m_hWnd || ::IsWindowEnabled(m_hWnd)) {
        m_heldByProcess = 0;
        return;
    }
    DisablingDialogs search;
    search.owner = m_hWnd;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindOwnModalDialog,
                        reinterpret_cast<LPARAM>(&search));
    if (search.found) return;
    ::EnumWindows(&FindOtherProcessOwnedWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
        m_heldByProcess = search.process;
        return;
    }
    // A login process that ended before any tick saw its dialog counts too.
    const bool loginEnded =
        m_pendingProcess && ::WaitForSingleObject(m_pendingProcess.get(), 0) == WAIT_OBJECT_0;
    if (m_heldByProcess == 0 && !loginEnded) return;
    m_heldByProcess = 0;
    ::EnableWindow(m_hWnd, TRUE);
}

void CAmbrel3Dlg::ShowNewTabChoice() {
    if (!m_addAccDlg.m_hWnd && !m_addAccDlg.Create(m_hWnd)) return;
    RECT link, choice;
    m_accountLink.GetWindowRect(&link);
    m_addAccDlg.GetWindowRect(&choice);
    const int width = choice.right - choice.left;
    ::SetWindowPos(m_addAccDlg.m_hWnd, nullptr, link.right - width, link.bottom, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    m_addAccDlg.ShowWindow(SW_SHOW);
}

void CAmbrel3Dlg::OnNewTabChoice(WPARAM answer) {
    DropLostTabs();  // a dead tab does not count against the limit
    switch (DecideNewTabChoice(answer, m_tabs.Count())) {
        case NewTabAction::StartGame:
            StartGameProcess();
            break;
        case NewTabAction::ShowLimit:
            ShowMessageBox(kMessageOk, kProductTitle, kLimitText, m_hWnd);
            break;
        case NewTabAction::NewMainWindow:
            RestartSelf(QuoteArgument(m_programPath).c_str());
            break;
        case NewTabAction::Nothing:
            break;
    }
}

// --- The strip -------------------------------------------------------------------------------

void CAmbrel3Dlg::InvalidateArea(const IntRect& r) {
    RECT area = {r.left, r.top, r.right, r.bottom};
    ::InvalidateRect(m_hWnd, &area, TRUE);  // the strip is painted with the background
}

BOOL CAmbrel3Dlg::PaintWindow(HDC dc) {
    if (!m_background) return FALSE;
    RECT client, box;
    GetClientRect(&client);
    if (::GetClipBox(dc, &box) == ERROR || !::IntersectRect(&box, &box, &client)) return TRUE;
    // The skin changes only with the size, the title and the icon, so it is painted once
    // per size; a repaint of a tab then costs what the tab's rectangle costs.
    HDC skin = SkinCacheDC();
    if (!skin) return FALSE;
    const int width = box.right - box.left, height = box.bottom - box.top;
    // Away from the tabs the skin alone is on the screen: one copy, no off-screen bitmap.
    const IntRect strip = StripRect(m_tabs.Count());
    const RECT stripArea = {strip.left, strip.top, strip.right, strip.bottom};
    RECT overlap;
    if (m_tabs.Empty() || !::IntersectRect(&overlap, &box, &stripArea)) {
        ::BitBlt(dc, box.left, box.top, width, height, skin, box.left, box.top, SRCCOPY);
        return TRUE;
    }
    // Only the rectangle to repaint (a tab, a close icon, the piece under a control) goes
    // through the off-screen bitmap, which is addressed in client coordinates.
    OffscreenBitmap canvas(dc, width, height);
    if (!canvas) return FALSE;
    ::SetWindowOrgEx(canvas.dc(), box.left, box.top, nullptr);
    ::BitBlt(canvas.dc(), box.left, box.top, width, height, skin, box.left, box.top, SRCCOPY);
    DrawTabs(canvas.dc());
    ::SetWindowOrgEx(canvas.dc(), 0, 0, nullptr);
    ::BitBlt(dc, box.left, box.top, width, height, canvas.dc(), 0, 0, SRCCOPY);
    return TRUE;
}

void CAmbrel3Dlg::DrawTabs(HDC dc) {
    if (m_tabs.Empty()) return;
    const HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    fw::ScopedSelectObject selectFont(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    const UINT style = ILD_TRANSPARENT | ILD_SCALE;
    for (int i = 0; i < m_tabs.Count(); ++i) {
        const IntRect tab = TabRect(i);
        if (m_tabImages) {
            ::ImageList_Draw(m_tabImages.get(), TabImageIndex(i, m_tabs.Current(), m_hover.tab), dc,
                             tab.left, tab.top, style);
        }
        if (i == m_hover.tab && m_hover.part >= 0 && m_closeImages) {
            const IntRect icon = TabCloseIconRect(i);
            ::ImageList_Draw(m_closeImages.get(), m_hover.part, dc, icon.left, icon.top, style);
        }
        const std::wstring& caption = m_tabs.At(i).caption;
        const IntRect c = TabCaptionRect(i);
        RECT r = {c.left, c.top, c.right, c.bottom};
        ::DrawTextW(dc, caption.c_str(), int(caption.size()), &r, DT_SINGLELINE);
    }
}

void CAmbrel3Dlg::ApplyTooltip(TooltipChange change, int tab) {
    if (!m_tooltip || change == TooltipChange::None) return;
    if (change == TooltipChange::Deactivate) {
        ::SendMessageW(m_tooltip, TTM_ACTIVATE, FALSE, 0);
        return;
    }
    ::SendMessageW(m_tooltip, TTM_ACTIVATE, TRUE, 0);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.lpszText = const_cast<wchar_t*>(m_tabs.At(tab).caption.c_str());
    ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CAmbrel3Dlg::OnNcHitTest(LPARAM screenPoint) {
    const LRESULT hit = CDlgEx::WindowProc(WM_NCHITTEST, 0, screenPoint);
    const POINT p = ScreenToClientPoint(m_hWnd, screenPoint);
    const bool leftDown = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    const HoverEffects fx =
        UpdateHoverOnHitTest(m_hover, p.x, p.y, m_tabs.Count(), leftDown, m_trackingLeave);
    for (const IntRect& r : fx.invalidate) InvalidateArea(r);
    ApplyTooltip(fx.tooltip, fx.tooltipTab);
    if (fx.requestLeaveTracking) {
        // Over the caption band the cursor is in the non-client area: its leave is the
        // non-client one.
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        if (hit == HTCAPTION) track.dwFlags |= TME_NONCLIENT;
        m_trackingLeave = ::TrackMouseEvent(&track) != FALSE;
    }
    return hit;
}

void CAmbrel3Dlg::OnStripPress(POINT p) {
    const int tab = TabAtPoint(p.x, p.y, m_tabs.Count());
    if (tab < 0) return;
    SelectTab(tab);
    if (IsOnCloseIcon(p.x, p.y, tab)) {
        m_hover.tab = tab;
        m_hover.part = kPartClosePressed;
        InvalidateArea(TabCloseIconRect(tab));
    }
}

void CAmbrel3Dlg::OnStripRelease(POINT p) {
    const int tab = TabAtPoint(p.x, p.y, m_tabs.Count());
    if (tab >= 0 && IsOnCloseIcon(p.x, p.y, tab)) CloseTab(tab);
}

void CAmbrel3Dlg::OnStripMiddleRelease(POINT p) {
    const int tab = TabAtPoint(p.x, p.y, m_tabs.Count());
    if (tab >= 0) CloseTab(tab);
}

void CAmbrel3Dlg::OnMouseLeave() {
    for (const IntRect& r : ClearHover(m_hover)) InvalidateArea(r);
    m_trackingLeave = false;
}

}  // namespace vorel
