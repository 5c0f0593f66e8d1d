// The player's main window: a skinned, resizable dialog whose caption band carries the tabs of
// up to three accounts. Each tab is the game frame of another process (a "/newgm" child) that
// made itself a child of this window; the window holds their handles, not the frames, and
// talks to them only through window messages.
#pragma once
#include <windows.h>

#include <string>

#include "fw/Raii.h"
#include "hotkey/HotkeyValue.h"
#include "mainwnd/AddAccDlg.h"
#include "mainwnd/HookDecision.h"
#include "mainwnd/TabAccounts.h"
#include "mainwnd/TabStrip.h"
#include "net/SelfUpdate.h"
#include "ui/BtnEx.h"
#include "ui/DlgEx.h"
#include "ui/SkinImage.h"
#include "ui/StaticEx.h"
#include "web/PopInfoDlg.h"

namespace vorel {

class CSettingDlg;

class CAmbrel3Dlg : public CDlgEx {
public:
    explicit CAmbrel3Dlg(HWND parent = nullptr);
    ~CAmbrel3Dlg() override;

    void DoDataExchange() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;      // Enter never closes the window
    void OnCancel() override;  // the exit question
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Accounts and tabs.
    void StartGameProcess();
    void ShowTab(HWND tab);
    void SelectTab(int index);
    void CloseTab(int index);
    void SwitchToNextTab();
    // Ends everything: the pending login, the hook, every tab's process, the tray icon, and
    // this window's modal loop.
    void ExitAll();

    BOOL AddTrayIcon();
    BOOL RemoveTrayIcon();
    // The tray icon outlives a restart of Explorer: added again when it says so.
    void ListenForTaskbarRestart();
    bool OnTaskbarRestart(UINT msg);

    // Reads the hotkeys and tells every game window to read them too.
    void ReloadHotkeys();

    // Window commands of the menus, the tray and the boss key.
    void ToggleHideAll();
    void BringToFront();
    void ShowSystemMenu();
    void ShowTrayMenu();
    void OnTrayNotify(LPARAM mouseMessage);

    // What the keyboard hook is to post for a key, with the modifiers held before it; decided
    // at once, nothing carried out (the hook must not wait).
    HookAction HotkeyActionFor(unsigned keyMessage, int virtualKey, int (*heldModifiers)()) const {
        return DecideHookAction(keyMessage, virtualKey, TabCount(), m_bossKey, m_soundKey,
                                heldModifiers);
    }

    int TabCount() const { return m_tabs.Count(); }
    HWND TabWindow(int i) const;
    const std::wstring& TabCaption(int i) const { return m_tabs.At(i).caption; }
    int CurrentTab() const { return m_tabs.Current(); }
    HWND HallWindow() const { return m_hallWindow; }
    const StripHover& Hover() const { return m_hover; }
    HWND Tooltip() const { return m_tooltip; }
    bool HasPendingProcess() const { return static_cast<bool>(m_pendingProcess); }
    bool TrayIconAdded() const { return m_trayIconAdded; }
    CAddAccDlg& NewTabChoice() { return m_addAccDlg; }
    CPopInfoDlg& PopupNotice() { return m_popInfo; }

    // Sound of every tab; the button and the game windows follow within one timer tick.
    BOOL m_muted = FALSE;
    // The program started for every account ("/newgm") and for a new main window: the
    // running executable.
    std::wstring m_programPath;

    // Where the menu's "更新" asks and what it starts.
    UpdateCheckSetup m_updateSetup;

    // Hotkeys as read last (virtual key 0: none).
    Hotkey m_bossKey;
    Hotkey m_switchKey;
    Hotkey m_soundKey;

private:
    // Tracks the system menu (under the "系统" button) or the tray menu (at the cursor) and
    // carries out the chosen command.
    void RunMenu(bool tray);
    // settings: the dialog prepared for "设置...", shown only by that command.
    void RunMenuCommand(int id, CSettingDlg& settings);
    void LayOutAndSkin();
    // The visible page (hall or current tab) fills the client area below the caption band.
    void FitPage(int cx, int cy);
    void OnWindowPosChanging(WINDOWPOS* pos);
    void OnMuteTimer();
    static void CALLBACK MuteTimerProc(HWND wnd, UINT, UINT_PTR, DWORD);
    void OnPaint();
    BOOL PaintWindow(HDC dc);
    void DrawTabs(HDC dc);

    void OnFrameArrived(HWND frame, LPARAM isHall);
    BOOL OnCopyData(const COPYDATASTRUCT* data);
    // TRUE: the close request was handled here and goes no further.
    BOOL OnCloseRequest(LPARAM lParam);
    void ForwardToPage(const MSG& msg);
    void ShowNewTabChoice();
    void OnNewTabChoice(WPARAM answer);
    void DropLostTabs();
    // Enables this window again once no dialog that disabled it is left (see GameTabs.cpp).
    void EnableUnlessADialogHoldsIt();
    // The other process whose window was last seen holding this one disabled, else 0.
    DWORD m_heldByProcess = 0;
    void OnHotkeyAction(WPARAM action);
    void OnUpdateChecked(bool offered);
    void DropWaitingCaptionsOfEndedProcesses();

    LRESULT OnNcHitTest(LPARAM screenPoint);
    void OnStripPress(POINT client);
    void OnStripRelease(POINT client);
    void OnStripMiddleRelease(POINT client);
    void OnMouseLeave();
    void ApplyTooltip(TooltipChange change, int tab);
    void InvalidateArea(const IntRect& r);
    void InvalidateTab(int i) { InvalidateArea(TabRect(i)); }
    void SetSoundImage(bool muted);
    static POINT ScreenToClientPoint(HWND wnd, LPARAM screenPoint);

    // WindowProc's handlers; a bool answers whether the message was consumed.
    LRESULT OnInitDialogMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSizeMessage(WPARAM wParam, LPARAM lParam);
    void PlaceCaptionControls(int cx);
    void RepaintStaleFrameCorner();
    bool OnTimerMessage(WPARAM id);
    bool OnCommandMessage(WPARAM wParam);
    bool OnProgramMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool OnStripMouse(UINT msg, LPARAM lParam);

    HICON m_icon = nullptr;  // shared resource icon; not destroyed
    CBtnEx m_hideButton;
    CBtnEx m_systemButton;
    CBtnEx m_soundButton;
    CStaticEx m_accountLink;
    OSVERSIONINFOW m_osVersion = {};
    HWND m_hallWindow = nullptr;
    fw::ScopedHandle m_pendingProcess;
    ProcessId m_pendingProcessId = 0;
    TabAccounts m_tabs;
    StripImageList m_tabImages;
    StripImageList m_closeImages;
    StripHover m_hover;
    HWND m_tooltip = nullptr;  // owned by this window; destroyed with it
    bool m_trackingLeave = false;
    CAddAccDlg m_addAccDlg;
    CPopInfoDlg m_popInfo;  // created by timer 4

    // The first frame has arrived: the window is open, the tray icon and the timer run.
    bool m_opened = false;
    bool m_trayIconAdded = false;
    UINT m_taskbarCreated = 0;      // the registered "TaskbarCreated" message
    bool m_updateChecking = false;  // the menu's update check runs on its thread
    int m_lastWidth = 0;
    bool m_soundShownMuted = true;  // so that the first tick shows the real state
};

// The process's main window while one exists (the keyboard hook reaches it through this).
CAmbrel3Dlg* MainWindow();

}  // namespace vorel
