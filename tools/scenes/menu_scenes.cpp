// Not a test: the scene of docs/menu-*.png, run by scripts/menu-shots.sh, which photographs
// the screen when the scene announces each picture.
#include "support/MenuTestSupport.h"
#include "support/WinTestSupport.h"

using namespace mwtest;
using namespace testsupport;

TEST_F(MenuTest, PicturesOfTheTwoMenus) {
    StoreHotkey(L"ShortKey", L"2,121");
    LogIn(m_first, kAlice);
    AddTab(kBob);
    Pump(500);
    {
        MenuDriver menu(0);
        menu.m_onOpen = [] { WaitForScreenPicture(L"system-menu"); };
        OpenSystemMenu();
    }
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetCursorPos(work.right - 60, work.bottom - 4);
    MenuDriver menu(0);
    menu.m_onOpen = [] { WaitForScreenPicture(L"tray-menu"); };
    RightClickTray();
    WaitUntil([&] { return menu.Seen(); });
}
