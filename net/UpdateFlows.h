// The two ways into the self-update: the hand-over at start-up and the menu's "更新".
#pragma once
#include <windows.h>

#include <string>

#include "app/RunMode.h"
#include "net/SelfUpdate.h"

namespace vorel {

class CPrgsDlg;

// The update step of start-up. "/update" (mode 5): a forced check, whose answer only
// refreshes the offer, then the update; modes 0 and 2: the daily check, and the update only
// when it offers one. After an applied update the program starts again, the update time is
// recorded and true comes back: this process is to end without showing anything. In every
// other case false, and the start goes on. offer keeps what the check announced.
bool RunStartUpdate(RunMode mode, CPrgsDlg& progress, UpdateOffer* offer);

enum class MenuUpdateOutcome {
    UpToDate,       // "已经是最新版本，无需进行更新。" was shown
    UpdateStarted,  // "<exe> /update" runs: the caller closes every window (ExitAll)
    StartFailed     // an update is offered but its process did not start: nothing closes
};

// The menu's "更新" against a given check setup; the process started is setup.exePath with
// " /update". The message box is owned by mainWindow.
MenuUpdateOutcome RunMenuUpdate(const UpdateCheckSetup& setup, HWND mainWindow);

// The menu's "更新" for this program. True when the caller is to ExitAll.
bool RunMenuUpdate(HWND mainWindow);

// Starts "<exe> /update" shown normally; true when the process was created.
bool StartUpdateProcess(const std::wstring& exePath);

}  // namespace vorel
