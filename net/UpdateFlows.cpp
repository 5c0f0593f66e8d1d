#include "net/UpdateFlows.h"

#include <vector>

#include "app/Ambrel3App.h"
#include "app/Processes.h"
#include "app/SettingsStore.h"
#include "app/UpdateGate.h"
#include "fw/Raii.h"
#include "net/DialogTransfer.h"
#include "net/PrgsDlg.h"
#include "ui/MessageBoxDlg.h"

namespace vorel {

bool RunStartUpdate(RunMode mode, CPrgsDlg& progress, UpdateOffer* offer) {
    bool apply = false;
    if (mode == ModeUpdate) {
        CheckForUpdate(true, mode, offer);
        apply = true;
    } else if (mode == ModeInstall || mode == ModeShortcutStart) {
        apply = CheckForUpdate(false, mode, offer);
    }
    if (!apply) return false;
    const auto showProgress = [&progress](const std::wstring& url, const std::wstring& target) {
        progress.SetTransfer(url, target);
        return progress.DoModal() == IDOK;
    };
    if (!ApplyUpdate(*offer, showProgress)) return false;
    RestartSelf();
    WriteUpdateTime();
    return true;
}

bool StartUpdateProcess(const std::wstring& exePath) {
    return StartProgramProcess(ProgramCommandLine(exePath, Switch::Update));
}

namespace {
bool MenuUpdateOffered(const UpdateCheckSetup& setup) {
    UpdateOffer offer;
    // A forced check: the run mode is not asked.
    return CheckForUpdate(setup, true, ModeInstalledStart, &offer);
}
}  // namespace

MenuUpdateOutcome FinishMenuUpdate(bool offered, const std::wstring& exePath, HWND mainWindow) {
    if (!offered) {
        ShowMessageBox(0, kProductTitle, L"已经是最新版本，无需进行更新。", mainWindow);
        return MenuUpdateOutcome::UpToDate;
    }
    // Closing every game for an update that will not run would be for nothing.
    return StartUpdateProcess(exePath) ? MenuUpdateOutcome::UpdateStarted
                                       : MenuUpdateOutcome::StartFailed;
}

MenuUpdateOutcome RunMenuUpdate(const UpdateCheckSetup& setup, HWND mainWindow) {
    return FinishMenuUpdate(MenuUpdateOffered(setup), setup.exePath, mainWindow);
}

bool StartMenuUpdateCheck(const UpdateCheckSetup& setup, HWND notify, UINT message) {
    fw::ScopedHandle thread(StartThread([setup, notify, message] {
        const bool offered = MenuUpdateOffered(setup);
        // A window that has gone meanwhile takes nothing.
        ::PostMessageW(notify, message, offered ? 1 : 0, 0);
    }));
    return static_cast<bool>(thread);
}

}  // namespace vorel
