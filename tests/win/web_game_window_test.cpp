// The game window in this process under Wine: the frame made by the start-up steps with a
// stand-in main window on another thread as parent, its keys, timers and mute requests, and
// the game hall's command driven by real navigations of the view's browser.
#include <gtest/gtest.h>

#include <memory>

#include "app/SettingsStore.h"
#include "fw/DocView.h"
#include "res/resource.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"
#include "ui/MessageBoxDlg.h"
#include "ui/MessageBoxLayout.h"
#include "net/DownGameDlg.h"
#include "web/FavDlg.h"
#include "web/GameWindow.h"
#include "web/GameWindowProcess.h"
#include "web/GmWndView.h"
#include "web/MainFrame.h"
#include "web/WebAddresses.h"
#include "support/WebTestSupport.h"

using namespace webtest;

namespace {

// The view with the shell's side effects recorded instead of done.
class RecordingView : public vorel::CGmWndView {
public:
    HRESULT Refresh() override {
        ++refreshes;
        return S_OK;
    }
    void OnBeforeNavigate2(const wchar_t* url, DWORD flags, const wchar_t* target, VARIANT* post,
                           const wchar_t* headers, BOOL* cancel) override {
        CGmWndView::OnBeforeNavigate2(url, flags, target, post, headers, cancel);
        navigations.push_back(url);
        cancels.push_back(*cancel);
    }
    std::vector<std::wstring> navigations;
    std::vector<BOOL> cancels;
    int refreshes = 0;
    std::vector<std::wstring> started, downloads, opened;
    INT_PTR answer = IDCANCEL;
    bool realQuestion = false;
    bool realDownload = false;

protected:
    void StartClient(const std::wstring& path) override { started.push_back(path); }
    void OfferDownload(const std::wstring& stem) override {
        downloads.push_back(stem);
        if (realDownload) CGmWndView::OfferDownload(stem);
    }
    void OpenSite(const std::wstring& address) override { opened.push_back(address); }
    INT_PTR AskToDownload() override { return realQuestion ? CGmWndView::AskToDownload() : answer; }
};

// The frame with the mute states it hands to the sound code recorded.
class RecordingFrame : public vorel::CMainFrame {
public:
    std::vector<bool> applied;

protected:
    void ApplyMute(bool muted) override { applied.push_back(muted); }
};

// A message to the frame as the message loop would hand it over.
MSG FrameMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = frame;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

void HoldCtrl(bool down) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_LCONTROL] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

bool QuitPosted(DWORD timeoutMs, DWORD* elapsed) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                *elapsed = ::GetTickCount() - start;
                return true;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

class GameWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.ok());
        main = std::make_unique<MainWindowStandIn>();
        vorel::GameWindowState& state = vorel::TheGameWindow();
        state.parentMainWindow = main->hwnd();
        state.gameAddress = vorel::kGameHallPageUrl;
    }
    void TearDown() override {
        HoldCtrl(false);
        if (m_window) m_window.reset();
        vorel::EndGameWindowProcess();
        main.reset();
        ::DeleteFileW(vorel::BesideExePath(L"Statistic.ini").c_str());
    }
    // The frame, document and view as the start-up makes them, with a recording view.
    void Open() {
        m_window = std::make_unique<fw::SingleDocWindow>();
        ASSERT_TRUE(m_window->Open(IDR_MAINFRAME, std::make_unique<vorel::CGmWndDoc>(),
                                   std::make_unique<RecordingFrame>(),
                                   std::make_unique<RecordingView>(), FALSE));
        frame = static_cast<RecordingFrame*>(m_window->Frame());
        view = static_cast<RecordingView*>(frame->GetActiveView());
        ASSERT_EQ(vorel::TheGameWindow().view, view);
    }
    bool Navigate(const std::wstring& url) {
        const size_t before = view->navigations.size();
        view->Navigate2(url.c_str());
        return PumpUntil([&] { return view->navigations.size() > before; }, 5000);
    }

    ProcessEnvironment env;
    fw::App app;
    std::unique_ptr<MainWindowStandIn> main;
    std::unique_ptr<fw::SingleDocWindow> m_window;
    RecordingFrame* frame = nullptr;
    RecordingView* view = nullptr;
};

}  // namespace

TEST_F(GameWindow, TheHallAnnouncesItselfWithOneAndBecomesAHiddenChildOfTheMainWindow) {
    ASSERT_TRUE(vorel::StartGameWindowProcess(app, false, main->hwnd(), 0));
    HWND wnd = app.m_pMainWnd->m_hWnd;
    ASSERT_TRUE(PumpUntil([&] { return !main->Messages(WM_USER + 2).empty(); }, 3000));
    auto arrived = main->Messages(WM_USER + 2);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].wParam, reinterpret_cast<WPARAM>(wnd));
    EXPECT_EQ(arrived[0].lParam, 1);
    EXPECT_EQ(::GetAncestor(wnd, GA_PARENT), main->hwnd());
    EXPECT_FALSE(::IsWindowVisible(wnd));
    wchar_t title[64] = L"";
    ::GetWindowTextW(wnd, title, 64);
    EXPECT_STREQ(title, L"Vorel - Tolv");
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & (WS_EX_APPWINDOW | WS_EX_CLIENTEDGE));
    auto* gameView = static_cast<fw::FrameWnd*>(app.m_pMainWnd)->GetActiveView();
    ASSERT_NE(gameView, nullptr);
    EXPECT_FALSE(gameView->GetExStyle() & WS_EX_CLIENTEDGE);
    // The view goes to the game-hall page, with the browser's border and scroll bars.
    EXPECT_TRUE(PumpUntil([] { return !LogEntriesFor("/webgame.htm").empty(); }, 5000));
    DOCHOSTUIINFO info = {sizeof(info)};
    static_cast<vorel::CGmWndView*>(gameView)->OnGetHostInfo(&info);
    EXPECT_EQ(info.dwFlags, 0u);
}

TEST_F(GameWindow, AGameAnnouncesItselfWithZeroAndShowsNoBorderOrScrollBars) {
    const std::string path = TestPath("game.htm");
    vorel::TheGameWindow().gameAddress = PublisherUrl(Widen(path));
    Open();
    ASSERT_TRUE(PumpUntil([&] { return !main->Messages(WM_USER + 2).empty(); }, 3000));
    EXPECT_EQ(main->Messages(WM_USER + 2)[0].lParam, 0);
    EXPECT_EQ(main->Messages(WM_USER + 2)[0].wParam, reinterpret_cast<WPARAM>(frame->m_hWnd));
    EXPECT_TRUE(PumpUntil([&] { return !LogEntriesFor(path).empty(); }, 5000));
    DOCHOSTUIINFO info = {sizeof(info)};
    info.dwFlags = 0x10;
    view->OnGetHostInfo(&info);
    EXPECT_EQ(info.dwFlags, 0x1Cu);
}

TEST_F(GameWindow, EveryCompletedNavigationFitsTheFrameIntoTheMainWindow) {
    Open();
    for (int width : {900, 640}) {
        ::SetWindowPos(main->hwnd(), nullptr, 0, 0, width, 500, SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        ::GetClientRect(main->hwnd(), &client);
        view->OnNavigateComplete2(L"http://game.test/p1");
        RECT placed;
        ::GetWindowRect(frame->m_hWnd, &placed);
        ::MapWindowPoints(nullptr, main->hwnd(), reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, 4);
        EXPECT_EQ(placed.top, 30);
        EXPECT_EQ(placed.right, client.right - 4);
        EXPECT_EQ(placed.bottom, client.bottom - 4);
        EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd));
    }
    EXPECT_EQ(vorel::TheGameWindow().pageAddress, L"http://game.test/p1");
    view->OnTitleChange(L"龙腾四海 - 3服");
    EXPECT_EQ(vorel::TheGameWindow().pageTitle, L"龙腾四海 - 3服");
}

TEST_F(GameWindow, TheWindowSwitchKeyIsPostedToTheMainWindow) {
    Open();
    HoldCtrl(true);
    MSG tab = FrameMessage(frame->m_hWnd, WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_TRUE(frame->PreTranslateMessage(&tab));
    // The same key marked as our own is not the player's.
    MSG own = FrameMessage(frame->m_hWnd, WM_KEYDOWN, VK_TAB, 7261);
    EXPECT_FALSE(frame->PreTranslateMessage(&own));
    HoldCtrl(false);
    MSG plain = FrameMessage(frame->m_hWnd, WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_FALSE(frame->PreTranslateMessage(&plain));
    ASSERT_TRUE(PumpUntil([&] { return !main->Messages(WM_KEYDOWN).empty(); }, 2000));
    Pump(100);
    auto keys = main->Messages(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_TAB));
    EXPECT_EQ(keys[0].lParam, 0x000F0001);
}

TEST_F(GameWindow, F5ReloadsUnlessItIsAHotkeyAndThenOnlyFromTheMainWindow) {
    Open();
    MSG f5 = FrameMessage(frame->m_hWnd, WM_KEYDOWN, VK_F5, 0x003F0001);
    EXPECT_TRUE(frame->PreTranslateMessage(&f5));
    EXPECT_EQ(view->refreshes, 1);

    // F5 as the boss key, read again on the main window's request.
    ::WritePrivateProfileStringW(L"TolvVorel", L"ShortKey", L"0,116",
                                 vorel::BesideExePath(L"Statistic.ini").c_str());
    frame->SendMessage(WM_USER + 7);
    EXPECT_TRUE(frame->PreTranslateMessage(&f5));
    EXPECT_EQ(view->refreshes, 1);
    MSG forwarded = FrameMessage(frame->m_hWnd, WM_KEYDOWN, VK_F5, 7261);
    EXPECT_TRUE(frame->PreTranslateMessage(&forwarded));
    EXPECT_EQ(view->refreshes, 2);
}

TEST_F(GameWindow, CtrlDOffersTheCurrentPageAsAFavourite) {
    Open();
    vorel::TheGameWindow().pageTitle = L"龙腾四海";
    vorel::TheGameWindow().pageAddress = L"http://game.test/p";
    std::wstring proposed, caption;
    TimerSteps close([&] {
        auto* window = testsupport::WindowOfThisThread<vorel::CFavDlg>();
        if (!window) return false;
        const HWND found = window->m_hWnd;
        wchar_t text[256] = L"";
        ::GetDlgItemTextW(found, 1018, text, 256);
        proposed = text;
        ::GetWindowTextW(found, text, 256);
        caption = text;
        ::PostMessageW(found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    });
    MSG ctrlD = FrameMessage(frame->m_hWnd, WM_CHAR, 4, 0x00200001);
    EXPECT_TRUE(frame->PreTranslateMessage(&ctrlD));
    EXPECT_TRUE(close.Finished());
    EXPECT_EQ(proposed, L"龙腾四海");
    EXPECT_EQ(caption, L"添加收藏");
}

TEST_F(GameWindow, ACloseRequestDestroysOneLeftoverPageMessageBox) {
    Open();
    HWND first = ::CreateWindowExW(0, L"#32770", L"来自网页的消息", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, nullptr, nullptr);
    HWND second = ::CreateWindowExW(0, L"#32770", L"Windows Internet Explorer", WS_POPUP, 0, 0, 10,
                                    10, nullptr, nullptr, nullptr, nullptr);
    // Same title, not a dialog: not a page message box.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"来自网页的消息", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, nullptr, nullptr);
    ASSERT_TRUE(first && second && other);
    MSG close = FrameMessage(frame->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(frame->PreTranslateMessage(&close));  // passed on to the window
    Pump(400);
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_TRUE(::IsWindow(second));
    EXPECT_TRUE(::IsWindow(other));
    // The timer ran once: nothing more goes without another close request.
    Pump(300);
    EXPECT_TRUE(::IsWindow(second));
    EXPECT_FALSE(frame->PreTranslateMessage(&close));
    Pump(400);
    EXPECT_FALSE(::IsWindow(second));
    ::DestroyWindow(other);
}

TEST_F(GameWindow, MuteRequestsReachTheSoundCodeWhenTheStateChanges) {
    Open();
    // The first request applies even when it asks for sound on; repeats do not.
    EXPECT_EQ(frame->SendMessage(WM_USER + 5, 0, 0), 0);
    EXPECT_EQ(frame->SendMessage(WM_USER + 5, 0, 0), 0);
    EXPECT_EQ(frame->SendMessage(WM_USER + 5, 1, 0), 0);
    EXPECT_EQ(frame->SendMessage(WM_USER + 5, 1, 0), 0);
    EXPECT_EQ(frame->SendMessage(WM_USER + 5, 0, 0), 0);
    EXPECT_EQ(frame->applied, (std::vector<bool>{false, true, false}));
    EXPECT_FALSE(frame->Mute().Muted());
}

TEST_F(GameWindow, TheProcessEndsWithin800msOfTheMainWindowsEnd) {
    ASSERT_TRUE(vorel::StartGameWindowProcess(app, false, main->hwnd(), 0));
    // The main window gone without taking the frame along (another process's window that
    // died): only the watch timer notices.
    vorel::TheGameWindow().parentMainWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7ff0));
    DWORD elapsed = 0;
    ASSERT_TRUE(QuitPosted(3000, &elapsed));
    // One 800-ms period, and room for a busy machine's late timer.
    EXPECT_LE(elapsed, 1600u);
}

TEST_F(GameWindow, DestroyingTheMainWindowTakesTheFrameAndEndsTheLoop) {
    ASSERT_TRUE(vorel::StartGameWindowProcess(app, false, main->hwnd(), 0));
    HWND wnd = app.m_pMainWnd->m_hWnd;
    main->Destroy();
    DWORD elapsed = 0;
    ASSERT_TRUE(QuitPosted(2000, &elapsed));
    EXPECT_FALSE(::IsWindow(wnd));
}

TEST_F(GameWindow, EnterGameStartsAnInstalledClient) {
    Open();
    testsupport::EnsureDir(testsupport::ProductFolder());
    const std::wstring client = testsupport::ProductFolder() + L"\\Testgame.exe";
    testsupport::WriteFileBytes(client, "MZ");
    ASSERT_TRUE(Navigate(L"app://entergame|testgame|http://site.test/"));
    ::DeleteFileW(client.c_str());
    EXPECT_EQ(view->cancels.back(), TRUE);
    ASSERT_EQ(view->started.size(), 1u);
    EXPECT_EQ(view->started[0], client);
    EXPECT_TRUE(view->opened.empty());
}

TEST_F(GameWindow, EnterGameWithoutTheClientOffersTheDownloadOrOpensTheSite) {
    Open();
    view->answer = IDCANCEL;
    ASSERT_TRUE(Navigate(L"app://entergame|nosuchgame|http://site.test/dl"));
    EXPECT_EQ(view->cancels.back(), TRUE);
    ASSERT_EQ(view->opened.size(), 1u);
    EXPECT_EQ(view->opened[0], L"http://site.test/dl");
    // Not a web address: the game-hall home page instead.
    ASSERT_TRUE(Navigate(L"app://entergame|nosuchgame|file:///C:/windows/notepad.exe"));
    ASSERT_EQ(view->opened.size(), 2u);
    EXPECT_EQ(view->opened[1], vorel::kHallSiteHome);
    // OK: the download, and the hall stays on its page.
    view->answer = IDOK;
    ASSERT_TRUE(Navigate(L"app://entergame|nosuchgame"));
    ASSERT_EQ(view->downloads.size(), 1u);
    EXPECT_EQ(view->downloads[0], L"Nosuchgame");
    EXPECT_EQ(view->opened.size(), 2u);
    EXPECT_TRUE(view->started.empty());
}

TEST_F(GameWindow, EnterGameWithANameThatIsNotAPlainFileNameDoesNothing) {
    Open();
    view->answer = IDOK;
    for (const wchar_t* url :
         {L"app://entergame|..\\..\\windows\\system32\\calc|http://x/", L"app://entergame|",
          L"app://entergame||http://x/", L"app://entergame|c:cmd", L"app://entergame|con"}) {
        ASSERT_TRUE(Navigate(url)) << url;
        EXPECT_EQ(view->cancels.back(), TRUE) << url;
    }
    EXPECT_TRUE(view->started.empty());
    EXPECT_TRUE(view->downloads.empty());
    EXPECT_TRUE(view->opened.empty());
    // Other addresses are the browser's.
    const std::string path = TestPath("page.htm");
    ASSERT_TRUE(Navigate(PublisherUrl(Widen(path))));
    EXPECT_EQ(view->cancels.back(), FALSE);
    EXPECT_TRUE(PumpUntil([&] { return !LogEntriesFor(path).empty(); }, 5000));
}

TEST_F(GameWindow, TheDownloadQuestionIsTheHallsOwnMessageBox) {
    Open();
    view->realQuestion = true;
    std::wstring title, text;
    HWND owner = nullptr;
    TimerSteps answer([&] {
        auto* window = testsupport::WindowOfThisThread<vorel::CMessageBox>();
        if (!window) return false;
        const HWND found = window->m_hWnd;
        title = window->m_title;
        text = window->m_text;
        owner = ::GetWindow(found, GW_OWNER);
        ::PostMessageW(found, WM_COMMAND, MAKEWPARAM(vorel::kMessageButton2, BN_CLICKED), 0);
        return true;
    });
    ASSERT_TRUE(Navigate(L"app://entergame|nosuchgame|https://site.test/"));
    EXPECT_TRUE(answer.Finished());
    EXPECT_EQ(title, L"VorelFennik游戏大厅");
    EXPECT_EQ(text, L"下载Fennik登录器，玩游戏更加方便快捷，现在就去下载吧？");
    EXPECT_EQ(owner, main->hwnd());
    ASSERT_EQ(view->opened.size(), 1u);
    EXPECT_EQ(view->opened[0], L"https://site.test/");
}

TEST_F(GameWindow, OkInTheDownloadQuestionOpensTheClientsDownloadOverTheMainWindow) {
    Open();
    view->realQuestion = true;
    view->realDownload = true;
    HWND owner = nullptr;
    bool downloadShown = false;
    TimerSteps steps([&] {
        fw::Wnd* object = testsupport::WindowOfThisThread<fw::Wnd>(true);
        const HWND found = object ? object->m_hWnd : nullptr;
        if (dynamic_cast<vorel::CMessageBox*>(object)) {
            // OK in the question.
            ::PostMessageW(found, WM_COMMAND, MAKEWPARAM(vorel::kMessageButton1, BN_CLICKED), 0);
            return false;
        }
        if (dynamic_cast<vorel::CDownGameDlg*>(object)) {
            downloadShown = true;
            owner = ::GetWindow(found, GW_OWNER);
            ::PostMessageW(found, WM_CLOSE, 0, 0);
            return true;
        }
        return false;
    });
    ASSERT_TRUE(Navigate(L"app://entergame|nosuchgame|https://site.test/"));
    EXPECT_TRUE(steps.Finished());
    EXPECT_TRUE(downloadShown);
    EXPECT_EQ(owner, main->hwnd());
    EXPECT_EQ(view->downloads, (std::vector<std::wstring>{L"Nosuchgame"}));
    EXPECT_TRUE(view->opened.empty());
}
