// Runs the real TolvVorel.exe from a chosen folder with a chosen command line, starting
// from a clean product folder and registry key.
#pragma once
#include <string>

#include "support/WinTestSupport.h"

namespace testsupport {

extern const wchar_t kProductKey[];  // under HKEY_LOCAL_MACHINE
extern const wchar_t kCacheContentKey[];  // under HKEY_CURRENT_USER

// Removes everything the launcher keeps on the machine.
void ResetLauncherState();

// Copies the built TolvVorel.exe into folder (created) and returns the copy's path.
std::wstring PlaceLauncher(const std::wstring& folder, const std::wstring& name = L"TolvVorel.exe");

// Runs "<exe> <arguments>" and waits for it.
ProcessResult RunLauncher(const std::wstring& exe, const std::wstring& arguments,
                          DWORD timeoutMs = 60000);

std::wstring CounterFile();
std::wstring Counter(const wchar_t* key);

}  // namespace testsupport
