// The main window's system-wide keyboard hook (boss key and sound key) and the modifier keys
// of the moment.
#pragma once
#include <windows.h>

namespace vorel {

class CAmbrel3Dlg;

// Installs the low-level keyboard hook for this main window; FALSE when none is installed.
// Not yet: the hook and its boss-key and sound-key dispatch come with the hotkeys work, so
// for now nothing is installed and the two keys do nothing (the menus and buttons still work).
BOOL InstallKeyboardHook(CAmbrel3Dlg* mainWindow);
// Removes the hook if one is installed.
void RemoveKeyboardHook();

// Alt 1, Ctrl 2, Shift 4 as this thread's key state has them now.
int CurrentModifierBits();

}  // namespace vorel
