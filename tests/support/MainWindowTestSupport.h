// Shared by the main-window tests: a main window in this process whose accounts are stand-in
// game processes, a message pump that notices the quit message, and an answerer for the
// skinned message boxes that the window asks.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/SettingsStore.h"
#include "fw/App.h"
#include "mainwnd/Ambrel3Dlg.h"
#include "mainwnd/MainWindowRules.h"
#include "res/resource.h"
#include "support/StandIn.h"
#include "support/WinTestSupport.h"
#include "ui/MessageBoxDlg.h"
#include "ui/MessageBoxLayout.h"

namespace mwtest {

using testsupport::StandIn;

// Answers every skinned message box of this thread from a queue of buttons (5000 first,
// 5001 second), recording type and text. Runs from a thread timer, so that it also works
// inside the box's own modal loop.
class BoxAnswerer {
public:
    struct Seen {
        int type;
        std::wstring text;
    };
    BoxAnswerer() {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 20, &BoxAnswerer::OnTimer);
    }
    ~BoxAnswerer() {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    void Answer(int buttonId) { m_answers.push_back(buttonId); }
    std::vector<Seen> seen() const { return m_seen; }
    void Clear() { m_seen.clear(); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (s_current) ::EnumThreadWindows(::GetCurrentThreadId(), &BoxAnswerer::OnWindow, 0);
    }
    static BOOL CALLBACK OnWindow(HWND wnd, LPARAM) {
        auto* box = dynamic_cast<vorel::CMessageBox*>(fw::Wnd::FromHandlePermanent(wnd));
        if (!box || !::IsWindowVisible(wnd) || s_current->m_handled == wnd) return TRUE;
        s_current->m_handled = wnd;
        s_current->m_seen.push_back({box->m_type, box->m_text});
        int id = vorel::kMessageButton2;  // unanswered questions are declined
        if (!s_current->m_answers.empty()) {
            id = s_current->m_answers.front();
            s_current->m_answers.pop_front();
        }
        if (!::GetDlgItem(wnd, id)) id = vorel::kMessageButton1;
        ::PostMessageW(wnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(wnd, id)));
        return TRUE;
    }

    static inline BoxAnswerer* s_current = nullptr;
    UINT_PTR m_timer = 0;
    HWND m_handled = nullptr;
    std::deque<int> m_answers;
    std::vector<Seen> m_seen;
};

constexpr int kYes = vorel::kMessageButton1;
constexpr int kNo = vorel::kMessageButton2;

// The accounts the tests log in, as the login page captions them.
inline const std::wstring kAlice = L"1服-龙城-alice";
inline const std::wstring kBob = L"1服-龙城-bob";
inline const std::wstring kCarol = L"2服-凤鸣-carol";

// The settings file beside the test executable, where the main window reads its hotkeys.
inline std::wstring Ini() { return vorel::BesideExePath(L"Statistic.ini"); }
inline void StoreHotkey(const wchar_t* key, const wchar_t* value) {
    ::WritePrivateProfileStringW(L"TolvVorel", key, value, Ini().c_str());
}
inline void ForgetStoredHotkeys() {
    for (const wchar_t* key : {L"ShortKey", L"AltWndKey", L"SndKey"}) StoreHotkey(key, nullptr);
}

// This thread's key state with Ctrl held, as GetKeyState reads it.
class CtrlHeld {
public:
    CtrlHeld() {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        memcpy(state, m_saved, sizeof(state));
        state[VK_CONTROL] = 0x80;
        ::SetKeyboardState(state);
    }
    ~CtrlHeld() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::PrepareStandInDir();
        m_dlg = std::make_unique<vorel::CAmbrel3Dlg>();
        m_dlg->m_programPath = testsupport::StandInProgram();
        ASSERT_TRUE(m_dlg->Create());
        m_first = NewStandIn();
        ASSERT_TRUE(m_first) << "the main window started no game process";
    }
    void TearDown() override {
        for (const StandIn& s : testsupport::RunningStandIns()) s.Command(L"quit");
        testsupport::WaitFor([] { return testsupport::RunningStandIns().empty(); }, 3000);
        testsupport::EndAllStandIns();
        m_dlg.reset();
        Pump();
    }

    HWND Main() const { return m_dlg->m_hWnd; }

    // Dispatches this thread's messages as the modal loop would, for at least `ms`.
    void Pump(DWORD ms = 0) {
        testsupport::PumpMessages(nullptr, ms, testsupport::OnQuit::GoOn, &m_quit);
    }
    testsupport::Idle Pumping() {
        return [this] { Pump(10); };
    }
    bool WaitUntil(const std::function<bool()>& done, DWORD ms = 20000) {
        return testsupport::WaitFor(done, ms, Pumping());
    }

    // The next game process the main window starts.
    StandIn NewStandIn() {
        const std::set<DWORD> known = m_known;
        StandIn s = testsupport::WaitForNewStandIn(known, 30000, Pumping());
        if (s) m_known.insert(s.pid);
        return s;
    }
    // Logs an account in through a stand-in and waits until its frame is a tab (and shown).
    void LogIn(const StandIn& s, const std::wstring& caption) {
        const int before = m_dlg->TabCount();
        ASSERT_TRUE(s.Command(L"login " + caption));
        ASSERT_TRUE(WaitUntil([&] { return m_dlg->TabCount() == before + 1; }))
            << "no tab for " << testsupport::HandleText(s.Frame()).c_str();
        ASSERT_TRUE(s.WaitForLine(L"shown", 15000, Pumping()));
    }
    // Asks for a new tab as the "是" of the new-tab choice does, and logs it in.
    StandIn AddTab(const std::wstring& caption) {
        ::PostMessageW(Main(), vorel::kMsgNewTabChoice, 1, 0);
        StandIn s = NewStandIn();
        EXPECT_TRUE(s);
        if (s) LogIn(s, caption);
        return s;
    }
    POINT ClientToScreenPoint(int x, int y) const {
        POINT p = {x, y};
        ::ClientToScreen(Main(), &p);
        return p;
    }
    RECT ClientRectOf(HWND child) const {
        RECT r;
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    std::unique_ptr<vorel::CAmbrel3Dlg> m_dlg;
    StandIn m_first;
    std::set<DWORD> m_known;
    bool m_quit = false;
};

// The window opens with the default hotkeys (F10, Ctrl+Tab, Ctrl+Q), whatever a test stores.
class DefaultHotkeysTest : public MainWindowTest {
protected:
    void SetUp() override {
        ForgetStoredHotkeys();
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        ForgetStoredHotkeys();
    }
};

}  // namespace mwtest
