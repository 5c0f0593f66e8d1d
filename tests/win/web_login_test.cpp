// The web login under Wine: the background picture and the page window with a stand-in main
// window on another thread as parent, and the page commands driven by real navigations of
// the login dialog's browser to "app:" addresses.
#include <gtest/gtest.h>

#include <memory>

#include "app/SettingsStore.h"
#include "app/SystemSettings.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"
#include "ui/MessageBoxDlg.h"
#include "ui/MessageBoxLayout.h"
#include "web/GameWindow.h"
#include "web/LoginBkDlg.h"
#include "support/WebTestSupport.h"

using namespace webtest;

namespace {

const wchar_t kExampleField[] = L"S3服-《电信一线》龙腾四海-abc";
const wchar_t kExampleEscaped[] =
    L"S3%E6%9C%8D-%E3%80%8A%E7%94%B5%E4%BF%A1%E4%B8%80%E7%BA%BF%E3%80%8B%E9%BE%99%E8%85%BE%E5%"
    L"9B%9B%E6%B5%B7-abc";
const wchar_t kExampleCaption[] = L"3服-龙腾四海-abc";

// The skinned message box of this thread, if one is open.
vorel::CMessageBox* OpenMessageBox() {
    return testsupport::WindowOfThisThread<vorel::CMessageBox>();
}

bool AnyAppCommandReachedTheServer() {
    for (const auto& line : testsupport::PublisherLogLines()) {
        for (const char* word : {"loadgame", "exitgame", "minimize", "app:"}) {
            if (line.find(word) != std::string::npos) return true;
        }
    }
    return false;
}

class Login : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.ok());
        loginPath = TestPath("wd/index.php");
        main = std::make_unique<MainWindowStandIn>(TRUE);
    }
    void TearDown() override {
        bk.reset();
        main.reset();
    }
    void MakeLogin(int tabNumber) {
        bk = std::make_unique<vorel::CLoginBkDlg>(main->hwnd(), tabNumber,
                                                  PublisherUrl(Widen(loginPath)));
    }
    // Runs the login modally; `steps` are called on a timer once the page window exists, in
    // turn, each until it answers true.
    INT_PTR RunLogin(std::vector<std::function<bool()>> steps) {
        size_t next = 0;
        TimerSteps driver([&] {
            if (!bk->LoginDialog().IsWindow()) return false;
            while (next < steps.size() && steps[next]()) ++next;
            return next >= steps.size();
        });
        return bk->DoModal();
    }
    std::function<bool()> Navigate(const std::wstring& url) {
        return [this, url] {
            bk->LoginDialog().Navigate(url.c_str());
            return true;
        };
    }
    // Waits a few ticks, so that a navigation fired after Navigate has been handled.
    std::function<bool()> Wait(int ticks) {
        auto left = std::make_shared<int>(ticks);
        return [left] { return --*left < 0; };
    }
    // Waits (at most ten seconds) until the server has seen the login page's request: an
    // "app:" navigation fired earlier cancels the page's own on a slow first start.
    std::function<bool()> PageRequested() {
        auto left = std::make_shared<int>(10000 / 30);
        const std::string path = loginPath;
        return [left, path] { return !LogEntriesFor(path).empty() || --*left < 0; };
    }
    std::function<bool()> Check(std::function<void()> check) {
        return [check] {
            check();
            return true;
        };
    }

    ProcessEnvironment env;
    std::string loginPath;
    std::unique_ptr<MainWindowStandIn> main;
    std::unique_ptr<vorel::CLoginBkDlg> bk;
};

}  // namespace

TEST_F(Login, AnAcceptedLoadgameSendsTheCaptionAndKeepsTheGameAddress) {
    MakeLogin(0);
    const std::wstring game = L"http://game.test/play.htm?s=3|x";
    const INT_PTR result = RunLogin({PageRequested(), Navigate(std::wstring(L"app://loadgame|") +
                                                               kExampleField + L"|" + game)});
    EXPECT_EQ(result, IDOK);
    auto copies = main->Messages(WM_COPYDATA);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].copyDwData, 0u);
    EXPECT_EQ(copies[0].copyBytes, 24u);
    EXPECT_EQ(copies[0].copyData, Utf16Bytes(kExampleCaption));
    EXPECT_EQ(vorel::TheGameWindow().gameAddress, game);
    // The login page itself is loaded; the command never reaches the server.
    EXPECT_FALSE(LogEntriesFor(loginPath).empty());
    EXPECT_FALSE(AnyAppCommandReachedTheServer());
}

TEST_F(Login, ThePercentEscapedFieldSendsTheSameBytes) {
    MakeLogin(1);
    EXPECT_EQ(RunLogin({Navigate(std::wstring(L"app://loadgame|") + kExampleEscaped + L"|g")}),
              IDOK);
    auto copies = main->Messages(WM_COPYDATA);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].copyData, Utf16Bytes(kExampleCaption));
    EXPECT_EQ(vorel::TheGameWindow().gameAddress, L"g");
}

TEST_F(Login, ARefusedLoginShowsWhoIsLoggedInWhereAndEndsCancelled) {
    main->SetAnswer(FALSE);
    MakeLogin(0);
    const std::wstring before = vorel::TheGameWindow().gameAddress;
    std::wstring shownText, shownTitle;
    const INT_PTR result = RunLogin(
        {Navigate(std::wstring(L"app://loadgame|") + kExampleField + L"|http://game.test/"), [&] {
             vorel::CMessageBox* box = OpenMessageBox();
             if (!box) return false;
             shownText = box->m_text;
             shownTitle = box->m_title;
             ::PostMessageW(box->m_hWnd, WM_COMMAND, MAKEWPARAM(vorel::kMessageButton1, BN_CLICKED),
                            0);
             return true;
         }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(shownTitle, L"Vorel - Tolv");
    EXPECT_EQ(shownText, L"账号 abc 已在 3服 登录，同一账号不能在一服重复登录");
    EXPECT_EQ(main->Messages(WM_COPYDATA).size(), 1u);
    // A refused login keeps no game address.
    EXPECT_EQ(vorel::TheGameWindow().gameAddress, before);
}

TEST_F(Login, LoadgameWithoutTheSecondBarSendsTheBareMarks) {
    MakeLogin(0);
    EXPECT_EQ(RunLogin({Navigate(L"app://loadgame|S3服-x-abc")}), IDOK);
    auto copies = main->Messages(WM_COPYDATA);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].copyData, Utf16Bytes(L"服--"));
    EXPECT_EQ(copies[0].copyBytes, 8u);
    EXPECT_EQ(vorel::TheGameWindow().gameAddress, L"");
}

TEST_F(Login, OnlyTheExactExitWordEndsTheLogin) {
    MakeLogin(0);
    bool stillOpen = false;
    const INT_PTR result =
        RunLogin({Navigate(L"app://EXITGAME"), Navigate(L"app://reload"), Wait(10),
                  Check([&] { stillOpen = bk->IsWindow() && bk->Result() == -1; }),
                  Navigate(L"app://exitgame")});
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(main->Messages(WM_COPYDATA).empty());
    EXPECT_FALSE(AnyAppCommandReachedTheServer());
}

TEST_F(Login, MinimizeEndsAnExtraTabsLogin) {
    MakeLogin(2);
    EXPECT_EQ(RunLogin({Navigate(L"app://minimize")}), IDCANCEL);
    EXPECT_FALSE(::IsIconic(main->hwnd()));
}

TEST_F(Login, MinimizeInTheFirstTabMinimisesAWindowAndTheLoginGoesOn) {
    MakeLogin(0);
    bool mainIconic = false, loginIconic = false, open = false;
    const INT_PTR result = RunLogin({Navigate(L"app://minimize"), Wait(10), Check([&] {
                                         mainIconic = ::IsIconic(main->hwnd()) != FALSE;
                                         loginIconic = ::IsIconic(bk->m_hWnd) != FALSE;
                                         open = bk->Result() == -1;
                                     }),
                                     Navigate(L"app://exitgame")});
    EXPECT_TRUE(open);
    if (vorel::IsUacEnabled()) {
        EXPECT_TRUE(loginIconic);
        EXPECT_FALSE(mainIconic);
    } else {
        EXPECT_TRUE(mainIconic);
        EXPECT_FALSE(loginIconic);
    }
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(Login, EscapeF5AndEnterInThePageNeverEndTheLoginEscapeOnThePictureDoes) {
    MakeLogin(0);
    bool open = false;
    const INT_PTR result = RunLogin(
        {[&] {
             HWND page = bk->LoginDialog().BrowserWindow();
             if (!page) page = bk->LoginDialog().m_hWnd;
             for (WPARAM key : {VK_ESCAPE, VK_F5, VK_RETURN})
                 ::PostMessageW(page, WM_KEYDOWN, key, 1);
             ::PostMessageW(bk->m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
             return true;
         },
         Wait(10), Check([&] { open = bk->Result() == -1 && bk->LoginDialog().IsWindow(); }),
         [&] {
             ::PostMessageW(bk->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
             return true;
         }});
    EXPECT_TRUE(open);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(main->Messages(WM_COPYDATA).empty());
}

TEST_F(Login, ThePictureAndThePageWindowTheirShapesAndPlaces) {
    MakeLogin(0);
    RECT picture = {}, page = {}, browser = {}, pageClient = {};
    LONG_PTR pageEx = 0, pictureEx = 0, pictureStyle = 0;
    bool hiddenBefore = false, shownAfter = false;
    COLORREF key = 0;
    BYTE alpha = 1;
    DWORD flags = 0;
    std::wstring title;
    const INT_PTR result = RunLogin(
        {Check([&] {
             vorel::CLoginDlg& login = bk->LoginDialog();
             hiddenBefore = !::IsWindowVisible(login.m_hWnd);
             ::SetWindowPos(bk->m_hWnd, nullptr, 100, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
             ::GetWindowRect(bk->m_hWnd, &picture);
             ::GetWindowRect(login.m_hWnd, &page);
             pageEx = login.GetExStyle();
             pictureEx = bk->GetExStyle();
             pictureStyle = bk->GetStyle();
             title = bk->GetWindowText();
             ::GetLayeredWindowAttributes(login.m_hWnd, &key, &alpha, &flags);
             // What the first completed navigation does.
             login.OnNavigateComplete(nullptr, L"http://x/");
             shownAfter = ::IsWindowVisible(login.m_hWnd) != FALSE;
             ::GetClientRect(login.m_hWnd, &pageClient);
             HWND child = ::FindWindowExW(login.m_hWnd, nullptr, nullptr, nullptr);
             ::GetWindowRect(child, &browser);
             ::MapWindowPoints(nullptr, login.m_hWnd, reinterpret_cast<POINT*>(&browser), 2);
         }),
         Navigate(L"app://exitgame")});
    EXPECT_EQ(result, IDCANCEL);
    // The picture's size (res/skins/129.png), moved where it was put; the page 52 px higher.
    EXPECT_EQ(picture.right - picture.left, 1005);
    EXPECT_EQ(picture.bottom - picture.top, 569);
    EXPECT_EQ(picture.left, 100);
    EXPECT_EQ(picture.top, 200);
    EXPECT_EQ(page.left, 100);
    EXPECT_EQ(page.top, 148);
    EXPECT_EQ(page.right - page.left, 1005);
    EXPECT_EQ(page.bottom - page.top, 569);
    EXPECT_TRUE(pictureEx & WS_EX_LAYERED);
    EXPECT_TRUE(pictureStyle & WS_MINIMIZEBOX);
    EXPECT_EQ(title, L"Vorel - Tolv");
    // The page: colour-keyed, no taskbar button, hidden until its page has loaded.
    EXPECT_TRUE(pageEx & WS_EX_LAYERED);
    EXPECT_TRUE(pageEx & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(pageEx & WS_EX_APPWINDOW);
    EXPECT_EQ(key, RGB(254, 254, 254));
    EXPECT_TRUE(flags & LWA_COLORKEY);
    EXPECT_TRUE(hiddenBefore);
    EXPECT_TRUE(shownAfter);
    EXPECT_EQ(browser.left, 0);
    EXPECT_EQ(browser.top, 0);
    EXPECT_EQ(browser.right, pageClient.right);
    EXPECT_EQ(browser.bottom, pageClient.bottom);
}

TEST_F(Login, ThePageWindowOnlyMutesPageBackgroundMouseEvents) {
    MakeLogin(0);
    HRESULT body = S_OK, button = S_FALSE, context = S_FALSE;
    RunLogin({Check([&] {
                  vorel::CLoginDlg& login = bk->LoginDialog();
                  body = login.DispatchDhtmlEvent(fw::dhtml_event::kMouseDown,
                                                  std::make_shared<FakeElement>(L"", L"TD"));
                  auto b = std::make_shared<FakeElement>(L"button", L"DIV");
                  button = login.DispatchDhtmlEvent(fw::dhtml_event::kMouseOver, b);
                  context = login.DispatchDhtmlEvent(fw::dhtml_event::kContextMenu,
                                                     std::make_shared<FakeElement>(L"", L"BODY"));
                  EXPECT_TRUE(b->positions.empty());
              }),
              Navigate(L"app://exitgame")});
    EXPECT_EQ(body, S_FALSE);
    // No image buttons and no context-menu binding in the login page.
    EXPECT_EQ(button, S_OK);
    EXPECT_EQ(context, S_OK);
}
