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

// The hook procedure: the boss key hides or restores everything, the sound key switches the
// mute flag, only while the main window has tabs; every event is passed on.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);

// Alt 1, Ctrl 2, Shift 4 as this thread's key state has them now.
int CurrentModifierBits();

}  // namespace vorel
