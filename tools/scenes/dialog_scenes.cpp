// Not tests: the scenes of the dialogs pictured in docs/ that no other scene shows, run by
// scripts/screenshots.sh, which turns their BMP files into PNGs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/SettingsStore.h"
#include "hotkey/SettingDlg.h"
#include "res/resource.h"
#include "support/InstallScenario.h"
#include "support/PublisherTestSupport.h"
#include "support/TimerSteps.h"
#include "support/WinTestSupport.h"
#include "web/FavDlg.h"

using namespace testsupport;

namespace {

std::wstring ShotsDir() {
    wchar_t dir[MAX_PATH] = L"";
    return GetEnvironmentVariableW(L"VOREL_SCREENSHOT_DIR", dir, MAX_PATH) ? dir : L"";
}

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(GetActiveWindow(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(20);
    }
}

// The dialog as the screen shows it, with whatever lies over it, saved as <name>.bmp by
// SaveWindowPicture into VOREL_SCREENSHOT_DIR. Taken from the screen DC rather than the X
// server: under Wine's virtual desktop a message box owned by a dialog reaches the X screen as
// a black shape, though the screen DC holds it painted. False when no file came out.
bool Photograph(const std::wstring& name, HWND dialog, HWND active = nullptr) {
    SetForegroundWindow(active ? active : dialog);
    PumpFor(800);  // the activation's and the last paints
    const std::wstring file = ShotsDir() + L"\\" + name + L".bmp";
    DeleteFileW(file.c_str());
    SaveWindowPicture(dialog, name);
    return FileExists(file);
}

class Scenes : public ::testing::Test {
protected:
    void SetUp() override {
        if (ShotsDir().empty()) GTEST_SKIP() << "VOREL_SCREENSHOT_DIR names no folder";
    }
};

}  // namespace

TEST_F(Scenes, FavouritesDialog) {
    TempFolder folder;
    vorel::CFavDlg dialog(L"龙城 1服", L"http://localhost:18461/game/play.htm?server=1", nullptr);
    dialog.SetFolder(folder.path());
    bool taken = false, refusedTaken = false;
    testsupport::TimerSteps steps(
        {
            [&] {
                return dialog.IsWindow() &&
                       (taken = Photograph(L"favourites", dialog.m_hWnd), true);
            },
            [&] {
                // A name that is no file name is refused in the dialog itself.
                SetDlgItemTextW(dialog.m_hWnd, IDC_FAV_NAME, L"龙城:1服");
                PostMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return true;
            },
            [&] {
                refusedTaken = Photograph(L"favourites-refused", dialog.m_hWnd);
                PostMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                return true;
            },
        },
        100);
    dialog.DoModal();
    EXPECT_TRUE(taken);
    EXPECT_TRUE(refusedTaken);
}

TEST_F(Scenes, HotkeySettingsDialog) {
    const std::wstring ini = vorel::BesideExePath(L"Statistic.ini");
    DeleteFileW(ini.c_str());
    vorel::CSettingDlg dialog(nullptr);
    bool taken = false, conflictTaken = false;
    HWND box = nullptr;
    testsupport::TimerSteps steps(
        {
            [&] {
                return dialog.IsWindow() && (taken = Photograph(L"settings", dialog.m_hWnd), true);
            },
            [&] {
                PressIn(dialog.m_hWnd, IDC_BOSS_EDIT, 'K');
                return true;
            },
            [&] {
                PressIn(dialog.m_hWnd, IDC_SOUND_EDIT, 'K');
                return true;
            },
            [&] {
                PostMessageW(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
                return true;
            },
            [&] {
                box = VisibleDialogOfThisThread(dialog.m_hWnd);
                if (!box) return false;
                conflictTaken = Photograph(L"settings-conflict", dialog.m_hWnd, box);
                PostMessageW(FindWindowExW(box, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
                return true;
            },
            [&] {
                PostMessageW(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
                return true;
            },
        },
        100);
    dialog.DoModal();
    DeleteFileW(ini.c_str());
    EXPECT_TRUE(taken);
    EXPECT_TRUE(conflictTaken);
}
