#include "mainwnd/MenuItems.h"

#include "app/Protocol.h"

namespace vorel {

std::wstring HideAllMenuText(const Hotkey& bossKey) {
    return L"隐藏/恢复(" + FormatHotkeyText(bossKey.virtualKey, bossKey.modifier) + L")";
}

std::vector<MenuEntry> MenuEntries(MenuKind kind, const Hotkey& bossKey) {
    std::vector<MenuEntry> entries = {
        {kMenuRefresh, L"刷新 (F5)"},   {kMenuHideAll, HideAllMenuText(bossKey)},
        {kMenuClearCache, L"清除缓存"}, {0, L"", true},
        {kMenuUpdate, L"更新"},         {kMenuSettings, L"设置..."},
    };
    if (kind == MenuKind::System) {
        entries.push_back({kMenuVersion, std::wstring(L"版本号: ") + kVersionText});
    } else {
        entries.push_back({kMenuExit, L"退出"});
    }
    return entries;
}

}  // namespace vorel
