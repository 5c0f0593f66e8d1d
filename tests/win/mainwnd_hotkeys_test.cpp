// The main window's keyboard hook with keys sent through the system's input path, as the
// player presses them in any application: the boss key, the sound key and the sound button,
// and the hotkeys read again after a change.
#include "app/SettingsStore.h"
#include "mainwnd/KeyboardHook.h"
#include "support/KeyInput.h"
#include "support/MainWindowTestSupport.h"

using namespace mwtest;
using namespace testsupport;

namespace {

int CountLines(const StandIn& s, const std::wstring& line) {
    int n = 0;
    for (const std::wstring& l : s.Log()) n += l == line;
    return n;
}

// A window on a thread of its own that takes the keyboard, as the game window of a game
// process or any other program does. Keys pressed into a window of the main window's own
// thread would race the hook: the hook is called before that thread has read the modifier
// key's message, which no player's setup ever arranges. There is one for the test process,
// which ends it with its thread: its window's end would move the activation between threads
// while the test's own windows are going.
class KeyboardElsewhere {
public:
    KeyboardElsewhere() {
        m_ready.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
        m_thread.reset(::CreateThread(nullptr, 0, &KeyboardElsewhere::Run, this, 0, &m_threadId));
        if (m_thread) ::WaitForSingleObject(m_ready.get(), 10000);
    }
    // Takes the keyboard back (a restored main window takes it); pumps `idle` meanwhile.
    bool Take(const std::function<void()>& idle) {
        if (!m_window) return false;
        ::PostThreadMessageW(m_threadId, kMsgTake, 0, 0);
        return WaitFor([&] { return HasTheKeyboard(); }, 10000, idle);
    }

private:
    static constexpr UINT kMsgTake = WM_APP + 1;
    bool HasTheKeyboard() const {
        GUITHREADINFO info = {sizeof(info)};
        return ::GetGUIThreadInfo(m_threadId, &info) && info.hwndFocus == m_window;
    }
    static DWORD WINAPI Run(LPVOID param) {
        auto* self = static_cast<KeyboardElsewhere*>(param);
        self->m_window = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 0, 60, 20,
                                           nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetEvent(self->m_ready.get());
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.hwnd == nullptr && msg.message == kMsgTake) {
                ::SetForegroundWindow(self->m_window);
                ::SetFocus(self->m_window);
                continue;
            }
            ::DispatchMessageW(&msg);
        }
        return 0;
    }
    fw::ScopedHandle m_ready;
    fw::ScopedHandle m_thread;
    DWORD m_threadId = 0;
    HWND m_window = nullptr;
};

class HotkeyTest : public DefaultHotkeysTest {
protected:
    // Pressed while another program has the keyboard, as in a game or anywhere else.
    bool Press(std::initializer_list<WORD> modifiers, WORD key) {
        auto pump = [this] { Pump(5); };
        static auto* keyboard = new KeyboardElsewhere;
        if (!keyboard->Take(pump)) return false;
        return PressKeysWhilePumping(modifiers, key, pump);
    }
    bool WaitForVisible(bool visible) {
        return WaitUntil([&] { return (IsWindowVisible(Main()) != FALSE) == visible; });
    }
};
}  // namespace

TEST_F(HotkeyTest, BeforeTheFirstTabNeitherKeyActsAfterwardsTheBossKeyHidesAndRestoresAll) {
    ASSERT_TRUE(vorel::KeyboardHookInstalled());
    ASSERT_TRUE(Press({}, VK_F10));
    ASSERT_TRUE(Press({VK_CONTROL}, 'Q'));
    Pump(400);
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(m_dlg->m_muted);

    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    ASSERT_TRUE(IsWindowVisible(bob.Frame()));
    ASSERT_TRUE(Press({}, VK_F10));
    ASSERT_TRUE(WaitForVisible(false)) << "the boss key did not hide the window";
    // The tab frames are children: hidden with it.
    EXPECT_FALSE(IsWindowVisible(bob.Frame()));
    EXPECT_FALSE(IsWindowVisible(m_first.Frame()));
    // With Shift held it is another combination.
    ASSERT_TRUE(Press({VK_SHIFT}, VK_F10));
    Pump(300);
    EXPECT_FALSE(IsWindowVisible(Main()));
    ASSERT_TRUE(Press({}, VK_F10));
    ASSERT_TRUE(WaitForVisible(true)) << "the boss key did not restore the window";
    EXPECT_TRUE(IsWindowVisible(bob.Frame()));
    EXPECT_FALSE(IsWindowVisible(m_first.Frame()));  // not the current tab
    EXPECT_EQ(m_dlg->TabCount(), 2);
    EXPECT_FALSE(m_dlg->m_muted);
    EXPECT_FALSE(m_quit);
}

TEST_F(HotkeyTest, TheSoundKeyAndTheSoundButtonSwitchOneFlagThatTheTabsReceive) {
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    for (const StandIn* s : {&m_first, &bob})
        ASSERT_TRUE(s->WaitForLine(L"mute 0", 3000, Pumping()));
    HWND button = GetDlgItem(Main(), IDC_SOUND);
    auto click = [&] {
        SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_SOUND, BN_CLICKED), LPARAM(button));
    };
    auto tabsSay = [&](const wchar_t* line, int times) {
        return WaitUntil(
            [&] { return CountLines(m_first, line) == times && CountLines(bob, line) == times; });
    };

    ASSERT_TRUE(Press({VK_CONTROL}, 'Q'));
    EXPECT_TRUE(WaitUntil([&] { return m_dlg->m_muted != FALSE; })) << "the sound key did nothing";
    EXPECT_TRUE(tabsSay(L"mute 1", 1));
    // Q alone is only a letter.
    ASSERT_TRUE(Press({}, 'Q'));
    Pump(200);
    EXPECT_TRUE(m_dlg->m_muted);
    click();
    EXPECT_FALSE(m_dlg->m_muted);
    EXPECT_TRUE(tabsSay(L"mute 0", 2));
    // The key after the button unmutes.
    click();
    EXPECT_TRUE(tabsSay(L"mute 1", 2));
    ASSERT_TRUE(Press({VK_CONTROL}, 'Q'));
    EXPECT_TRUE(WaitUntil([&] { return m_dlg->m_muted == FALSE; }));
    EXPECT_TRUE(tabsSay(L"mute 0", 3));
    EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(HotkeyTest, ChangedHotkeysReachEveryGameWindowAndOnlyTheNewBossKeyActs) {
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    StandIn hall = StartStandIn(L"/gmhall /" + HandleText(Main()), Pumping());
    ASSERT_TRUE(hall);
    ASSERT_TRUE(WaitUntil([&] { return hall.Frame() && m_dlg->HallWindow() == hall.Frame(); }));

    // What the settings dialog writes and posts when it saves Ctrl+B and no sound key.
    StoreHotkey(L"ShortKey", L"2,66");
    StoreHotkey(L"SndKey", L"0,0");
    PostMessageW(Main(), vorel::kMsgHotkeysChanged, 0, 0);
    for (const StandIn* s : {&m_first, &bob, &hall}) {
        EXPECT_TRUE(s->WaitForLine(L"hotkeys", 5000, Pumping()));
    }
    EXPECT_EQ(m_dlg->m_bossKey.virtualKey, 'B');
    EXPECT_EQ(m_dlg->m_bossKey.modifier, vorel::kModCtrl);

    // Events are handled in order: were F10 still the boss key, Ctrl+B would restore again.
    ASSERT_TRUE(Press({}, VK_F10));
    ASSERT_TRUE(Press({VK_CONTROL}, 'B'));
    EXPECT_TRUE(WaitForVisible(false));
    Pump(300);
    EXPECT_FALSE(IsWindowVisible(Main()));
    ASSERT_TRUE(Press({VK_CONTROL}, 'B'));
    EXPECT_TRUE(WaitForVisible(true));
    ASSERT_TRUE(Press({VK_CONTROL}, 'Q'));
    Pump(300);
    EXPECT_FALSE(m_dlg->m_muted);
}

TEST_F(HotkeyTest, TheHookProcedureReturnsBeforeTheWindowChangesAndReadsCtrlFromItsOwnEvents) {
    LogIn(m_first, kAlice);
    auto hook = [](DWORD vk, UINT message) {
        KBDLLHOOKSTRUCT event = {};
        event.vkCode = vk;
        vorel::KeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&event));
    };
    // The hide waits for windows of other processes: it runs after the hook has returned.
    hook(VK_F10, WM_SYSKEYDOWN);
    EXPECT_TRUE(IsWindowVisible(Main())) << "hidden inside the hook procedure";
    hook(VK_F10, WM_SYSKEYUP);
    EXPECT_TRUE(WaitForVisible(false)) << "the boss key was not carried out afterwards";

    // Ctrl went down where this thread never saw it (its own key state has no Ctrl): the
    // hook's event is what counts. The flag, too, changes only after the hook has returned.
    ASSERT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
    hook(VK_LCONTROL, WM_KEYDOWN);
    hook('Q', WM_KEYDOWN);
    EXPECT_FALSE(m_dlg->m_muted);
    EXPECT_TRUE(WaitUntil([&] { return m_dlg->m_muted != FALSE; })) << "Ctrl+Q was not seen";
    hook('Q', WM_KEYUP);
    hook(VK_LCONTROL, WM_KEYUP);
    // Released, Q alone is a letter again.
    hook('Q', WM_KEYDOWN);
    hook('Q', WM_KEYUP);
    hook(VK_F10, WM_SYSKEYDOWN);
    EXPECT_TRUE(WaitForVisible(true));
    EXPECT_TRUE(m_dlg->m_muted);
}
