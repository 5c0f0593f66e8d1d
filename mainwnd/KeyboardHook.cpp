#include "mainwnd/KeyboardHook.h"

#include "hotkey/HotkeyValue.h"
#include "mainwnd/Ambrel3Dlg.h"
#include "mainwnd/HookDecision.h"

namespace vorel {

namespace {
HHOOK g_hook = nullptr;

// Down: the high byte of the 16-bit state is not zero.
bool IsDown(int virtualKey) { return (::GetKeyState(virtualKey) & 0xFF00) != 0; }
}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    // A low-level hook runs on the installing thread, between its other messages: the main
    // window and its hotkeys are read without a lock.
    CAmbrel3Dlg* main = MainWindow();
    if (main && lParam) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        switch (DecideHookAction(static_cast<unsigned>(wParam), static_cast<int>(event->vkCode),
                                 main->TabCount(), main->m_bossKey, main->m_soundKey,
                                 &CurrentModifierBits)) {
            case HookAction::ToggleHideAll:
                main->ToggleHideAll();
                break;
            case HookAction::ToggleMute:
                // The button and the game windows follow at the next tick of the mute timer.
                main->m_muted = !main->m_muted;
                break;
            case HookAction::None:
                break;
        }
    }
    // The key also reaches the window that has the keyboard.
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

BOOL InstallKeyboardHook(CAmbrel3Dlg*) {
    if (g_hook) return TRUE;
    g_hook = ::SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHookProc, ::GetModuleHandleW(nullptr), 0);
    return g_hook != nullptr;
}

void RemoveKeyboardHook() {
    if (!g_hook) return;
    ::UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

bool KeyboardHookInstalled() { return g_hook != nullptr; }

int CurrentModifierBits() {
    int bits = 0;
    if (IsDown(VK_CONTROL)) bits |= kModCtrl;
    if (IsDown(VK_SHIFT)) bits |= kModShift;
    if (IsDown(VK_MENU)) bits |= kModAlt;
    return bits;
}

}  // namespace vorel
