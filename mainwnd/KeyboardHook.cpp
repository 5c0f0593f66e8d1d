#include "mainwnd/KeyboardHook.h"

#include "hotkey/HotkeyValue.h"

namespace vorel {

namespace {
bool IsDown(int virtualKey) { return (::GetKeyState(virtualKey) & 0x8000) != 0; }
}  // namespace

BOOL InstallKeyboardHook(CAmbrel3Dlg*) { return FALSE; }

void RemoveKeyboardHook() {}

int CurrentModifierBits() {
    int bits = 0;
    if (IsDown(VK_CONTROL)) bits |= kModCtrl;
    if (IsDown(VK_SHIFT)) bits |= kModShift;
    if (IsDown(VK_MENU)) bits |= kModAlt;
    return bits;
}

}  // namespace vorel
