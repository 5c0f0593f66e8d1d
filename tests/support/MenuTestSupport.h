// Driving the main window's pop-up menus from inside their own loops, for the menus' tests and
// the pictures of the menus.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "mainwnd/MainWindowRules.h"
#include "res/resource.h"
#include "support/MainWindowTestSupport.h"

namespace mwtest {

// Reads the pop-up menu this thread tracks and picks a command with the arrow keys and
// Enter, or dismisses it (command 0). It runs from a thread timer, which the menu's loop
// dispatches like any other message.
class MenuDriver {
public:
    struct Item {
        int id;
        std::wstring text;
        bool separator;
        bool enabled;
    };
    explicit MenuDriver(int choose) : m_choose(choose) {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 30, &MenuDriver::Tick);
    }
    ~MenuDriver() {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    bool Seen() const { return m_seen; }
    const std::vector<Item>& Items() const { return m_items; }
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const Item& i : m_items) texts.push_back(i.separator ? L"-" : i.text);
        return texts;
    }
    RECT Rect() const { return m_rect; }
    // Where the cursor was while the menu was open.
    POINT Cursor() const { return m_cursor; }
    // Runs while the menu is open, before the choice.
    std::function<void()> m_onOpen;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuDriver* d = s_current;
        if (!d || d->m_seen) return;
        HWND wnd = FindWindowW(L"#32768", nullptr);
        if (!wnd || !IsWindowVisible(wnd)) return;
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(wnd, MN_GETHMENU, 0, 0));
        if (!menu) return;
        d->m_seen = true;
        GetWindowRect(wnd, &d->m_rect);
        GetCursorPos(&d->m_cursor);
        int steps = -1, selectable = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = L"";
            MENUITEMINFOW info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
            info.dwTypeData = text;
            info.cch = 64;
            GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
            const bool separator = (info.fType & MFT_SEPARATOR) != 0;
            d->m_items.push_back(
                {int(info.wID), text, separator, (info.fState & MFS_DISABLED) == 0});
            if (separator) continue;
            if (int(info.wID) == d->m_choose) steps = selectable + 1;
            ++selectable;
        }
        if (d->m_onOpen) {
            UpdateWindow(wnd);  // painted before anyone looks at it
            d->m_onOpen();
        }
        if (steps < 0) {
            EndMenu();
            return;
        }
        for (int i = 0; i < steps; ++i) PostMessageW(wnd, WM_KEYDOWN, VK_DOWN, 0x01500001);
        PostMessageW(wnd, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    }

    static inline MenuDriver* s_current = nullptr;
    UINT_PTR m_timer = 0;
    int m_choose;
    bool m_seen = false;
    std::vector<Item> m_items;
    RECT m_rect = {};
    POINT m_cursor = {};
};

class MenuTest : public DefaultHotkeysTest {
protected:
    // Returns once the menu and its command are done, as the button's click does.
    void OpenSystemMenu() {
        SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_SYSTEM_MENU, BN_CLICKED),
                     LPARAM(GetDlgItem(Main(), IDC_SYSTEM_MENU)));
    }
    // A right click on the tray icon posts the request for the menu.
    void RightClickTray() { PostMessageW(Main(), vorel::kMsgTrayNotify, 1, WM_RBUTTONUP); }
    void LeftClickTray() { PostMessageW(Main(), vorel::kMsgTrayNotify, 1, WM_LBUTTONUP); }
};

}  // namespace mwtest
