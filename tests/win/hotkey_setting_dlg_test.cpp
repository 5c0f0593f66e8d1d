// The hotkey settings dialog driven for real: key-downs posted to its edits go through the
// dialog's own modal loop, as the player's keys would.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/SettingsStore.h"
#include "hotkey/HotkeySettings.h"
#include "hotkey/SettingDlg.h"
#include "res/resource.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {

// Runs one step per timer tick inside the dialog's modal loop.
class Script {
public:
    static void Run(std::vector<std::function<void(HWND)>> steps) {
        s_steps = std::move(steps);
        s_next = 0;
        s_timer = SetTimer(nullptr, 0, 30, &Script::Tick);
    }
    static void Stop() { KillTimer(nullptr, s_timer); }
    // Called by a step that must wait for something: it runs again at the next tick.
    static void Again() { --s_next; }
    static HWND s_dialog;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (s_next >= s_steps.size()) return;
        s_steps[s_next++](s_dialog);
    }
    static std::vector<std::function<void(HWND)>> s_steps;
    static size_t s_next;
    static UINT_PTR s_timer;
};
HWND Script::s_dialog = nullptr;
std::vector<std::function<void(HWND)>> Script::s_steps;
size_t Script::s_next = 0;
UINT_PTR Script::s_timer = 0;

class TestSettingDlg : public vorel::CSettingDlg {
public:
    TestSettingDlg() : CSettingDlg(nullptr) {}
    BOOL OnInitDialog() override {
        BOOL r = CSettingDlg::OnInitDialog();
        Script::s_dialog = m_hWnd;
        return r;
    }
};

std::wstring EditText(HWND dialog, int id) {
    wchar_t text[64] = L"";
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

class SettingDialog : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileW(Ini().c_str()); }
    void TearDown() override {
        Script::Stop();
        DeleteFileW(Ini().c_str());
    }
    static std::wstring Ini() { return vorel::BesideExePath(L"Statistic.ini"); }
    static std::wstring Stored(const wchar_t* key) { return ReadIniValue(Ini(), L"TolvVorel", key); }
};

}  // namespace

TEST_F(SettingDialog, ShowsTheDefaultsAndNeitherEscNorEnterClosesIt) {
    std::wstring boss, sw, sound;
    bool stillOpen = false;
    Script::Run({
        [&](HWND d) {
            boss = EditText(d, IDC_BOSS_EDIT);
            sw = EditText(d, IDC_SWITCH_EDIT);
            sound = EditText(d, IDC_SOUND_EDIT);
            PressIn(d, IDC_BOSS_EDIT, VK_ESCAPE);
            PostMessageW(GetDlgItem(d, IDC_SOUND_EDIT), WM_KEYDOWN, VK_RETURN, 1);
        },
        [&](HWND d) {
            stillOpen = IsWindowVisible(d) != FALSE;
            PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
        },
    });
    TestSettingDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(boss, L"F10");
    EXPECT_EQ(sw, L"Ctrl  +  Tab");
    EXPECT_EQ(sound, L"Ctrl  +  Q");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(Stored(L"ShortKey"), L"<missing>");
}

TEST_F(SettingDialog, BackspaceClearsTheBossKeyAndOkStoresIt) {
    std::wstring shown;
    Script::Run({
        [&](HWND d) { PressIn(d, IDC_BOSS_EDIT, VK_BACK); },
        [&](HWND d) { PressIn(d, IDC_SOUND_EDIT, 'M'); },
        [&](HWND d) {
            shown = EditText(d, IDC_BOSS_EDIT) + L"|" + EditText(d, IDC_SOUND_EDIT);
            PostMessageW(d, WM_COMMAND, IDOK, 0);
        },
    });
    TestSettingDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, L"无|M");
    EXPECT_EQ(Stored(L"ShortKey"), L"0,0");
    EXPECT_EQ(Stored(L"SndKey"), L"0,77");
    EXPECT_EQ(Stored(L"AltWndKey"), L"2,9");
    EXPECT_EQ(vorel::ReadBossKeySetting().virtualKey, 0);
}

TEST_F(SettingDialog, ConflictingRowsShowTheMessageAndSaveNothing) {
    std::wstring boxText;
    bool dialogStayed = false;
    Script::Run({
        [&](HWND d) { PressIn(d, IDC_BOSS_EDIT, 'K'); },
        [&](HWND d) { PressIn(d, IDC_SOUND_EDIT, 'K'); },
        [&](HWND d) { PostMessageW(d, WM_COMMAND, IDOK, 0); },
        [&](HWND d) {
            HWND box = VisibleDialogOfThisThread(d);
            if (!box) return Script::Again();
            wchar_t title[64] = L"";
            GetWindowTextW(box, title, 64);
            boxText = title;
            // The box ignores IDOK (that is what Enter sends); its own button answers.
            HWND ok = FindWindowExW(box, nullptr, L"Button", nullptr);
            PostMessageW(ok, BM_CLICK, 0, 0);
        },
        [&](HWND d) {
            dialogStayed = IsWindowVisible(d) != FALSE;
            PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
        },
    });
    TestSettingDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(boxText, L"Vorel - Tolv");
    EXPECT_TRUE(dialogStayed);
    EXPECT_EQ(Stored(L"ShortKey"), L"<missing>");
    EXPECT_EQ(Stored(L"SndKey"), L"<missing>");
}

TEST_F(SettingDialog, StoredValuesWithoutAKeyShowNone) {
    WriteIniValue(Ini(), L"TolvVorel", L"ShortKey", L"121");
    WriteIniValue(Ini(), L"TolvVorel", L"SndKey", L"4,0");
    std::wstring boss, sound;
    Script::Run({[&](HWND d) {
        boss = EditText(d, IDC_BOSS_EDIT);
        sound = EditText(d, IDC_SOUND_EDIT);
        PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    }});
    TestSettingDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(boss, L"无");
    EXPECT_EQ(sound, L"无");
}

TEST(HotkeyNotification, ReachesTopLevelDialogsTitledLikeTheMainWindow) {
    // A top-level "#32770" window titled like the main window, and one titled otherwise.
    HWND main = CreateWindowExW(0, L"#32770", L"Vorel - Tolv", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
    HWND other = CreateWindowExW(0, L"#32770", L"Something else", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    EXPECT_GE(vorel::NotifyMainWindowsOfHotkeyChange(), 1);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, main, WM_USER + 4, WM_USER + 4, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, other, WM_USER + 4, WM_USER + 4, PM_REMOVE));
    DestroyWindow(main);
    DestroyWindow(other);
}
