#include "support/LauncherScenario.h"

#include "support/InstallScenario.h"
#include "support/MainWindowProbe.h"

namespace testsupport {

const wchar_t kProductKey[] = L"Software\\Vorel\\GameLogin\\TolvVorel";
const wchar_t kCacheContentKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Content";

void ResetLauncherState() {
    // An installed copy started by an install may still be running from the product folder.
    StopLauncherProcesses(5000);
    RemoveLauncherShortcuts();
    RemoveSelfDeleteBatches();
    DeleteRegTree(HKEY_LOCAL_MACHINE, kProductKey);
    DeleteTree(ProductFolder());
}

std::wstring PlaceLauncher(const std::wstring& folder, const std::wstring& name) {
    EnsureDir(folder);
    const std::wstring target = folder + L"\\" + name;
    CopyFileW(InBuildDir(L"TolvVorel.exe").c_str(), target.c_str(), FALSE);
    return target;
}

ProcessResult RunLauncher(const std::wstring& exe, const std::wstring& arguments,
                          DWORD timeoutMs) {
    std::wstring line = L"\"" + exe + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    // A start that opens the main window stays until it is closed: it is closed at once.
    return RunClosingMainWindow(line, timeoutMs);
}

std::wstring CounterFile() { return ProductFolder() + L"\\Statistic.ini"; }

std::wstring Counter(const wchar_t* key) {
    return ReadIniValue(CounterFile(), L"TolvVorel", key);
}

}  // namespace testsupport
