// The desktop and Start-menu shortcuts of the install, and their removal.
#pragma once
#include <windows.h>

#include <string>

namespace vorel {

// A special folder (CSIDL_*) of the shell; empty when the shell cannot tell it.
std::wstring SpecialFolderPath(int csidl);

// Saves a shell link to `target` with its first icon, the arguments and, when given and
// not empty, the description. FALSE when link is null or no shell-link object can be made;
// the result of saving is not examined. Needs COM on the calling thread.
BOOL CreateShortcutFile(const wchar_t* link, const wchar_t* target, const wchar_t* description,
                        const wchar_t* arguments);

// "VorelTolv登录器" on the all-users desktop, after deleting a per-user desktop shortcut of
// that name. FALSE when the target does not exist or the desktop is unknown.
BOOL CreateDesktopShortcut(const wchar_t* target);
// name.lnk in "Vorel登录器" of the all-users programs folder, which is created.
BOOL CreateStartMenuShortcut(const wchar_t* name, const wchar_t* target, const wchar_t* arguments);

// TRUE when a file was deleted.
BOOL DeleteDesktopShortcut(const wchar_t* name);
BOOL DeleteStartMenuShortcut(const wchar_t* name);

// Every shortcut the program has made (and the maker's web-game group shortcut); the
// Start-menu folder too when no file at all is left in it.
BOOL RemoveShortcuts();

}  // namespace vorel
