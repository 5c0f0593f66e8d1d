// The main window as a window: its keys, its size limits and layout, the strip's drawing and
// hover, the hall window and the new-tab choice.
#include <commctrl.h>

#include "mainwnd/TabStrip.h"
#include "ui/SkinImage.h"
#include "support/MainWindowTestSupport.h"
#include "support/UiTestSupport.h"

using namespace mwtest;
using namespace testsupport;

namespace {

// Records the key-down messages that reach a control.
LRESULT CALLBACK KeySpy(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                        DWORD_PTR seen) {
    if (msg == WM_KEYDOWN) reinterpret_cast<std::vector<WPARAM>*>(seen)->push_back(wParam);
    return DefSubclassProc(wnd, msg, wParam, lParam);
}

COLORREF SkinPixel(UINT id, int x, int y) {
    fw::ScopedBitmap bitmap(vorel::LoadSkinBitmap(vorel::SkinInstance(), id));
    fw::ScopedMemDC dc(nullptr);
    fw::ScopedSelectObject select(dc.get(), bitmap.get());
    return GetPixel(dc.get(), x, y);
}

}  // namespace

TEST_F(MainWindowTest, EscAndSpaceNeverReachAControlAndEnterNeverCloses) {
    BoxAnswerer boxes;
    LogIn(m_first, kAlice);
    HWND button = GetDlgItem(Main(), IDC_SYSTEM_MENU);
    std::vector<WPARAM> seen;
    ASSERT_TRUE(SetWindowSubclass(button, &KeySpy, 1, reinterpret_cast<DWORD_PTR>(&seen)));
    for (WPARAM key : {WPARAM(VK_ESCAPE), WPARAM(VK_SPACE), WPARAM('A')}) {
        PostMessageW(button, WM_KEYDOWN, key, 0x00010001);
    }
    PostMessageW(Main(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(Main(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(button, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Pump(300);
    RemoveWindowSubclass(button, &KeySpy, 1);
    // Only the ordinary key got through (Enter is the dialog's); nothing asked, nothing ended.
    EXPECT_EQ(seen, std::vector<WPARAM>{WPARAM('A')});
    EXPECT_TRUE(boxes.seen().empty());
    EXPECT_FALSE(m_quit);
    EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(MainWindowTest, F5AndCtrlDGoToTheCurrentTabOrTheVisibleHall) {
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    // The player's F5 and the refresh command's own F5, then Ctrl+D as a character.
    PostMessageW(Main(), WM_KEYDOWN, VK_F5, 0x003F0001);
    PostMessageW(Main(), WM_KEYDOWN, VK_F5, vorel::kOwnMessageMark);
    PostMessageW(GetDlgItem(Main(), IDC_SOUND), WM_CHAR, 4, 0x00200001);
    // A repeated Ctrl+D is not the favourite's key.
    PostMessageW(Main(), WM_CHAR, 4, 0x40200001);
    ASSERT_TRUE(bob.WaitForLine(L"char 4 2097153", 15000, Pumping()));
    Pump(200);
    EXPECT_TRUE(bob.HasLine(L"keydown 116 4128769"));
    EXPECT_TRUE(bob.HasLine(L"keydown 116 7261"));
    EXPECT_TRUE(bob.LineStartingWith(L"char 4 1075838977").empty());
    EXPECT_TRUE(m_first.LineStartingWith(L"keydown").empty());

    // The hall window, once it shows, gets them while no tab is visible.
    StandIn hall = StartStandIn(L"/gmhall /" + HandleText(Main()), Pumping());
    ASSERT_TRUE(hall);
    ASSERT_TRUE(WaitUntil([&] { return hall.Frame() && m_dlg->HallWindow() == hall.Frame(); }));
    ASSERT_TRUE(hall.WaitForLine(L"shown", 15000, Pumping()));
    ShowWindow(bob.Frame(), SW_HIDE);
    PostMessageW(Main(), WM_KEYDOWN, VK_F5, 0x003F0001);
    EXPECT_TRUE(hall.WaitForLine(L"keydown 116 4128769", 15000, Pumping()));
}

TEST_F(MainWindowTest, TheSwitchKeyGoesRoundTheTabsAndReShowsAHiddenOne) {
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    StandIn carol = AddTab(kCarol);
    ASSERT_EQ(m_dlg->CurrentTab(), 2);
    {
        CtrlHeld ctrl;  // the default switch key is Ctrl+Tab
        MSG msg = {Main(), WM_KEYDOWN, VK_TAB, 0x000F0001};
        EXPECT_TRUE(fw::App::PreTranslate(&msg));
        EXPECT_EQ(m_dlg->CurrentTab(), 0);
        // The frames belong to other processes: they show and hide themselves when their own
        // threads get to it.
        EXPECT_TRUE(WaitUntil(
            [&] { return IsWindowVisible(m_first.Frame()) && !IsWindowVisible(carol.Frame()); }));
        EXPECT_TRUE(fw::App::PreTranslate(&msg));
        EXPECT_EQ(m_dlg->CurrentTab(), 1);
        // The program's own keys are never the switch key (the dialog takes Tab itself).
        msg.lParam = vorel::kOwnMessageMark;
        fw::App::PreTranslate(&msg);
        EXPECT_EQ(m_dlg->CurrentTab(), 1);
    }
    // Without Ctrl, Tab is just Tab.
    MSG tab = {Main(), WM_KEYDOWN, VK_TAB, 0x000F0001};
    fw::App::PreTranslate(&tab);
    EXPECT_EQ(m_dlg->CurrentTab(), 1);

    // With the hall window visible the key shows the current tab without advancing.
    StandIn hall = StartStandIn(L"/gmhall /" + HandleText(Main()), Pumping());
    ASSERT_TRUE(hall.WaitForLine(L"shown", 15000, Pumping()));
    m_dlg->SwitchToNextTab();
    EXPECT_EQ(m_dlg->CurrentTab(), 1);
    EXPECT_TRUE(
        WaitUntil([&] { return IsWindowVisible(bob.Frame()) && !IsWindowVisible(hall.Frame()); }));
    // Minimised, the key does nothing.
    ShowWindow(Main(), SW_MINIMIZE);
    m_dlg->SwitchToNextTab();
    EXPECT_EQ(m_dlg->CurrentTab(), 1);
}

TEST_F(MainWindowTest, TheWindowKeepsItsMinimumSizeOnlyWhileTabsExist) {
    // No tab: any size.
    SetWindowPos(Main(), nullptr, 0, 0, 300, 50, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(Main(), &r);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 50);
    LogIn(m_first, kAlice);
    AddTab(kBob);
    SetWindowPos(Main(), nullptr, 0, 0, 500, 100, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(Main(), &r);
    EXPECT_EQ(r.right - r.left, 861);
    EXPECT_EQ(r.bottom - r.top, 260);
    SetWindowPos(Main(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(Main(), &r);
    EXPECT_EQ(r.right - r.left, 900);
    EXPECT_EQ(r.bottom - r.top, 700);
}

TEST_F(MainWindowTest, CaptionControlsAndTheCurrentPageFollowTheSize) {
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    ASSERT_TRUE(bob.WaitForLine(L"shown", 15000, Pumping()));
    SetWindowPos(Main(), nullptr, 0, 0, 1000, 600, SWP_NOMOVE | SWP_NOZORDER);
    Pump(100);
    RECT client;
    GetClientRect(Main(), &client);
    ASSERT_EQ(client.right, 1000);
    const vorel::CaptionControls c = vorel::LayoutCaptionControls(1000);
    const struct {
        int id;
        vorel::BlitBox box;
    } expected[] = {{IDC_HIDE_ALL, c.hide},
                    {IDC_SOUND, c.sound},
                    {IDC_SYSTEM_MENU, c.system},
                    {IDC_ACCOUNT_LINK, c.link}};
    for (const auto& e : expected) {
        const RECT r = ClientRectOf(GetDlgItem(Main(), e.id));
        EXPECT_EQ(r.left, e.box.x) << e.id;
        EXPECT_EQ(r.top, e.box.y) << e.id;
        EXPECT_EQ(r.right - r.left, e.box.width) << e.id;
        EXPECT_EQ(r.bottom - r.top, e.box.height) << e.id;
    }
    // The current tab is fitted; the hidden one keeps its place until it is shown.
    RECT page = ClientRectOf(bob.Frame());
    EXPECT_EQ(page.left, 4);
    EXPECT_EQ(page.top, 30);
    EXPECT_EQ(page.right, 996);
    EXPECT_EQ(page.bottom, 596);
    m_dlg->SelectTab(0);
    // Placed and hidden by their own processes' threads, when they get to it.
    EXPECT_TRUE(WaitUntil([&] {
        page = ClientRectOf(m_first.Frame());
        return page.right == 996 && page.bottom == 596 && !IsWindowVisible(bob.Frame());
    }));
    EXPECT_EQ(page.right, 996);
    EXPECT_EQ(page.bottom, 596);
}

TEST_F(MainWindowTest, TheStripDrawsEachTabFromItsImageAndHoverOnlyInvalidates) {
    LogIn(m_first, kAlice);
    AddTab(kBob);
    AddTab(kCarol);
    UpdateWindow(Main());
    // A column of each tab left of its caption: current, normal and, hovered below, hover.
    const int x = 8, y = 12;
    const COLORREF normal = SkinPixel(IDP_TABS, x, y - 3);
    const COLORREF hover = SkinPixel(IDP_TABS, 189 + x, y - 3);
    const COLORREF current = SkinPixel(IDP_TABS, 2 * 189 + x, y - 3);
    ASSERT_NE(normal, current);
    ASSERT_NE(normal, hover);
    EXPECT_EQ(uitest::ScreenPixel(Main(), vorel::TabRect(2).left + x, y), current);
    EXPECT_EQ(uitest::ScreenPixel(Main(), vorel::TabRect(0).left + x, y), normal);
    EXPECT_EQ(uitest::ScreenPixel(Main(), vorel::TabRect(1).left + x, y), normal);
    // Nothing beyond the last tab.
    EXPECT_NE(uitest::ScreenPixel(Main(), vorel::TabRect(3).left + x, y), normal);

    // The hit test over tab 0 changes the hover state and invalidates that tab only; it
    // paints nothing itself.
    ValidateRect(Main(), nullptr);
    const POINT over = ClientToScreenPoint(vorel::TabRect(0).left + 40, 12);
    const LRESULT hit = SendMessageW(Main(), WM_NCHITTEST, 0, MAKELPARAM(over.x, over.y));
    EXPECT_EQ(hit, HTCLIENT);  // maximized: no dragging
    EXPECT_EQ(m_dlg->Hover().tab, 0);
    EXPECT_EQ(m_dlg->Hover().part, vorel::kPartTab);
    RECT dirty;
    ASSERT_TRUE(GetUpdateRect(Main(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, vorel::TabRect(0).left);
    EXPECT_EQ(dirty.right, vorel::TabRect(0).right);
    EXPECT_EQ(dirty.top, vorel::TabRect(0).top);
    EXPECT_EQ(dirty.bottom, vorel::TabRect(0).bottom);
    EXPECT_EQ(uitest::ScreenPixel(Main(), vorel::TabRect(0).left + x, y), hover);
    // The tooltip carries the hovered tab's caption.
    wchar_t text[64] = L"";
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Main();
    tool.uId = reinterpret_cast<UINT_PTR>(Main());
    tool.lpszText = text;
    SendMessageW(m_dlg->Tooltip(), TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), kAlice);

    // On the close icon: the icon is drawn over the tab.
    const vorel::IntRect icon = vorel::TabCloseIconRect(0);
    const POINT onIcon = ClientToScreenPoint(icon.left + 6, icon.top + 6);
    SendMessageW(Main(), WM_NCHITTEST, 0, MAKELPARAM(onIcon.x, onIcon.y));
    EXPECT_EQ(m_dlg->Hover().part, vorel::kPartCloseIcon);
    const COLORREF iconPixel = SkinPixel(IDP_TAB_CLOSE, 13 + 6, 6);
    ASSERT_NE(iconPixel, vorel::kSkinKeyColour);
    EXPECT_EQ(uitest::ScreenPixel(Main(), icon.left + 6, icon.top + 6), iconPixel);

    // Leaving the window clears the hover.
    SendMessageW(Main(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(m_dlg->Hover().tab, -1);
    EXPECT_EQ(uitest::ScreenPixel(Main(), vorel::TabRect(0).left + x, y), normal);
}

TEST_F(MainWindowTest, PressingATabShowsItAndDoubleClicksOverTheStripAreSwallowed) {
    LogIn(m_first, kAlice);
    StandIn bob = AddTab(kBob);
    const LPARAM onFirst = MAKELPARAM(vorel::TabRect(0).left + 30, 10);
    SendMessageW(Main(), WM_LBUTTONDOWN, MK_LBUTTON, onFirst);
    SendMessageW(Main(), WM_LBUTTONUP, 0, onFirst);
    EXPECT_EQ(m_dlg->CurrentTab(), 0);
    EXPECT_TRUE(WaitUntil(
        [&] { return IsWindowVisible(m_first.Frame()) && !IsWindowVisible(bob.Frame()); }));
    EXPECT_EQ(m_dlg->TabCount(), 2);
    // A double click on a tab does not undo the maximize; in the caption band elsewhere it does.
    RECT before, after;
    GetWindowRect(Main(), &before);
    SendMessageW(Main(), WM_LBUTTONDBLCLK, MK_LBUTTON, onFirst);
    GetWindowRect(Main(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    SendMessageW(Main(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 10));
    GetWindowRect(Main(), &after);
    EXPECT_FALSE(EqualRect(&before, &after));
}

TEST_F(MainWindowTest, TheHallWindowIsNoTabAndHidesWhenATabIsShown) {
    StandIn hall = StartStandIn(L"/gmhall /" + HandleText(Main()), Pumping());
    ASSERT_TRUE(hall);
    ASSERT_TRUE(WaitUntil([&] { return hall.Frame() && m_dlg->HallWindow() == hall.Frame(); }));
    // The first frame of any kind opens the window.
    EXPECT_TRUE(m_dlg->TrayIconAdded());
    EXPECT_EQ(m_dlg->TabCount(), 0);
    ASSERT_TRUE(hall.WaitForLine(L"shown", 15000, Pumping()));
    LogIn(m_first, kAlice);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(hall.Frame()); }));
    // Hotkeys read again reach every tab and the hall.
    PostMessageW(Main(), vorel::kMsgHotkeysChanged, 0, 0);
    EXPECT_TRUE(hall.WaitForLine(L"hotkeys", 15000, Pumping()));
    EXPECT_TRUE(m_first.WaitForLine(L"hotkeys", 15000, Pumping()));
    // The mute state goes to the tabs only.
    EXPECT_TRUE(m_first.WaitForLine(L"mute 0", 15000, Pumping()));
    EXPECT_TRUE(hall.LineStartingWith(L"mute").empty());
}

TEST_F(MainWindowTest, TheNewTabChoiceDropsUnderTheLinkAndAnswersOnce) {
    LogIn(m_first, kAlice);
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_ACCOUNT_LINK, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Main(), IDC_ACCOUNT_LINK)));
    vorel::CAddAccDlg& choice = m_dlg->NewTabChoice();
    ASSERT_TRUE(choice.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(choice.m_hWnd));
    RECT link, box;
    GetWindowRect(GetDlgItem(Main(), IDC_ACCOUNT_LINK), &link);
    GetWindowRect(choice.m_hWnd, &box);
    EXPECT_EQ(box.right, link.right);
    EXPECT_EQ(box.top, link.bottom);
    EXPECT_EQ(box.right - box.left, 284);  // the background's size
    EXPECT_EQ(box.bottom - box.top, 150);
    EXPECT_EQ(SendMessageW(choice.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(box.left + 20, box.top + 10)),
              HTCLIENT);

    auto answers = [&] {
        std::vector<WPARAM> found;
        MSG msg;
        while (PeekMessageW(&msg, Main(), vorel::kMsgNewTabChoice, vorel::kMsgNewTabChoice,
                            PM_REMOVE)) {
            found.push_back(msg.wParam);
        }
        return found;
    };
    // "是": exactly one answer, and the choice hides.
    HWND yes = GetDlgItem(choice.m_hWnd, IDOK);
    SendMessageW(choice.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(yes));
    EXPECT_FALSE(IsWindowVisible(choice.m_hWnd));
    EXPECT_EQ(answers(), std::vector<WPARAM>{1});

    // Deactivated (a click elsewhere), Esc or closed: hidden without an answer.
    choice.ShowWindow(SW_SHOW);
    SendMessageW(choice.m_hWnd, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(IsWindowVisible(choice.m_hWnd));
    choice.ShowWindow(SW_SHOW);
    MSG esc = {GetDlgItem(choice.m_hWnd, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001};
    EXPECT_TRUE(fw::App::PreTranslate(&esc));
    EXPECT_FALSE(IsWindowVisible(choice.m_hWnd));
    choice.ShowWindow(SW_SHOW);
    SendMessageW(choice.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(choice.m_hWnd));
    EXPECT_TRUE(answers().empty());

    // "否": the other answer.
    choice.ShowWindow(SW_SHOW);
    SendMessageW(choice.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 LPARAM(GetDlgItem(choice.m_hWnd, IDCANCEL)));
    EXPECT_EQ(answers(), std::vector<WPARAM>{0});
    // The same dialog serves every later click on the link.
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_ACCOUNT_LINK, STN_CLICKED), 0);
    EXPECT_EQ(m_dlg->NewTabChoice().m_hWnd, choice.m_hWnd);
}
