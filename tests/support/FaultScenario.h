// Faults that the end-to-end scenarios put in the launcher's way from outside: a publisher
// server nobody can reach, files and registry keys it may read but not write, and the checks
// that the program still opens and serves its main window afterwards.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/InstallScenario.h"
#include "support/StandIn.h"

namespace testsupport {

// While it lives, every WinINet request of this prefix's programs fails to connect, as when
// nothing listens at the publisher's host: the user's configured proxy is a closed port.
class UnreachableNetwork {
public:
    UnreachableNetwork();
    ~UnreachableNetwork();
    UnreachableNetwork(const UnreachableNetwork&) = delete;
    UnreachableNetwork& operator=(const UnreachableNetwork&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;
};

// While it lives, the file carries the read-only attribute and cannot be written. Wine maps
// the attribute to the Unix permissions, which do not bind a process running as root (as the
// tests may), so the file is also held open for reading with reading shared only: every
// write then fails as it would on Windows, where the attribute alone is enough.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::wstring& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

private:
    std::wstring m_path;
    HANDLE m_hold = INVALID_HANDLE_VALUE;
};

// While it lives, the registry key exists (HKEY_LOCAL_MACHINE) with an access list given in
// SDDL, e.g. "D:P(A;;KR;;;WD)" (everyone may read, nobody may write). At its end the key gets
// full access again, so that it can be removed.
class GuardedRegKey {
public:
    GuardedRegKey(const wchar_t* subKey, const wchar_t* sddl);
    ~GuardedRegKey();
    GuardedRegKey(const GuardedRegKey&) = delete;
    GuardedRegKey& operator=(const GuardedRegKey&) = delete;
    bool applied() const { return m_applied; }

private:
    std::wstring m_subKey;
    bool m_applied = false;
};

// Writes a UTF-16 file with its byte-order mark, as an INI file must be to keep any
// character (one that the private-profile functions create is in the ANSI code page).
bool WriteUtf16File(const std::wstring& path, const std::wstring& text);

// The launcher's main window answers messages within the time (its thread is not blocked).
bool Responds(HWND wnd, DWORD timeoutMs = 5000);

// The main window still does its work: a stand-in account logs in, its frame becomes a child
// of the window and shows itself. The stand-in is left running; EndAllStandIns ends it.
::testing::AssertionResult TakesALogin(HWND mainWindow, const std::wstring& caption);

// The notice popup of process pid once the main window has created it, shown or not: a
// dialog tool window owned by the main window that is no message box. It is created once the
// notice's fetch, which starts three seconds after the window opened, is over, so once it
// exists and the main window responds, the popup has decided whether to show itself.
HWND NoticePopup(DWORD pid, HWND mainWindow);

// Milliseconds since the tick count `start`.
inline DWORD Since(DWORD start) { return GetTickCount() - start; }

}  // namespace testsupport
