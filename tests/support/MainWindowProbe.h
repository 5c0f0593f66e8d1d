// Finding and driving the main window of a launcher process from outside, as the player
// would: its window, its skinned message boxes, its tray icon.
#pragma once
#include <windows.h>

#include <string>

#include "support/WinTestSupport.h"

namespace testsupport {

// The main window of process pid: its unowned top-level dialog titled "Vorel - Tolv".
HWND FindMainWindow(DWORD pid);
HWND WaitForMainWindow(DWORD pid, DWORD timeoutMs);

// The login window of the game-window process that mainWindow started: a dialog of another
// launcher process owned by the main window (disabled while that login runs).
HWND WaitForLoginOf(HWND mainWindow, DWORD timeoutMs);

// A visible skinned message box shown by process pid (a dialog with the button 5000).
HWND FindMessageBox(DWORD pid);
HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs);
// The number of buttons of a message box (1 for a notice, 2 for a question) and a click.
int MessageBoxButtonCount(HWND box);
void ClickMessageBoxButton(HWND box, int id);

// Whether the window has maximised itself. Wine gives each process its own idea of the work
// area (with or without the virtual desktop's task bar), so any bottom between the two counts.
bool FillsWorkArea(HWND wnd);

// Whether the tray holds the main window's icon (asked through the shell, which answers for
// any window's icon).
bool TrayIconPresent(HWND mainWindow);

// Runs a launcher command line to its end; a main window that shows up on the way is closed
// as soon as it is there (with no tab yet that ends the program without a question).
ProcessResult RunClosingMainWindow(const std::wstring& commandLine, DWORD timeoutMs);

}  // namespace testsupport
