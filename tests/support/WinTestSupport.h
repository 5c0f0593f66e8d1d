// What the Windows tests share: starting programs of the build, and reading back what they
// left in files and the registry.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "fw/Raii.h"
#include "fw/Wnd.h"

namespace testsupport {

// What a test does while it waits: pump its own windows' messages, or just sleep.
using Idle = std::function<void()>;
void SleepBriefly();
// Asks done() until it holds or timeoutMs have passed, idling between; its last answer.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs, const Idle& idle = SleepBriefly);

// What a pump does with a quit message: stop and leave it queued for the test to find, or
// note it and go on (a window whose end quits the program's loop, not the test's).
enum class OnQuit { Stop, GoOn };
// Dispatches this thread's messages through the program's own pre-translation until done()
// holds or `milliseconds` have passed (0: what is queued now), waking at new input; done()'s
// last answer (false without one). quitSeen, when given, is set once a quit message came.
bool PumpMessages(const std::function<bool()>& done, DWORD milliseconds,
                  OnQuit onQuit = OnQuit::Stop, bool* quitSeen = nullptr);
// An Idle that answers this thread's messages while it waits, as a running program would.
void PumpBriefly();

// The folder holding the test executables, TolvVorel.exe and the helper programs.
std::wstring BuildDir();
std::wstring InBuildDir(const std::wstring& name);

// Starts a command line; the caller owns the process handle (the thread's is closed).
bool StartProcess(const std::wstring& commandLine, HANDLE* process, DWORD* id = nullptr,
                  DWORD creationFlags = 0);

struct ProcessResult {
    bool started = false;
    bool finished = false;  // false: still running at the time limit (then killed)
    DWORD exitCode = 0;
};
// Runs a command line and waits for it to end, killing it after timeoutMs.
ProcessResult RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

// Terminates a process and waits up to 5 s for its end; false when it could not be ended.
bool EndProcess(DWORD pid);

std::wstring ReadIniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                          const wchar_t* def = L"<missing>");
void WriteIniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                   const wchar_t* value);

// Raw bytes of a registry value; empty when the key or value is missing.
std::vector<BYTE> ReadRegBinary(HKEY root, const wchar_t* subKey, const wchar_t* value);
bool RegValueExists(HKEY root, const wchar_t* subKey, const wchar_t* value);
void DeleteRegTree(HKEY root, const wchar_t* subKey);

bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void DeleteTree(const std::wstring& path);
bool EnsureDir(const std::wstring& path);
std::wstring CommonAppData();
std::wstring ProductFolder();

// The first top-level window of this thread that `match` takes, or null.
HWND FindWindowOfThisThread(const std::function<bool(HWND)>& match);
// The first top-level window of the desktop that `match` takes, or null.
HWND FindTopLevelWindow(const std::function<bool(HWND)>& match);
// Every descendant of parent that `match` takes.
std::vector<HWND> DescendantsOf(HWND parent, const std::function<bool(HWND)>& match);
DWORD ProcessOf(HWND wnd);
// Runs body on a new thread; the handle is its owner (null when the thread did not start).
fw::ScopedHandle StartThread(std::function<void()> body);
// The first window of this thread that is one of our windows of class T (visible only, when
// asked), or null.
template <class T>
T* WindowOfThisThread(bool visibleOnly = false) {
    const HWND found = FindWindowOfThisThread([visibleOnly](HWND w) {
        return dynamic_cast<T*>(fw::Wnd::FromHandlePermanent(w)) &&
               (!visibleOnly || IsWindowVisible(w));
    });
    return found ? dynamic_cast<T*>(fw::Wnd::FromHandlePermanent(found)) : nullptr;
}

// A visible dialog (class "#32770") of this thread other than `other`: the one a modal loop
// runs for, or a message box over the dialog `other`.
HWND VisibleDialogOfThisThread(HWND other = nullptr);
// Gives the dialog's edit the focus and posts it a key-down, as the player's key arrives.
void PressIn(HWND dialog, int editId, int vk);

// Hands a moment over to a script running beside the tests: makes the file `signal` in the
// folder that the environment variable names and waits until the script answers with the
// file `answer` there. Without that folder nothing waits.
void HandOverToScript(const wchar_t* folderVariable, const std::wstring& signal,
                      const std::wstring& answer, DWORD timeoutMs);
// For scripts/mainwnd-shots.sh and scripts/menu-shots.sh: announces a scene and waits until
// the script has taken the screen's picture.
void WaitForScreenPicture(const std::wstring& scene);

// The publisher server's request log, as the test session exported it (empty when absent).
std::wstring PublisherLogPath();
std::vector<std::string> PublisherLogLines();

}  // namespace testsupport
