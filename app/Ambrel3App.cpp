#include "app/Ambrel3App.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include "DeployConfig.h"
#include "app/CrashDump.h"
#include "app/Install.h"
#include "app/SettingsStore.h"
#include "app/ShellOpen.h"
#include "app/StatisticsReport.h"
#include "app/SystemSettings.h"
#include "app/UpdateGate.h"
#include "fw/SystemLibrary.h"
#include "mainwnd/Ambrel3Dlg.h"
#include "net/UpdateFlows.h"
#include "ui/MessageBoxDlg.h"
#include "web/GameWindowProcess.h"

namespace vorel {

namespace {
constexpr DWORD kReportExitGraceMs = 3000;
CAmbrel3App* g_app = nullptr;
HWND g_parentMainWindow = nullptr;
int g_tabNumber = 0;
}  // namespace

CAmbrel3App& TheApp() { return *g_app; }
HWND ParentMainWindow() { return g_parentMainWindow; }
int TabNumber() { return g_tabNumber; }

CAmbrel3App::CAmbrel3App() { g_app = this; }

RunMode CAmbrel3App::DetermineRunMode() {
    const RunModeDecision d = DecideRunMode(Args(), RunningExePath(), ProductFolderPath());
    // The decimal text is the handle's value; handles fit 32 bits on every Windows.
    g_parentMainWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(d.parentWindow));
    g_tabNumber = d.tabNumber;
    return d.mode;
}

BOOL CAmbrel3App::InitInstance() {
    fw::NarrowLibrarySearch();
    InstallCrashFilter();

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    m_mode = DetermineRunMode();
    // Started at idle priority by an install, an update or "否"; the game-window processes
    // keep it.
    if (ServesMainWindow(m_mode)) {
        const DWORD priority = GetPriorityClass(GetCurrentProcess());
        if (priority == IDLE_PRIORITY_CLASS || priority == BELOW_NORMAL_PRIORITY_CLASS)
            SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    }
    m_reportCopied.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_reportDone.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));

    if (m_mode == ModeUninstall) return RunUninstall();
    // Update hand-over: after an applied update the new build runs in a process of its own.
    if (RunStartUpdate(m_mode, m_prgsDlg, &m_update)) return FALSE;

    m_gdiplus.emplace();

    switch (m_mode) {
        case ModeInstall:
            return RunInstall();
        case ModePartnerStart:
            return RunPartnerStart();
        case ModeShortcutStart:
        case ModeInstalledStart:
            // Not waited for: the report finishes while the main window opens.
            m_reportInFlight =
                CountAndReport(ReportKind::Start, ReportCopiedEvent(), ReportDoneEvent());
            break;
        default:
            break;
    }
    SetBrowserCacheLimit();
    if (m_mode == ModeNewGameWindow || m_mode == ModeGameHall) return RunGameWindow();
    return RunMainWindow();
}

BOOL CAmbrel3App::RunUninstall() {
    if (ShowMessageBox(4, kProductTitle, L"确定要移除 VorelTolv登录器吗？", nullptr) == IDYES) {
        UninstallProduct(*this);
        WaitForSingleObject(ReportDoneEvent(), INFINITE);
    }
    return FALSE;
}

BOOL CAmbrel3App::RunInstall() {
    InstallProduct();
    WriteDisableDays();
    CountAndReport(ReportKind::Install, ReportCopiedEvent(), ReportDoneEvent());
    WaitForSingleObject(ReportDoneEvent(), INFINITE);
    return FALSE;
}

BOOL CAmbrel3App::RunPartnerStart() {
    OpenAddress(VOREL_HALL_SITE, SW_SHOWMAXIMIZED);
    CountAndReport(ReportKind::PartnerStart, ReportCopiedEvent(), ReportDoneEvent());
    WaitForSingleObject(ReportDoneEvent(), INFINITE);
    return FALSE;
}

BOOL CAmbrel3App::RunGameWindow() {
    if (!SUCCEEDED(OleInitialize(nullptr))) {
        ShowMessageBox(0, kProductTitle, L"初始化OLE库失败", nullptr);
        return FALSE;
    }
    m_oleInitialized = true;
    return StartGameWindowProcess(*this, m_mode == ModeNewGameWindow, ParentMainWindow(),
                                  TabNumber());
}

// Modes 2, 3 and 5: the main window, until the player exits.
BOOL CAmbrel3App::RunMainWindow() {
    CAmbrel3Dlg mainWindow;
    m_pMainWnd = &mainWindow;
    mainWindow.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CAmbrel3App::ExitInstance() {
    // A start report still under way when the process ends would die with it; it gets a
    // short grace, bounded so that a dead server never holds up the exit.
    if (m_reportInFlight) WaitForSingleObject(m_reportDone.get(), kReportExitGraceMs);
    m_reportCopied.reset();
    m_reportDone.reset();
    m_gdiplus.reset();
    // The game window's browser must go while OLE is still up.
    EndGameWindowProcess();
    if (m_oleInitialized) OleUninitialize();
    return fw::App::ExitInstance();
}

}  // namespace vorel
