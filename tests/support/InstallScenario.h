// What the install and uninstall scenarios need beyond starting the launcher: its shortcuts
// read back through the shell, its processes and dialogs driven from outside, and the
// self-delete batch files it leaves in the temporary folder.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

std::wstring CommonDesktopFolder();
std::wstring StartMenuFolder();  // "Vorel登录器" in the all-users programs folder
std::wstring DesktopShortcut();
std::wstring StartMenuShortcut();
std::wstring UninstallShortcut();
// Where an earlier per-user install put its desktop shortcut.
std::wstring UserDesktopShortcut();

struct ShortcutInfo {
    bool loaded = false;
    std::wstring target;
    std::wstring arguments;
    std::wstring description;
    std::wstring workingDirectory;
    std::wstring iconPath;
    int iconIndex = -1;
    WORD hotKey = 0;
};
// Loads a .lnk through IShellLinkW/IPersistFile (COM is initialised for the call).
ShortcutInfo ReadShortcut(const std::wstring& link);

// Removes the shortcuts, the Start-menu folder and the self-delete batch files.
void RemoveLauncherShortcuts();
void RemoveSelfDeleteBatches();
// Launcher processes that are still running.
std::vector<DWORD> LauncherProcessIds();
// The full path of a running process's executable; empty when it cannot be asked.
std::wstring ProcessImagePath(DWORD processId);
// Closes their main windows; what is still running after `graceMs` is ended.
void StopLauncherProcesses(DWORD graceMs);

// A process started without waiting; killed at the end of the scope if still running.
class StartedProcess {
public:
    explicit StartedProcess(const std::wstring& commandLine);
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    bool started() const { return m_process != nullptr; }
    DWORD id() const { return m_id; }
    // True when it ended within the time.
    bool WaitForExit(DWORD timeoutMs);
    bool Running() const;

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// A visible dialog (class "#32770") of the process other than `other`, waited for.
HWND WaitForDialogOf(DWORD processId, DWORD timeoutMs, HWND other = nullptr);
// Clicks a control of another process's dialog.
bool ClickDialogButton(HWND dialog, int id);
// The window as the screen shows it, as a 24-bit BMP file; only when the environment names
// a folder (VOREL_SCREENSHOT_DIR) for the documentation's pictures.
void SaveWindowPicture(HWND window, const std::wstring& name);

// The files in the user's temporary folder named like the self-delete batch.
std::vector<std::wstring> SelfDeleteBatches();
std::wstring UserTempFolder();
std::string Narrow(const std::wstring& text);  // ANSI code page

}  // namespace testsupport
