// The main window's system-wide keyboard hook (boss key and sound key) and the modifier keys
// of the moment.
#pragma once
#include <windows.h>

namespace vorel {

class CAmbrel3Dlg;

// Installs the low-level keyboard hook of this process's main window (MainWindow(), which the
// hook reads at every event); FALSE when none could be installed, and then the two keys do
// nothing while the menus, buttons and tray still work. A second call keeps the first hook.
BOOL InstallKeyboardHook(CAmbrel3Dlg* mainWindow);
// Removes the hook if one is installed.
void RemoveKeyboardHook();
bool KeyboardHookInstalled();

// The hook procedure: for the boss key or the sound key, while the main window has tabs, it
// posts the action to the main window (kMsgHotkeyAction) and returns; every event is passed
// on, and every one keeps the held modifiers current.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);

// Alt 1, Ctrl 2, Shift 4 as the hook's events have them now (seeded at installation).
int HookModifierBits();

// Alt 1, Ctrl 2, Shift 4 as this thread's key state has them now: right for the key messages
// that this thread reads (the window-switch key), not for the hook's events.
int CurrentModifierBits();

}  // namespace vorel
