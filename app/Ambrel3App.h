// The application object: decides the run mode and calls the subsystems in start-up order.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "app/Protocol.h"
#include "app/RunMode.h"
#include "fw/App.h"
#include "fw/Raii.h"
#include "net/PrgsDlg.h"
#include "net/SelfUpdate.h"
#include "ui/ScopedGdiplus.h"

namespace vorel {

class CAmbrel3App : public fw::App {
public:
    CAmbrel3App();

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Decides the run mode from this process's command line and location, and records the
    // parent window and tab number for the game-window roles.
    RunMode DetermineRunMode();

    RunMode Mode() const { return m_mode; }
    HANDLE ReportCopiedEvent() const { return m_reportCopied.get(); }
    HANDLE ReportDoneEvent() const { return m_reportDone.get(); }

    // The self-update's progress dialog, kept for the whole run.
    CPrgsDlg m_prgsDlg;
    // What the update check announced: the address, and the key the download must match.
    UpdateOffer m_update;
    // The current game page, kept by the game view and offered by the favourite dialog.
    std::wstring m_gameTitle;
    std::wstring m_gameAddress;

private:
    // One function per run mode; each answers what InitInstance answers (FALSE: the process
    // ends without a message loop of its own).
    BOOL RunUninstall();
    BOOL RunInstall();
    BOOL RunPartnerStart();
    BOOL RunGameWindow();
    BOOL RunMainWindow();

    std::optional<ScopedGdiplus> m_gdiplus;
    fw::ScopedHandle m_reportCopied;
    fw::ScopedHandle m_reportDone;
    RunMode m_mode = ModeInstall;
    bool m_oleInitialized = false;
    // A start report was sent and nobody waited for it.
    bool m_reportInFlight = false;
};

CAmbrel3App& TheApp();

// Process-wide values of the game-window roles: the main window that started this process,
// and the tab it belongs to.
HWND ParentMainWindow();
int TabNumber();

}  // namespace vorel
