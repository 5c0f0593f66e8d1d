// Installing the running executable into the product folder, and removing it again.
#pragma once
#include <windows.h>

#include <string>

namespace vorel {

class CAmbrel3App;

// Copies the executable at exePath into the product folder under its own file name
// (overwriting an older copy) unless it is that file already, compared without regard to
// case. Returns the installed copy's path; empty when the application-data folder is unknown.
std::wstring CopyIntoProductFolder(const std::wstring& exePath);

// The desktop shortcut and the two Start-menu shortcuts, all pointing at installedExe.
void CreateProductShortcuts(const std::wstring& installedExe);

// Run mode 0: the copy, the shortcuts, then the installed copy is started. Always TRUE;
// nothing of it is reported to the user.
BOOL InstallProduct();

// Run mode 4, after the user said yes: the registry key, the shortcuts, the executable (once
// this process has ended), then the uninstall report and the closing message. The caller
// waits for the application's report-done event before it ends.
void UninstallProduct(CAmbrel3App& app);

}  // namespace vorel
