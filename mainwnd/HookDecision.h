// What a key event seen by the main window's system-wide keyboard hook does. Every key press
// of the desktop passes here, so a key that is neither hotkey's key costs two comparisons and
// never a look at the key state.
#pragma once
#include "hotkey/HotkeyValue.h"
#include "mainwnd/MainWindowRules.h"

namespace vorel {

enum class HookAction { None, ToggleHideAll, ToggleMute };

// readModifiers () -> int gives Alt 1, Ctrl 2, Shift 4 of the moment; it is called at most
// once, and only for a key-down of one of the two hotkeys' keys while tabs exist. The boss
// key wins when both hotkeys are the same combination.
template <typename ReadModifiers>
HookAction DecideHookAction(unsigned message, int virtualKey, int tabCount, const Hotkey& bossKey,
                            const Hotkey& soundKey, ReadModifiers readModifiers) {
    if (tabCount <= 0 || (message != kMsgKeyDown && message != kMsgSysKeyDown)) {
        return HookAction::None;
    }
    const bool bossCandidate = bossKey.virtualKey != 0 && virtualKey == bossKey.virtualKey;
    const bool soundCandidate = soundKey.virtualKey != 0 && virtualKey == soundKey.virtualKey;
    if (!bossCandidate && !soundCandidate) return HookAction::None;
    const int modifiers = readModifiers();
    if (HotkeyMatches(bossKey, virtualKey, modifiers)) return HookAction::ToggleHideAll;
    if (HotkeyMatches(soundKey, virtualKey, modifiers)) return HookAction::ToggleMute;
    return HookAction::None;
}

}  // namespace vorel
