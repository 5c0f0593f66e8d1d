// The real TolvVorel.exe as the player starts it from the desktop shortcut, for scenarios that
// drive its main window from outside: accounts logged in by stand-in game processes, and the
// program's own first login, which the main window starts and which cannot load its page here.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/InstallScenario.h"
#include "support/StandIn.h"

namespace testsupport {

// From a clean machine, the launcher placed in the product folder and started with "/VorelD",
// up to its main window; afterwards everything it started is ended and the machine cleaned.
class ShortcutStartTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring m_exe;
    std::unique_ptr<StartedProcess> m_launcher;
    HWND m_mainWnd = nullptr;
};

// An account logged in on the main window by a stand-in started as the main window starts its
// game processes (" /newgm /<handle> /<tab>"), once its frame is shown.
StandIn LogInStandIn(HWND mainWindow, int tab, const std::wstring& caption,
                     const Idle& idle = SleepBriefly);

// Closes the login window of the main window's own game process, as the player cancels the
// login; true once the main window is enabled again and, when asked, that process has ended.
bool CancelLoginOf(HWND mainWindow, bool processMustEnd = false);

}  // namespace testsupport
