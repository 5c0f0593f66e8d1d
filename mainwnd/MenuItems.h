// The items of the main window's two pop-up menus: the system menu under the "系统" button and
// the tray icon's menu. Platform-free.
#pragma once
#include <string>
#include <vector>

#include "hotkey/HotkeyValue.h"

namespace vorel {

// Command ids as the menus return them.
constexpr int kMenuRefresh = 1;
constexpr int kMenuHideAll = 2;
constexpr int kMenuClearCache = 3;
constexpr int kMenuUpdate = 4;
constexpr int kMenuSettings = 5;
constexpr int kMenuExit = 6;      // tray menu only
constexpr int kMenuVersion = -1;  // system menu only; information, no action

enum class MenuKind { System, Tray };

struct MenuEntry {
    int id = 0;
    std::wstring text;
    bool separator = false;
};

// "隐藏/恢复(" + the boss key's display text + ")"; "无" between the parentheses without one.
std::wstring HideAllMenuText(const Hotkey& bossKey);

// The entries in menu order: refresh, hide/restore, clear cache, a separator, update,
// settings, then the version (system menu) or exit (tray menu).
std::vector<MenuEntry> MenuEntries(MenuKind kind, const Hotkey& bossKey);

}  // namespace vorel
