// The real TolvVorel.exe as a game-window process, with a window of this test as its main
// window: the game hall's arrival and end, and a cancelled login.
#include <gtest/gtest.h>

#include "support/LauncherScenario.h"
#include "support/PublisherTestSupport.h"
#include "support/WebTestSupport.h"

using namespace testsupport;
using webtest::MainWindowStandIn;

namespace {

class GameProcess : public ::testing::Test {
protected:
    void SetUp() override { exe = PlaceLauncher(L"C:\\vorel-e2e\\web"); }
    void TearDown() override {
        if (process.hProcess) {
            if (::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                ::TerminateProcess(process.hProcess, 1);
            ::CloseHandle(process.hProcess);
            ::CloseHandle(process.hThread);
        }
        DeleteTree(L"C:\\vorel-e2e\\web");
    }
    // The decimal handle, as the main window writes it.
    static std::wstring Decimal(HWND wnd) {
        return std::to_wstring(static_cast<long>(reinterpret_cast<INT_PTR>(wnd)));
    }
    bool Start(const std::wstring& arguments) {
        std::wstring line = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW si = {sizeof(si)};
        return ::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &si, &process) != FALSE;
    }

    std::wstring exe;
    PROCESS_INFORMATION process = {};
};

// The login picture of process pid: its visible, layered top-level dialog with a taskbar
// button (the page window above it is a tool window).
HWND FindLoginPicture(DWORD pid) {
    return FindTopLevelWindow([pid](HWND wnd) {
        wchar_t cls[16] = L"";
        ::GetClassNameW(wnd, cls, 16);
        const LONG_PTR ex = ::GetWindowLongPtrW(wnd, GWL_EXSTYLE);
        return ProcessOf(wnd) == pid && lstrcmpW(cls, L"#32770") == 0 && ::IsWindowVisible(wnd) &&
               (ex & WS_EX_LAYERED) && !(ex & WS_EX_TOOLWINDOW);
    });
}

}  // namespace

TEST_F(GameProcess, TheHallArrivesAsAChildAndEndsWithinASecondOfTheMainWindow) {
    MainWindowStandIn main;
    ASSERT_TRUE(Start(L"/gmhall /" + Decimal(main.hwnd())));
    ASSERT_TRUE(WaitFor([&] { return !main.Messages(WM_USER + 2).empty(); }, 30000));
    const auto arrived = main.Messages(WM_USER + 2);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].lParam, 1);
    HWND frame = reinterpret_cast<HWND>(arrived[0].wParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(frame, &owner);
    EXPECT_EQ(owner, process.dwProcessId);
    ASSERT_TRUE(WaitFor([&] { return ::GetAncestor(frame, GA_PARENT) == main.hwnd(); }, 5000));
    // The hall's page is asked for on the client web host.
    EXPECT_TRUE(WaitFor([] { return !LogEntriesFor("/webgame.htm").empty(); }, 10000));
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    main.Destroy();
    const DWORD start = ::GetTickCount();
    ASSERT_EQ(::WaitForSingleObject(process.hProcess, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_LE(::GetTickCount() - start, 1000u);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

TEST_F(GameProcess, ACancelledLoginAsksTheMainWindowToCloseTheTab) {
    MainWindowStandIn main;
    ASSERT_TRUE(Start(L"/newgm /" + Decimal(main.hwnd()) + L" /0"));
    HWND picture = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (picture = FindLoginPicture(process.dwProcessId)); }, 30000));
    RECT rect;
    ::GetWindowRect(picture, &rect);
    EXPECT_EQ(rect.right - rect.left, 1005);
    EXPECT_EQ(rect.bottom - rect.top, 569);
    // The login page is asked for; the main window is disabled while the login runs.
    EXPECT_TRUE(WaitFor([] { return !LogEntriesFor("/wd/index.php").empty(); }, 10000));
    EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));
    EXPECT_TRUE(main.Messages(WM_SYSCOMMAND).empty());

    // Escape while the picture has the keyboard: the framework's cancel.
    ::PostMessageW(picture, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ASSERT_TRUE(WaitFor([&] { return !main.Messages(WM_SYSCOMMAND).empty(); }, 10000));
    const auto close = main.Messages(WM_SYSCOMMAND);
    ASSERT_EQ(close.size(), 1u);
    EXPECT_EQ(close[0].wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(close[0].lParam, 7261);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
    EXPECT_TRUE(main.Messages(WM_COPYDATA).empty());
    EXPECT_TRUE(main.Messages(WM_USER + 2).empty());
}

TEST_F(GameProcess, ALoginWithoutItsMainWindowEndsAtOnce) {
    ASSERT_TRUE(Start(L"/newgm /0 /0"));
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(FindLoginPicture(process.dwProcessId), nullptr);
}
