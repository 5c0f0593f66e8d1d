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

// The menu's "更新" against a given check setup, all on this thread; the process started is
// setup.exePath with " /update". The message box is owned by mainWindow.
MenuUpdateOutcome RunMenuUpdate(const UpdateCheckSetup& setup, HWND mainWindow);

// The menu's "更新" in two steps, so that the main window's thread never waits on the
// network: the forced check runs on a thread of its own, which posts `message` to notify
// with wParam 1 when an update is offered, 0 when not. False when no thread could start
// (nothing is posted then).
bool StartMenuUpdateCheck(const UpdateCheckSetup& setup, HWND notify, UINT message);
// The second step, on the window's thread with the check's answer: the message, or the
// start of "<exe> /update".
MenuUpdateOutcome FinishMenuUpdate(bool offered, const std::wstring& exePath, HWND mainWindow);

// Starts "<exe> /update" shown normally; true when the process was created.
bool StartUpdateProcess(const std::wstring& exePath);

}  // namespace vorel
