#include "mainwnd/KeyboardHook.h"

#include "hotkey/HotkeyValue.h"
#include "mainwnd/Ambrel3Dlg.h"
#include "mainwnd/HeldModifiers.h"
#include "mainwnd/MainWindowPosts.h"

namespace vorel {

namespace {
fw::ScopedHook g_hook;
// Only the hook procedure changes it, on the installing thread.
HeldModifiers g_held;

// Down: the high byte of the 16-bit state is not zero.
bool IsDown(int virtualKey) { return (::GetKeyState(virtualKey) & 0xFF00) != 0; }

int HeldModifierBits() { return g_held.Bits(); }
}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    // Windows removes a low-level hook that keeps it waiting (LowLevelHooksTimeout), so this
    // only decides: hiding windows with children in other processes, or anything else that
    // may wait, runs from the posted message once the hook has returned.
    if (lParam) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const int vk = static_cast<int>(event->vkCode);
        const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        CAmbrel3Dlg* main = MainWindow();
        if (main && main->m_hWnd) {
            // The modifiers as they were before this key: Ctrl itself is not yet Ctrl held.
            const HookAction action =
                main->HotkeyActionFor(static_cast<unsigned>(wParam), vk, &HeldModifierBits);
            if (action != HookAction::None) {
                ::PostMessageW(main->m_hWnd, kMsgHotkeyAction, static_cast<WPARAM>(action), 0);
            }
        }
        g_held.OnKey(vk, down);
    }
    // The key also reaches the window that has the keyboard.
    return ::CallNextHookEx(g_hook.get(), code, wParam, lParam);
}

BOOL InstallKeyboardHook(CAmbrel3Dlg*) {
    if (g_hook) return TRUE;
    // From here on the hook's own events keep the modifiers; what is held already comes
    // from the keyboard's state, once.
    g_held.Clear();
    for (int vk : HeldModifiers::kSideKeys) {
        if (::GetAsyncKeyState(vk) & 0x8000) g_held.OnKey(vk, true);
    }
    g_hook.reset(
        ::SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHookProc, ::GetModuleHandleW(nullptr), 0));
    return g_hook ? TRUE : FALSE;
}

void RemoveKeyboardHook() {
    g_hook.reset();
}

bool KeyboardHookInstalled() { return static_cast<bool>(g_hook); }

int HookModifierBits() { return g_held.Bits(); }

int CurrentModifierBits() {
    int bits = 0;
    if (IsDown(VK_CONTROL)) bits |= kModCtrl;
    if (IsDown(VK_SHIFT)) bits |= kModShift;
    if (IsDown(VK_MENU)) bits |= kModAlt;
    return bits;
}

}  // namespace vorel
